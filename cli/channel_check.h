#pragma once

#include <QtCore/QByteArray>
#include <QtCore/QString>
#include <QtCore/QStringList>

// A channel file checked whole before anything is sent: the frequencies of its first
// channelCount lines, or the first line that is not one, named by file and line number.
struct CheckedChannels {
    QStringList frequencies;
    QString error; // empty when every channel has its frequency
    QString warning; // lines beyond the radio's channels
};

CheckedChannels checkChannelFile(const QString &name, const QByteArray &text, int channelCount);

// One line per channel that differs; an empty radio entry is a record that could not be read.
QStringList channelDifferences(const QStringList &radio, const QStringList &file);

// "6 channels match", "1 channel matches".
QString channelsMatch(int count);
