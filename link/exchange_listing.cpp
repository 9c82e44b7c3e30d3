#include "link/exchange_listing.h"

#include "channels/frequency.h"

#include <algorithm>

namespace {

constexpr qsizetype kRecordPitch = 26;
constexpr qsizetype kRecordLength = 24;
constexpr qsizetype kFrequencyOffset = 13;
constexpr int kSingleChannelRecord = 6;

QString recordFrequency(const QString &listing, int record)
{
    return listing.mid((record - 1) * kRecordPitch, kRecordLength).mid(kFrequencyOffset, kFrequencyLength);
}

} // namespace

QList<ListedChannel> parseChannelListing(const QString &listing, TransceiverType type)
{
    QList<ListedChannel> stored;
    for (int record = 1; record <= kTableRows; ++record) {
        const QString frequency = recordFrequency(listing, record);
        if (!validFrequency(frequency))
            continue;
        if (type == TransceiverType::SixChannels)
            stored.append({record, frequency});
        else if (record == kSingleChannelRecord)
            stored.append({1, frequency});
    }
    return stored;
}

QStringList listedFrequencies(const QString &listing, TransceiverType type)
{
    if (type == TransceiverType::OneChannel)
        return {recordFrequency(listing, kSingleChannelRecord)};
    QStringList frequencies;
    for (int record = 1; record <= kTableRows; ++record)
        frequencies << recordFrequency(listing, record);
    return frequencies;
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
