#pragma once

#include <QtCore/QByteArray>
#include <QtCore/QString>

#include <optional>

// Files named by a path a user can influence (the settings file, channel files, recent
// entries). No open ever waits on a FIFO or a device. A failure comes with its reason in the
// system's words ("No space left on device"), or "not a regular file".

// The bytes read, or why they could not be.
struct FileRead {
    QByteArray bytes;
    QString failure; // empty when the read succeeded
};

// At most the first `limit` bytes of a regular file. Anything else is refused unopened:
// opening a serial device would already signal what hangs on it.
FileRead readRegularFile(const QString &path, qint64 limit);

// Makes content the whole of a regular file, new or existing; a link is followed to one. An
// existing file with one name is replaced by a new one renamed into place, with its owner,
// group and mode, so a failed save leaves it whole; one with more names (hard links), or one
// whose owner cannot be given to a new file, is cut and written in place, so every name shows
// the new content. A device, FIFO, socket, folder or a link to nothing is refused unopened.
// Nothing on success, else the reason.
std::optional<QString> saveRegularFile(const QString &path, const QByteArray &content);

// Writes content over the start of the file, creating it when missing. Owner, mode, links and
// the bytes past content stay as they are, and the cost does not grow with the file. A FIFO
// or device is written as it is, never waited on. Nothing on success, else the reason.
std::optional<QString> writeAtStart(const QString &path, const QByteArray &content);

// Writes content as a new regular file, never over an existing name; a partly written file is
// removed again. Nothing on success, else why not; `taken` tells a name in use apart.
struct NewFileFailure {
    QString reason;
    bool taken = false;
};
std::optional<NewFileFailure> createNewFile(const QString &path, const QByteArray &content);

// Makes the folder and any missing parents. Nothing on success, else the reason.
std::optional<QString> makeFolders(const QString &path);

// Whether both paths name one existing file (same device and inode), however spelled.
bool sameFile(const QString &first, const QString &second);
