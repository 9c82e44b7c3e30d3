// Texts typed, pasted or read from disk: every check either refuses them or gives a result
// the rest of the program can rely on.
#include "channels/frequency.h"
#include "files/channel_file.h"
#include "files/recent_files.h"
#include "files/settings_record.h"
#include "link/port_number.h"

#include <cmath>
#include <cstddef>
#include <cstdint>

namespace {

void require(bool condition)
{
    if (!condition)
        __builtin_trap();
}

void checkFrequency(const QString &text)
{
    if (!validFrequency(text))
        return;
    const QString canonical = canonicalFrequency(text);
    require(canonical.size() == 7 && canonical.at(3) == u'.');
    require(validFrequency(canonical));
    require(canonicalFrequency(canonical) == canonical);
    require(std::abs(canonical.toDouble() - text.trimmed().toDouble()) < 0.0005);
}

void checkSettings(const QByteArray &bytes, const QString &text)
{
    SettingsRecord record = SettingsRecord::decode(bytes);
    require(record.encode().size() == SettingsRecord::kSize);
    require(SettingsRecord::decode(record.encode()) == record);
    const QByteArray untouched = record.encode().mid(12, 500);
    record.setRadioSerial(text);
    record.setRecentFile(2, text);
    require(record.encode().size() == SettingsRecord::kSize);
    require(record.encode().mid(12, 500) == untouched);
    require(record.radioSerial().size() <= SettingsRecord::kSerialSize);
}

void checkPortText(const QString &text)
{
    const auto port = portFromText(text);
    if (port)
        require(*port >= 1 && integerFromText(text) == port);
}

// A file loads only admissible frequencies, never more than the radio has, and a table
// saved reads back as itself.
void checkChannelFile(const QByteArray &bytes)
{
    QStringList loaded = decodeChannelFile(bytes, 6).frequencies;
    require(loaded.size() <= 6 && decodeChannelFile(bytes, 1).frequencies == loaded.mid(0, 1));
    for (QString &frequency : loaded)
        frequency = canonicalFrequency(frequency);
    require(decodeChannelFile(encodeChannelFile(loaded), 6).frequencies == loaded);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    const QString text = QString::fromUtf8(bytes);
    checkFrequency(text);
    checkFrequency(QString::fromLatin1(bytes));
    checkSettings(bytes, text);
    checkPortText(text);
    shortenPath(text);
    checkChannelFile(bytes);
    return 0;
}
