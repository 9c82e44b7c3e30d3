#pragma once

#include "files/safe_file.h"

#include <QtCore/QByteArray>
#include <QtCore/QString>
#include <QtCore/QStringList>

#include <optional>

// A channel file: for each channel in use, in row order, its 7-character frequency text and
// CR LF. Nothing else: the file does not say which radio it was written for.

QByteArray encodeChannelFile(const QStringList &frequencies);

// The frequencies the text gives rows 1, 2, … of a radio with channelCount channels: the
// lines up to the first one that does not start with an admissible frequency. A line ends
// in CR LF or LF; characters after the 7th of a line are ignored.
QStringList decodeChannelFile(const QByteArray &text, int channelCount);

// What opening a channel file gave: the frequencies its start holds, or why it could not be read.
struct ChannelFileContent {
    QStringList frequencies;
    QString failure; // empty when the file was read
};

// The start of a channel file, as far as the program ever reads one.
FileRead readChannelFileText(const QString &path);

// Reads the start of a regular file; anything else is refused unopened ("not a regular file").
ChannelFileContent readChannelFile(const QString &path, int channelCount);

// Makes the frequencies the whole of a regular file, new or existing, keeping an existing
// file's owner, group, mode and links. Refused when the path names the settings file, however
// spelled, or anything but a regular file. Nothing on success, else why it was not saved.
std::optional<QString> writeChannelFile(const QString &path, const QStringList &frequencies,
                                        const QString &settingsPath);

// The name a file dialog proposes after the name last chosen: cut before the first "." of its
// file-name part, so the folder stays whole.
QString proposedFileName(const QString &lastChosen);

// The window caption up to its first "]", then "  -  " and the file's own name.
QString captionNamingFile(const QString &caption, const QString &path);
