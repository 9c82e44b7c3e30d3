#pragma once

#include <QtCore/QStringView>

// The text without its leading and trailing blanks: character 32 only, so line breaks and
// tabs stay, as in the radio's replies, the settings fields and the entries.
QStringView trimmedOfSpaces(QStringView text);
