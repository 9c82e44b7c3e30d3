#include "files/settings_file.h"

#include "files/safe_file.h"

#include <QtCore/QDir>

#include <utility>

QString settingsFilePath(const QString &directory)
{
    return QDir(directory).filePath(QStringLiteral("Varlo"));
}

SettingsRecord readSettings(const QString &path)
{
    // A first run leaves an empty file.
    const auto bytes = readRegularFile(path, SettingsRecord::kSize, IfMissing::CreateEmpty);
    return bytes ? SettingsRecord::decode(*bytes) : SettingsRecord();
}

bool writeSettings(const QString &path, const SettingsRecord &record)
{
    return saveFile(path, record.encode(), OldBytes::KeepPastNew);
}

SettingsStore::SettingsStore(QString path) : path_(std::move(path))
{
}

void SettingsStore::load()
{
    settings_ = readSettings(path_);
    if (settings_.comPort() == 0) {
        settings_.applyFirstRunDefaults();
        saveSettings();
    }
}

void SettingsStore::saveSettings()
{
    writeSettings(path_, settings_);
}
