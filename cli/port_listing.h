#pragma once

#include "link/com_port_resolver.h"

#include <QtCore/QStringList>

// One line per COM number that stands for a device, resolved as the window opens it:
// "COM1  /dev/ttyUSB0", or for an entry of the current folder "COM3  ./COM3 -> /dev/pts/4".
QStringList portListing(const ComPortResolver &resolver, qsizetype systemPortCount);
