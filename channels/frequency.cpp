#include "channels/frequency.h"

#include "core/blanks.h"

#include <cmath>
#include <optional>

namespace {

// An optional sign, digits and at most one point, with at least one digit.
std::optional<double> plainDecimal(const QString &text)
{
    qsizetype pos = 0;
    if (pos < text.size() && (text.at(pos) == u'+' || text.at(pos) == u'-'))
        ++pos;
    bool digitSeen = false;
    bool pointSeen = false;
    for (; pos < text.size(); ++pos) {
        const QChar c = text.at(pos);
        if (c >= u'0' && c <= u'9')
            digitSeen = true;
        else if (c == u'.' && !pointSeen)
            pointSeen = true;
        else
            return std::nullopt;
    }
    if (!digitSeen)
        return std::nullopt;
    return text.toDouble();
}

// Hundredths of the tenth-of-a-MHz part: 118.025 gives 25, 118.100 gives 0.
int rasterRemainder(double megahertz)
{
    const double tenths = megahertz * 10;
    return int(std::nearbyint((tenths - std::floor(tenths)) * 100)); // ties to even
}

} // namespace

bool validFrequency(const QString &text)
{
    const QString trimmed = trimmedOfSpaces(text).toString();
    if (trimmed.size() != 7)
        return false;
    const auto value = plainDecimal(trimmed);
    if (!value || *value < 118.0 || *value > 138.0)
        return false;
    const int remainder = rasterRemainder(*value);
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
