#pragma once

#include <QtCore/QLoggingCategory>

// Silent unless asked: each category prints from QtInfoMsg up, so debug lines need a rule
// such as QT_LOGGING_RULES="varlo.serial.debug=true".
Q_DECLARE_LOGGING_CATEGORY(lcSerial) // the bytes on the radio's line
Q_DECLARE_LOGGING_CATEGORY(lcFiles) // settings and channel files
Q_DECLARE_LOGGING_CATEGORY(lcUi) // the window
