#include "files/settings_file.h"

#include "core/logging.h"
#include "files/safe_file.h"

#include <QtCore/QDir>

#include <utility>

QString settingsFilePath(const QString &directory)
{
    return QDir(directory).filePath(QStringLiteral("Varlo"));
}

SettingsRecord readSettings(const QString &path)
{
    const FileRead read = readRegularFile(path, SettingsRecord::kSize);
    return read.failure.isEmpty() ? SettingsRecord::decode(read.bytes) : SettingsRecord();
}

std::optional<QString> writeSettings(const QString &path, const SettingsRecord &record)
{
    return writeAtStart(path, record.encode());
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
    if (const auto failure = writeSettings(path_, settings_))
        qCWarning(lcFiles).noquote() << "Could not save the settings to" << path_ + ':' << *failure;
}
