#pragma once

#include <QtCore/QString>

// True when text is an admissible channel frequency: 118.000 to 138.000 MHz on the 25 kHz
// raster, seven characters once blanks are trimmed, plain decimal notation with a point.
bool validFrequency(const QString &text);

// The stored form of an admitted frequency: three digits, a point, three digits.
// radioDigits relies on that shape; any other would send wrong digits.
QString canonicalFrequency(const QString &admitted);

// What the radio is sent for a stored frequency: the two digits after the fixed leading 1,
// then the three decimals.
struct RadioDigits {
    QString megahertz;
    QString kilohertz;
};

RadioDigits radioDigits(const QString &stored);

// The characters of a frequency text, as stored, filed and listed by the radio.
inline constexpr qsizetype kFrequencyLength = 7;
inline const QString kDefaultFrequency = QStringLiteral("118.000");
