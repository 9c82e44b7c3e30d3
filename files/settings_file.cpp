#include "files/settings_file.h"

#include <QtCore/QDir>
#include <QtCore/QFile>
#include <QtCore/QFileInfo>
#include <QtCore/QSaveFile>

#include <optional>
#include <utility>

namespace {

// The bytes a longer file holds past the record, which every save carries along.
std::optional<QByteArray> bytesAfterRecord(const QString &path)
{
    QFile file(path);
    if (!file.exists())
        return QByteArray();
    if (!file.open(QIODevice::ReadOnly) || !file.seek(SettingsRecord::kSize))
        return std::nullopt;
    QByteArray rest = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return std::nullopt;
    return rest;
}

bool replaceRegularFile(const QString &path, const QByteArray &record)
{
    const auto rest = bytesAfterRecord(path);
    if (!rest)
        return false;
    // Unbuffered: a short write must show in write()'s result, since commit() does not
    // always report a failed flush.
    QSaveFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Unbuffered) && file.write(record) == record.size()
        && file.write(*rest) == rest->size() && file.commit();
}

bool writeInPlace(const QString &path, const QByteArray &record)
{
    QFile file(path);
    return file.open(QIODevice::ReadWrite | QIODevice::Unbuffered)
        && file.write(record) == record.size();
}

} // namespace

QString settingsFilePath(const QString &directory)
{
    return QDir(directory).filePath(QStringLiteral("Varlo"));
}

SettingsRecord readSettings(const QString &path)
{
    QFile file(path);
    if (!file.exists())
        file.open(QIODevice::WriteOnly); // an empty file, as a first run leaves it
    file.close();
    if (!file.open(QIODevice::ReadOnly))
        return SettingsRecord();
    return SettingsRecord::decode(file.read(SettingsRecord::kSize));
}

bool writeSettings(const QString &path, const SettingsRecord &record)
{
    const QFileInfo target(path);
    if (target.exists() && !target.isFile())
        return !target.isDir() && writeInPlace(path, record.encode());
    return replaceRegularFile(path, record.encode());
}

SettingsStore::SettingsStore(QString path) : path_(std::move(path)) {}

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
