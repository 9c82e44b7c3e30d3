#pragma once

#include <QtCore/QStringView>

// The text without the leading and trailing characters listed in blanks.
QStringView trimmedOf(QStringView text, QStringView blanks);

// The text without its leading and trailing spaces: character 32 only, so line breaks and
// tabs stay, as in the radio's replies, the settings fields and the entries.
QStringView trimmedOfSpaces(QStringView text);
