#pragma once

#include <QtCore/QByteArray>
#include <QtCore/QString>

#include <optional>

// Files named by a path a user can influence (the settings file, channel files, recent
// entries). No open ever waits: a FIFO or a device behaves like a file that is not there.

enum class IfMissing { Leave, CreateEmpty };

// The first `limit` bytes of a regular file (all of it when limit is negative). Nothing for
// a path that names no readable regular file.
std::optional<QByteArray> readRegularFile(const QString &path, qint64 limit = -1, IfMissing missing = IfMissing::Leave);

enum class OldBytes { Drop, KeepPastNew };

// Makes `content` the file's content. A regular file, or a new one, is replaced whole through
// a new file renamed into place, so a failed save leaves the old file intact; with
// KeepPastNew the bytes an old regular file holds past content's length follow it. A target
// that exists but is not a regular file is written in place and never renamed over; when it
// cannot take the bytes at once (a FIFO without a reader) the save fails.
bool saveFile(const QString &path, const QByteArray &content, OldBytes old = OldBytes::Drop);

// Whether both paths name one existing file (same device and inode), however spelled.
bool sameFile(const QString &first, const QString &second);
