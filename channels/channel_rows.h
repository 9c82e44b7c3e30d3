#pragma once

#include <QtCore/QString>
#include <QtCore/QStringList>

#include <array>

// The two radio models.
enum class TransceiverType { OneChannel, SixChannels };

inline constexpr int kTableRows = 6;

// Rows of the table that take part in files, transfers and printing.
constexpr int channelCountFor(TransceiverType type)
{
    return type == TransceiverType::OneChannel ? 1 : kTableRows;
}

// The six rows of the channel table with the transceiver type they are used for. Rows are
// numbered 1..6; the one-channel radio uses row 1 only.
class ChannelRows {
public:
    ChannelRows();

    [[nodiscard]] TransceiverType type() const { return type_; }
    void setType(TransceiverType type) { type_ = type; }
    [[nodiscard]] bool singleChannel() const { return type_ == TransceiverType::OneChannel; }
    // Rows that take part in files, transfers and printing.
    [[nodiscard]] int channelCount() const;

    [[nodiscard]] const QString &frequency(int row) const;
    // Stores an admitted frequency in its canonical form.
    void put(int row, const QString &admitted);
    // Stores an entry when it is a valid frequency; false when it was refused.
    bool enter(int row, const QString &entry);
    // Every row back to the default frequency.
    void reset();
    // The frequencies of rows 1 to channelCount().
    [[nodiscard]] QStringList frequenciesInUse() const;

private:
    std::array<QString, kTableRows> frequencies_;
    TransceiverType type_ = TransceiverType::SixChannels;
};
