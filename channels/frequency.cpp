#include "channels/frequency.h"

#include "core/blanks.h"
#include "core/decimal_text.h"

#include <cmath>

namespace {

// Hundredths of the tenth-of-a-MHz part: 118.025 gives 25, 118.100 gives 0.
int rasterRemainder(double megahertz)
{
    const double tenths = megahertz * 10;
    return int(std::nearbyint((tenths - std::floor(tenths)) * 100)); // ties to even
}

} // namespace

bool validFrequency(const QString &text)
{
    const QStringView trimmed = trimmedOfSpaces(text);
    if (trimmed.size() != kFrequencyLength || !plainDecimal(trimmed))
        return false;
    const double value = trimmed.toDouble();
    if (value < 118.0 || value > 138.0)
        return false;
    const int remainder = rasterRemainder(value);
    return remainder == 0 || remainder == 25 || remainder == 50 || remainder == 75;
}

QString canonicalFrequency(const QString &admitted)
{
    const double kilohertz = std::round(trimmedOfSpaces(admitted).toDouble() * 1000);
    return QString::number(kilohertz / 1000, 'f', 3);
}

RadioDigits radioDigits(const QString &stored)
{
    return {stored.mid(1, 2), stored.mid(4, 3)};
}
