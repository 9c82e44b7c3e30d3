#pragma once

#include "files/settings_record.h"

#include <QtCore/QString>

#include <optional>

// The settings file "Varlo" in the folder the program was started from.
QString settingsFilePath(const QString &directory);

// Reads the record from the first 2012 bytes of the file; missing bytes read as zeros. A
// missing file, one that cannot be read, or anything that is not a regular file (a FIFO is
// never waited on) gives an all-zero record, which the caller turns into first-run values.
SettingsRecord readSettings(const QString &path);

// Writes the record over the first 2012 bytes, in place, creating the file when missing:
// owner, mode, links and whatever follows the record stay. A device or a pipe is written as it
// is, and a pipe without a reader fails the write rather than wait. Nothing on success, else
// the reason.
std::optional<QString> writeSettings(const QString &path, const SettingsRecord &record);

// The record in memory and the file it is saved to after every change.
class SettingsStore {
public:
    explicit SettingsStore(QString path);

    // Reads the file; on a first run (port 0) stores and writes the defaults.
    void load();
    // A failed write is logged; the program runs on with the record in memory.
    void saveSettings();

    [[nodiscard]] SettingsRecord &record() { return settings_; }
    [[nodiscard]] const SettingsRecord &record() const { return settings_; }
    [[nodiscard]] const QString &filePath() const { return path_; }

private:
    QString path_;
    SettingsRecord settings_;
};
