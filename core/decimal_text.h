#pragma once

#include <QtCore/QStringView>

#include <optional>

// '0' to '9' only: digits of other scripts never make a number here.
constexpr bool isAsciiDigit(QChar c)
{
    return c >= u'0' && c <= u'9';
}

// A number in plain decimal notation, as typed for a frequency or a port: an optional sign,
// digits and at most one point, with at least one digit ("+118.025", "12.", ".6"). No blanks,
// exponent, grouping or decimal comma. The views point into the text read.
struct PlainDecimal {
    bool negative = false;
    QStringView whole; // the digits before the point, perhaps none
    QStringView fraction; // the digits after it, perhaps none
};

std::optional<PlainDecimal> plainDecimal(QStringView text);
