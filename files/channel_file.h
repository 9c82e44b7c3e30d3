#pragma once

#include "files/safe_file.h"

#include <QtCore/QByteArray>
#include <QtCore/QString>
#include <QtCore/QStringList>

#include <optional>

// A channel file: for each channel in use, in row order, its 7-character frequency text and
// CR LF. Nothing else: the file does not say which radio it was written for.

QByteArray encodeChannelFile(const QStringList &frequencies);

// A line of a channel file that holds no admissible frequency, as written, without its line break.
struct InvalidLine {
    int number = 0; // counted from 1
    QString text;
};

// What a channel file's text gives a radio with channelCount channels. Lines end in LF, a CR
// before it dropped; spaces before the first and after the last are skipped. A line's
// frequency is its first 7 characters, kept as written.
struct ChannelLines {
    QStringList frequencies; // rows 1, 2, … up to the first invalid line or the last channel
    std::optional<InvalidLine> invalid; // among the first channelCount lines
    qsizetype extraLines = 0; // lines beyond channelCount
};

ChannelLines decodeChannelFile(const QByteArray &text, int channelCount);

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

// "Could not open tower.vl: not a regular file", and the same for a save.
QString openFailure(const QString &name, const QString &reason);
QString saveFailure(const QString &name, const QString &reason);
