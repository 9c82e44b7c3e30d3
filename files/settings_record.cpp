#include "files/settings_record.h"

#include "core/blanks.h"

#include <QtCore/QFile>
#include <QtCore/QtEndian>

namespace {

constexpr qsizetype kTypeOffset = 2;
constexpr qint16 kOneChannelCode = 1;
constexpr qint16 kSixChannelsCode = 6;
constexpr qsizetype kSerialOffset = 4;
constexpr qsizetype kFirstRecentOffset = 12;

bool isBlank(QByteArrayView field)
{
    for (char c : field)
        if (c != ' ' && c != '\0')
            return false;
    return true;
}

// Empty when blank, else the decoded text without the spaces around it.
QString textField(const QByteArray &bytes, qsizetype offset, qsizetype size, QString (*decode)(const QByteArray &))
{
    const QByteArray field = bytes.sliced(offset, size);
    return isBlank(field) ? QString() : trimmedOfSpaces(decode(field)).toString();
}

QString latin1Text(const QByteArray &bytes)
{
    return QString::fromLatin1(bytes);
}

QByteArray latin1OrQuestionMark(const QString &text)
{
    QByteArray bytes;
    bytes.reserve(text.size());
    for (QChar c : text)
        bytes.append(c.unicode() <= 0xFF ? char(c.unicode()) : '?');
    return bytes;
}

// The longest prefix of path whose file-system bytes fit, so no character is split.
QByteArray fileNameBytesWithin(const QString &path, qsizetype limit)
{
    QByteArray encoded = QFile::encodeName(path);
    QString prefix = path;
    while (encoded.size() > limit) {
        prefix.chop(prefix.size() >= 2 && prefix.back().isLowSurrogate() ? 2 : 1);
        encoded = QFile::encodeName(prefix);
    }
    return encoded;
}

} // namespace

SettingsRecord::SettingsRecord() : bytes_(kSize, '\0')
{
}

SettingsRecord SettingsRecord::decode(const QByteArray &data)
{
    SettingsRecord record;
    record.bytes_.replace(0, std::min(data.size(), kSize), data.first(std::min(data.size(), kSize)));
    return record;
}

qint16 SettingsRecord::int16At(qsizetype offset) const
{
    return qFromLittleEndian<qint16>(bytes_.constData() + offset);
}

void SettingsRecord::setInt16At(qsizetype offset, qint16 value)
{
    qToLittleEndian<qint16>(value, bytes_.data() + offset);
}

void SettingsRecord::setField(qsizetype offset, qsizetype size, const QByteArray &value)
{
    const QByteArray padded = value.first(std::min(value.size(), size)).leftJustified(size, ' ');
    bytes_.replace(offset, size, padded);
}

qsizetype SettingsRecord::recentOffset(int k)
{
    return kFirstRecentOffset + k * kPathSize;
}

TransceiverType SettingsRecord::transceiverType() const
{
    return int16At(kTypeOffset) == kOneChannelCode ? TransceiverType::OneChannel : TransceiverType::SixChannels;
}

void SettingsRecord::setTransceiverType(TransceiverType type)
{
    setInt16At(kTypeOffset, type == TransceiverType::OneChannel ? kOneChannelCode : kSixChannelsCode);
}

QString SettingsRecord::radioSerial() const
{
    return textField(bytes_, kSerialOffset, kSerialSize, latin1Text);
}

void SettingsRecord::setRadioSerial(const QString &serial)
{
    setField(kSerialOffset, kSerialSize, latin1OrQuestionMark(serial.left(kSerialSize)));
}

QString SettingsRecord::recentFile(int k) const
{
    return textField(bytes_, recentOffset(k), kPathSize, QFile::decodeName);
}

void SettingsRecord::setRecentFile(int k, const QString &path)
{
    setField(recentOffset(k), kPathSize, fileNameBytesWithin(path, kPathSize));
}

void SettingsRecord::applyFirstRunDefaults()
{
    setComPort(1);
    setTransceiverType(TransceiverType::OneChannel);
    setRadioSerial(QString());
    for (int k = 1; k <= kRecentCount; ++k)
        setRecentFile(k, QString());
}
