#pragma once

#include <QtCore/QString>
#include <QtCore/QStringList>

#include <array>

// The two radio models. Stored as 1 and 6; any other stored value reads as six channels.
enum class TransceiverType { OneChannel, SixChannels };

TransceiverType transceiverTypeFromCode(qint16 code);
qint16 codeOfTransceiverType(TransceiverType type);

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
    std::array<QString, 6> frequencies_;
    TransceiverType type_ = TransceiverType::SixChannels;
};
