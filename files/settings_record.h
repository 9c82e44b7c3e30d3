#pragma once

#include "channels/channel_rows.h"

#include <QtCore/QByteArray>
#include <QtCore/QString>

// The settings as they lie on disk: one record of 2012 bytes, kept byte for byte so that
// fields the program never assigns travel unchanged.
//   0   2  ComPort          signed 16-bit little-endian; 0 means nothing stored yet
//   2   2  TransceiverType  1 = one channel, 6 = six channels; any other value reads as six
//   4   8  RadioSerial      Latin-1, space-padded
//  12 500  RecentFile(0)    never assigned
// 512 500  RecentFile(1..3) paths as the file system's bytes, space-padded
class SettingsRecord {
public:
    static constexpr qsizetype kSize = 2012;
    static constexpr qsizetype kSerialSize = 8;
    static constexpr qsizetype kPathSize = 500;
    static constexpr int kRecentCount = 3;

    SettingsRecord();
    // The first kSize bytes of data; missing bytes read as zeros.
    static SettingsRecord decode(const QByteArray &data);
    [[nodiscard]] const QByteArray &encode() const { return bytes_; }

    [[nodiscard]] qint16 comPort() const { return int16At(0); }
    void setComPort(qint16 port) { setInt16At(0, port); }
    [[nodiscard]] TransceiverType transceiverType() const;
    void setTransceiverType(TransceiverType type);

    // Trimmed of spaces; a field of nothing but spaces and zero bytes is empty.
    [[nodiscard]] QString radioSerial() const;
    // Cut or padded to 8 characters; a character outside Latin-1 is stored as "?".
    void setRadioSerial(const QString &serial);

    // k is 0..3; only 1..3 are ever assigned.
    [[nodiscard]] QString recentFile(int k) const;
    // Cut at 500 bytes without splitting a character, padded with spaces.
    void setRecentFile(int k, const QString &path);

    // The values a first run stores: port 1, one channel, blank serial and recent files.
    void applyFirstRunDefaults();

    friend bool operator==(const SettingsRecord &, const SettingsRecord &) = default;

private:
    [[nodiscard]] qint16 int16At(qsizetype offset) const;
    void setInt16At(qsizetype offset, qint16 value);
    void setField(qsizetype offset, qsizetype size, const QByteArray &value);
    static qsizetype recentOffset(int k);

    QByteArray bytes_;
};
