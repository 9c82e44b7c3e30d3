#include "channels/channel_rows.h"

#include "channels/frequency.h"

ChannelRows::ChannelRows()
{
    reset();
}

int ChannelRows::channelCount() const
{
    return channelCountFor(type_);
}

const QString &ChannelRows::frequency(int row) const
{
    return frequencies_.at(row - 1);
}

void ChannelRows::put(int row, const QString &admitted)
{
    frequencies_.at(row - 1) = canonicalFrequency(admitted);
}

bool ChannelRows::enter(int row, const QString &entry)
{
    if (!validFrequency(entry))
        return false;
    put(row, entry);
    return true;
}

void ChannelRows::reset()
{
    frequencies_.fill(kDefaultFrequency);
}

QStringList ChannelRows::frequenciesInUse() const
{
    QStringList frequencies;
    for (int row = 1; row <= channelCount(); ++row)
        frequencies << frequency(row);
    return frequencies;
}
