#pragma once

#include <QtCore/QString>

// The operating system's side of holding a serial device, the link's only system calls.

// QSerialPort's lock file only guards against programs that use the same lock directory;
// an advisory lock on the open device itself also holds between any two openings, root's too.
bool lockOpenDevice(qintptr handle);

// Whether the user may read and write the device, which tells a busy port from a forbidden one.
bool userMayOpen(const QString &device);
