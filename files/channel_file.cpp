#include "files/channel_file.h"

#include "channels/frequency.h"
#include "core/blanks.h"

#include <algorithm>

namespace {

// The program reads no more of a file than a six-channel table could ever need.
constexpr qint64 kReadLimit = 1000;

// A final line break ends the last line; it does not start another.
QStringList linesOf(const QByteArray &text)
{
    QString block = trimmedOfSpaces(QString::fromLatin1(text)).toString();
    if (block.endsWith(u'\n'))
        block.chop(1);
    QStringList lines = block.isEmpty() ? QStringList() : block.split(u'\n');
    for (QString &line : lines) {
        if (line.endsWith(u'\r'))
            line.chop(1);
    }
    return lines;
}

} // namespace

QByteArray encodeChannelFile(const QStringList &frequencies)
{
    QByteArray bytes;
    for (const QString &frequency : frequencies)
        bytes += frequency.toLatin1() + "\r\n";
    return bytes;
}

ChannelLines decodeChannelFile(const QByteArray &text, int channelCount)
{
    const QStringList lines = linesOf(text);
    ChannelLines read;
    read.extraLines = std::max<qsizetype>(lines.size() - channelCount, 0);
    for (const QString &line : lines.first(lines.size() - read.extraLines)) {
        const QString candidate = line.left(kFrequencyLength);
        if (!validFrequency(candidate)) {
            read.invalid = InvalidLine{int(read.frequencies.size()) + 1, line};
            break;
        }
        read.frequencies << candidate;
    }
    return read;
}

FileRead readChannelFileText(const QString &path)
{
    return readRegularFile(path, kReadLimit);
}

ChannelFileContent readChannelFile(const QString &path, int channelCount)
{
    const FileRead text = readChannelFileText(path);
    if (!text.failure.isEmpty())
        return {{}, text.failure};
    return {decodeChannelFile(text.bytes, channelCount).frequencies, {}};
}

std::optional<QString> writeChannelFile(const QString &path, const QStringList &frequencies,
                                        const QString &settingsPath)
{
    if (sameFile(path, settingsPath))
        return QStringLiteral("the settings are kept there");
    return saveRegularFile(path, encodeChannelFile(frequencies));
}

QString openFailure(const QString &name, const QString &reason)
{
    return QStringLiteral("Could not open %1: %2").arg(name, reason);
}

QString saveFailure(const QString &name, const QString &reason)
{
    return QStringLiteral("Could not save %1: %2").arg(name, reason);
}
