#pragma once

#include <QtCore/QString>

#include <optional>

// The number in a text typed or pasted as a COM port: blanks around it, an optional sign,
// digits and at most one decimal point. A fraction is rounded half to even (2.5 -> 2,
// 3.5 -> 4). Empty when the text is no such number or the result lies outside the signed
// 16-bit range.
[[nodiscard]] std::optional<qint16> integerFromText(const QString &text);

// As integerFromText, but only a usable port number (1 or more): a stored 0 would read as
// "no settings" at the next start, and a negative port names nothing.
[[nodiscard]] std::optional<qint16> portFromText(const QString &text);
