#include "files/backup_file.h"

#include "files/channel_file.h"
#include "files/safe_file.h"

#include <QtCore/QDir>

namespace {

// Far more than downloads in one second; the bound keeps a folder full of names from looping.
constexpr int kMaxSameSecond = 1000;

QString numbered(const QString &name, int copy)
{
    if (copy == 1)
        return name;
    return name.chopped(3) + QStringLiteral("_%1.vl").arg(copy);
}

} // namespace

QString backupFileName(const QDateTime &taken, int port)
{
    return taken.toString(QStringLiteral("yyyy-MM-dd_HHmmss")) + QStringLiteral("_COM%1.vl").arg(port);
}

BackupWrite writeBackup(const QString &folder, const QDateTime &taken, int port, const QStringList &records)
{
    if (const auto failure = makeFolders(folder))
        return {{}, *failure};
    const QByteArray content = encodeChannelFile(records);
    const QString name = backupFileName(taken, port);
    for (int copy = 1; copy <= kMaxSameSecond; ++copy) {
        const QString path = QDir(folder).filePath(numbered(name, copy));
        const auto failure = createNewFile(path, content);
        if (!failure)
            return {path, {}};
        if (!failure->taken)
            return {{}, failure->reason};
    }
    return {{}, QStringLiteral("too many backups in one second")};
}
