#include "cli/channel_check.h"

#include "channels/frequency.h"
#include "core/blanks.h"

namespace {

// Lines as the window's loader sees them: split at LF, a CR before it dropped, blanks before
// the first one skipped. A final line break ends the last line; it does not start another.
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

CheckedChannels checkChannelFile(const QString &name, const QByteArray &text, int channelCount)
{
    const QStringList lines = linesOf(text);
    CheckedChannels checked;
    for (int row = 1; row <= channelCount; ++row) {
        if (row > lines.size()) {
            checked.error = QStringLiteral("%1:%2: no line for channel %2 of %3").arg(name).arg(row).arg(channelCount);
            return checked;
        }
        const QString &line = lines[row - 1];
        // Characters after the seventh are ignored, as when the window opens the file.
        if (!validFrequency(line.left(kFrequencyLength))) {
            checked.error = QStringLiteral("%1:%2: \"%3\" is not a channel frequency").arg(name).arg(row).arg(line);
            return checked;
        }
        checked.frequencies << canonicalFrequency(line.left(kFrequencyLength));
    }
    if (lines.size() > channelCount)
        checked.warning = QStringLiteral("%1: lines after line %2 ignored: the radio has no more channels")
                              .arg(name)
                              .arg(channelCount);
    return checked;
}

QStringList channelDifferences(const QStringList &radio, const QStringList &file)
{
    QStringList lines;
    for (qsizetype i = 0; i < file.size(); ++i) {
        const QString held = radio.value(i);
        if (held != file[i])
            lines << QStringLiteral("channel %1: radio %2, file %3")
                         .arg(i + 1)
                         .arg(held.isEmpty() ? QStringLiteral("unreadable") : held, file[i]);
    }
    return lines;
}

QString channelsMatch(int count)
{
    return count == 1 ? QStringLiteral("1 channel matches") : QStringLiteral("%1 channels match").arg(count);
}
