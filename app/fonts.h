#pragma once

#include <QtCore/QString>
#include <QtGui/QFont>

// The named font when it is installed, else the nearest installed equivalent:
// "Arial" -> Liberation Sans, then the system's general font;
// "Courier New" -> Liberation Mono, then the system's fixed font;
// "MS SansSerif" -> the system's general font;
// "Small Fonts" -> the system's smallest readable font;
// any other missing family -> the system's general font.
// The point size and the weight asked for are kept.
QFont varloFont(const QString &family, qreal pointSize, bool bold = false);
