#pragma once

#include "channels/channel_rows.h"

#include <QtCore/QList>
#include <QtCore/QString>
#include <QtCore/QStringList>

// One valid record of the radio's channel listing and the row it goes to.
struct ListedChannel {
    int row = 0;
    QString frequency;

    friend bool operator==(const ListedChannel &, const ListedChannel &) = default;
};

// The valid records of a listing that starts at its first "C": six fixed records of 24
// characters, 26 apart, the frequency at characters 14..20 of each. The one-channel radio
// keeps its channel in the sixth record, which goes to row 1; its other records are unused.
QList<ListedChannel> parseChannelListing(const QString &listing, TransceiverType type);

// The frequency text of each record as listed, valid or not (cut short where the listing
// ends), for rows 1..channel count: what the radio holds for each row.
QStringList listedFrequencies(const QString &listing, TransceiverType type);

// Rows 1..channelCount that no listed channel reaches, for the "channels not read" line.
QList<int> rowsNotRead(const QList<ListedChannel> &stored, int channelCount);
