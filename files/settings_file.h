#pragma once

#include "files/settings_record.h"

#include <QtCore/QString>

// The settings file "Varlo" in the folder the program was started from.
QString settingsFilePath(const QString &directory);

// Reads the record, creating an empty file when there is none. A file that cannot be read,
// or anything that is not a regular file (a FIFO is never waited on), gives an all-zero
// record, which the caller turns into first-run values.
SettingsRecord readSettings(const QString &path);

// Writes the record over the first 2012 bytes and keeps whatever follows them. A regular
// file is replaced whole by a new one renamed into place, so a failed write leaves the old
// file intact; anything else (a device, a pipe) is written in place and never renamed over,
// and a pipe without a reader fails the write rather than wait.
bool writeSettings(const QString &path, const SettingsRecord &record);

// The record in memory and the file it is saved to after every change.
class SettingsStore {
public:
    explicit SettingsStore(QString path);

    // Reads the file; on a first run (port 0) stores and writes the defaults.
    void load();
    // A failed write leaves the program running on the record in memory.
    void saveSettings();

    [[nodiscard]] SettingsRecord &record() { return settings_; }
    [[nodiscard]] const SettingsRecord &record() const { return settings_; }
    [[nodiscard]] const QString &filePath() const { return path_; }

private:
    QString path_;
    SettingsRecord settings_;
};
