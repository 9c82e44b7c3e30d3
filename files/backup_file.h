#pragma once

#include <QtCore/QDateTime>
#include <QtCore/QString>
#include <QtCore/QStringList>

// A copy of what a radio held before a download overwrote it, as a channel file.

// "2026-12-08_183015_COM3.vl": local time to the second, then the port; names sort by time
// and hold no colon, which some file systems refuse.
QString backupFileName(const QDateTime &taken, int port);

// Where a backup went, or why it could not be written.
struct BackupWrite {
    QString path;
    QString failure; // empty when written
};

// Writes the records, as the radio listed them, into a new file of the folder, which is made
// when missing. Nothing is ever replaced: a second backup in the same second is named
// "…_COM3_2.vl", and so on.
BackupWrite writeBackup(const QString &folder, const QDateTime &taken, int port, const QStringList &records);
