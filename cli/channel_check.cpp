#include "cli/channel_check.h"

#include "channels/channel_comparison.h"
#include "channels/frequency.h"
#include "files/channel_file.h"

CheckedChannels checkChannelFile(const QString &name, const QByteArray &text, int channelCount)
{
    const ChannelLines read = decodeChannelFile(text, channelCount);
    CheckedChannels checked;
    if (read.invalid) {
        checked.error = QStringLiteral("%1:%2: \"%3\" is not a channel frequency")
                            .arg(name)
                            .arg(read.invalid->number)
                            .arg(read.invalid->text);
    } else if (read.frequencies.size() < channelCount) {
        checked.error = QStringLiteral("%1:%2: no line for channel %2 of %3")
                            .arg(name)
                            .arg(read.frequencies.size() + 1)
                            .arg(channelCount);
    } else if (read.extraLines > 0) {
        checked.warning = QStringLiteral("%1: lines after line %2 ignored: the radio has no more channels")
                              .arg(name)
                              .arg(channelCount);
    }
    for (const QString &frequency : read.frequencies)
        checked.frequencies << canonicalFrequency(frequency);
    return checked;
}

QStringList channelDifferences(const QStringList &radio, const QStringList &file)
{
    QStringList lines;
    for (const ChannelDifference &difference : differingChannels(radio, file))
        lines << QStringLiteral("channel %1: radio %2, file %3")
                     .arg(difference.channel)
                     .arg(difference.radio.isEmpty() ? QStringLiteral("unreadable") : difference.radio,
                          difference.expected);
    return lines;
}

QString channelsMatch(int count)
{
    return count == 1 ? QStringLiteral("1 channel matches") : QStringLiteral("%1 channels match").arg(count);
}
