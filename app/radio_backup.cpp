#include "app/radio_backup.h"

#include "app/port_choice.h"
#include "app/terminal_pane.h"
#include "files/backup_file.h"
#include "files/safe_file.h"
#include "link/exchange_listing.h"

#include <QtCore/QDateTime>
#include <QtCore/QStandardPaths>

namespace {

QString backupsPath()
{
    return QStandardPaths::writableLocation(QStandardPaths::AppDataLocation) + QStringLiteral("/backups");
}

} // namespace

RadioBackup::RadioBackup(RadioExchange &download, const PortChoice &ports, TerminalPane &terminal,
                         ShowMessage showMessage)
    : ports_(ports), terminal_(terminal), showMessage_(std::move(showMessage))
{
    download.setListingCheck([this](QString listing, TransceiverType type) { return keep(std::move(listing), type); });
}

QString RadioBackup::folder()
{
    const QString path = backupsPath();
    // One that cannot be made is left to the dialog; a backup says why it could not be written.
    makeFolders(path);
    return path;
}

QCoro::Task<ListingVerdict> RadioBackup::keep(QString listing, TransceiverType type)
{
    const BackupWrite backup =
        writeBackup(backupsPath(), QDateTime::currentDateTime(), ports_.portNumber(), listedFrequencies(listing, type));
    if (backup.failure.isEmpty()) {
        written_ = backup.path;
        co_return ListingVerdict::GoOn;
    }
    const QString why =
        QStringLiteral("The radio was not changed: its channels could not be backed up (%1).").arg(backup.failure);
    co_await showMessage_(why);
    co_return ListingVerdict::Stop;
}

void RadioBackup::nameBackup()
{
    if (written_.isEmpty())
        return;
    terminal_.addLine(QStringLiteral("The radio's former channels are kept in %1").arg(written_));
    written_.clear();
}
