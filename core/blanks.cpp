#include "core/blanks.h"

QStringView trimmedOf(QStringView text, QStringView blanks)
{
    qsizetype first = 0;
    qsizetype last = text.size();
    while (first < last && blanks.contains(text[first]))
        ++first;
    while (last > first && blanks.contains(text[last - 1]))
        --last;
    return text.sliced(first, last - first);
}

QStringView trimmedOfSpaces(QStringView text)
{
    return trimmedOf(text, u" ");
}
