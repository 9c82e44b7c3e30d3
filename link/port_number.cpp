#include "link/port_number.h"

#include "core/blanks.h"
#include "core/decimal_text.h"

#include <algorithm>

namespace {

// Whole part plus one when the decimal fraction rounds up, half to even.
bool roundsUp(QStringView fraction, qint64 whole)
{
    if (fraction.isEmpty() || fraction.front() < u'5')
        return false;
    if (fraction.front() > u'5')
        return true;
    const QStringView rest = fraction.mid(1);
    const bool beyondHalf = std::any_of(rest.begin(), rest.end(), [](QChar c) { return c != u'0'; });
    return beyondHalf || whole % 2 != 0;
}

} // namespace

std::optional<qint16> integerFromText(const QString &text)
{
    // Spaces and tabs only: a line break makes the text something other than a number.
    const auto number = plainDecimal(trimmedOf(text, u" \t"));
    if (!number)
        return std::nullopt;
    QStringView digits = number->whole;
    while (digits.startsWith(u'0'))
        digits = digits.sliced(1);
    // Leading zeros are gone: six digits or more never fit, whatever the fraction.
    if (digits.size() > 5)
        return std::nullopt;
    qint64 value = digits.isEmpty() ? 0 : digits.toLongLong();
    if (roundsUp(number->fraction, value))
        ++value;
    if (number->negative)
        value = -value;
    if (value < -32768 || value > 32767)
        return std::nullopt;
    return static_cast<qint16>(value);
}

std::optional<qint16> portFromText(const QString &text)
{
    const auto value = integerFromText(text);
    if (!value || *value < 1)
        return std::nullopt;
    return value;
}
