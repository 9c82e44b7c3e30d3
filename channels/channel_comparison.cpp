#include "channels/channel_comparison.h"

#include "channels/frequency.h"

QList<ChannelDifference> differingChannels(const QStringList &radio, const QStringList &expected)
{
    QList<ChannelDifference> differences;
    for (qsizetype i = 0; i < expected.size(); ++i) {
        const QString held = validFrequency(radio.value(i)) ? radio.value(i) : QString();
        const bool same = !held.isEmpty() && validFrequency(expected[i])
            && canonicalFrequency(held) == canonicalFrequency(expected[i]);
        if (!same)
            differences.append({int(i + 1), held, expected[i]});
    }
    return differences;
}
