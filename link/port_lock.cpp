#include "link/port_lock.h"

#include <QtCore/QFile>

#include <sys/file.h>
#include <unistd.h>

bool lockOpenDevice(qintptr handle)
{
    return ::flock(static_cast<int>(handle), LOCK_EX | LOCK_NB) == 0;
}

bool userMayOpen(const QString &device)
{
    return ::access(QFile::encodeName(device).constData(), R_OK | W_OK) == 0;
}
