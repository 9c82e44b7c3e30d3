#include "files/channel_file.h"

#include "channels/frequency.h"
#include "core/blanks.h"

#include <QtCore/QFileInfo>

namespace {

// The program reads no more of a file than a six-channel table could ever need.
constexpr qint64 kReadLimit = 1000;

} // namespace

QByteArray encodeChannelFile(const QStringList &frequencies)
{
    QByteArray bytes;
    for (const QString &frequency : frequencies)
        bytes += frequency.toLatin1() + "\r\n";
    return bytes;
}

QStringList decodeChannelFile(const QByteArray &text, int channelCount)
{
    const QString block = trimmedOfSpaces(QString::fromLatin1(text)).toString();
    QStringList frequencies;
    qsizetype pos = 0;
    while (frequencies.size() < channelCount && pos >= 0) {
        const QString candidate = block.mid(pos, kFrequencyLength);
        if (!validFrequency(candidate))
            break;
        frequencies << candidate;
        const qsizetype lineFeed = block.indexOf(u'\n', pos);
        pos = lineFeed < 0 ? -1 : lineFeed + 1;
    }
    return frequencies;
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
    return {decodeChannelFile(text.bytes, channelCount), {}};
}

std::optional<QString> writeChannelFile(const QString &path, const QStringList &frequencies,
                                        const QString &settingsPath)
{
    if (sameFile(path, settingsPath))
        return QStringLiteral("the settings are kept there");
    return saveRegularFile(path, encodeChannelFile(frequencies));
}

QString proposedFileName(const QString &lastChosen)
{
    const qsizetype nameStart = lastChosen.lastIndexOf(u'/') + 1;
    const qsizetype point = lastChosen.indexOf(u'.', nameStart);
    return point < 0 ? lastChosen : lastChosen.left(point);
}

QString captionNamingFile(const QString &caption, const QString &path)
{
    const qsizetype bracket = caption.indexOf(u']');
    return caption.left(bracket + 1) + QStringLiteral("  -  ") + QFileInfo(path).fileName();
}
