#include "link/exchange_listing.h"

#include "channels/frequency.h"

#include <algorithm>

namespace {

constexpr qsizetype kRecordPitch = 26;
constexpr qsizetype kRecordLength = 24;
constexpr qsizetype kFrequencyOffset = 13;
constexpr int kSingleChannelRecord = 6;

} // namespace

QList<ListedChannel> parseChannelListing(const QString &listing, TransceiverType type)
{
    QList<ListedChannel> stored;
    for (int record = 1; record <= kTableRows; ++record) {
        const QString text = listing.mid((record - 1) * kRecordPitch, kRecordLength);
        const QString frequency = text.mid(kFrequencyOffset, kFrequencyLength);
        if (!validFrequency(frequency))
            continue;
        if (type == TransceiverType::SixChannels)
            stored.append({record, frequency});
        else if (record == kSingleChannelRecord)
            stored.append({1, frequency});
    }
    return stored;
}

QList<int> rowsNotRead(const QList<ListedChannel> &stored, int channelCount)
{
    QList<int> missing;
    for (int row = 1; row <= channelCount; ++row) {
        const bool reached =
            std::any_of(stored.begin(), stored.end(), [row](const ListedChannel &c) { return c.row == row; });
        if (!reached)
            missing.append(row);
    }
    return missing;
}
