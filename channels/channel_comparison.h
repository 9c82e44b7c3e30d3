#pragma once

#include <QtCore/QList>
#include <QtCore/QString>
#include <QtCore/QStringList>

// A channel whose frequency in the radio is not the one meant for it.
struct ChannelDifference {
    int channel = 0; // 1..
    QString radio; // empty when the radio's record is not a valid frequency
    QString expected; // as given, valid or not

    friend bool operator==(const ChannelDifference &, const ChannelDifference &) = default;
};

// Channels 1..expected.size() that differ: the radio's record is missing or not a valid
// frequency, the expected text is not one, or the two stand for different frequencies.
QList<ChannelDifference> differingChannels(const QStringList &radio, const QStringList &expected);
