#include "core/decimal_text.h"

#include <algorithm>

namespace {

bool allDigits(QStringView text)
{
    return std::all_of(text.begin(), text.end(), isAsciiDigit);
}

} // namespace

std::optional<PlainDecimal> plainDecimal(QStringView text)
{
    PlainDecimal number;
    if (text.startsWith(u'+') || text.startsWith(u'-')) {
        number.negative = text.front() == u'-';
        text = text.sliced(1);
    }
    const qsizetype point = text.indexOf(u'.');
    number.whole = point < 0 ? text : text.first(point);
    number.fraction = point < 0 ? QStringView() : text.sliced(point + 1);
    if (!allDigits(number.whole) || !allDigits(number.fraction) || number.whole.size() + number.fraction.size() == 0)
        return std::nullopt;
    return number;
}
