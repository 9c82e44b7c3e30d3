#include "link/port_number.h"

#include "core/blanks.h"

#include <QtCore/QRegularExpression>

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
    static const QRegularExpression number(QStringLiteral(R"(\A([+-]?)0*([0-9]*)(?:\.([0-9]*))?\z)"));
    // Spaces and tabs only: a line break makes the text something other than a number.
    const QStringView trimmed = trimmedOf(text, u" \t");
    const auto match = number.match(trimmed);
    const bool hasDigit = std::any_of(trimmed.begin(), trimmed.end(), [](QChar c) { return c >= u'0' && c <= u'9'; });
    if (!match.hasMatch() || !hasDigit)
        return std::nullopt;
    const QStringView digits = match.capturedView(2);
    // Leading zeros are gone: six digits or more never fit, whatever the fraction.
    if (digits.size() > 5)
        return std::nullopt;
    qint64 value = digits.isEmpty() ? 0 : digits.toLongLong();
    if (roundsUp(match.capturedView(3), value))
        ++value;
    if (match.capturedView(1) == u"-")
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
