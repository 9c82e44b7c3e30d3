#include "core/logging.h"

Q_LOGGING_CATEGORY(lcSerial, "varlo.serial", QtInfoMsg)
Q_LOGGING_CATEGORY(lcFiles, "varlo.files", QtInfoMsg)
Q_LOGGING_CATEGORY(lcUi, "varlo.ui", QtInfoMsg)
