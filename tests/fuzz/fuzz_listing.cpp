// Any listing: only valid frequencies, read from their fixed places, into rows 1..6.
#include "channels/frequency.h"
#include "link/exchange_listing.h"

#include <cstddef>
#include <cstdint>

namespace {

void require(bool condition)
{
    if (!condition)
        __builtin_trap();
}

void checkSixChannels(const QString &listing)
{
    int lastRow = 0;
    for (const ListedChannel &channel : parseChannelListing(listing, false)) {
        require(channel.row > lastRow && channel.row <= kTableRows);
        require(validFrequency(channel.frequency));
        require(channel.frequency == listing.mid((channel.row - 1) * 26 + 13, 7));
        lastRow = channel.row;
    }
}

void checkOneChannel(const QString &listing)
{
    const QList<ListedChannel> stored = parseChannelListing(listing, true);
    require(stored.size() <= 1);
    if (!stored.isEmpty())
        require(stored.first().row == 1 && stored.first().frequency == listing.mid(143, 7));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString listing =
        QString::fromLatin1(reinterpret_cast<const char *>(data), qsizetype(size));
    checkSixChannels(listing);
    checkOneChannel(listing);
    return 0;
}
