#include "app/channel_file_dialogs.h"

#include "app/captions.h"

#include <QtWidgets/QFileDialog>
#include <QtWidgets/QTreeView>

namespace {

const QString kChannelFilter = QStringLiteral("Varlo files (*.vl)");
const QString kAllFilter = QStringLiteral("All files (*)");
const QString kExtension = QStringLiteral("vl");

// A save under "All files (*)" keeps the name as typed.
void suffixFollowsFilter(QFileDialog *dialog)
{
    dialog->setDefaultSuffix(kExtension);
    QObject::connect(dialog, &QFileDialog::filterSelected, dialog, [dialog](const QString &filter) {
        dialog->setDefaultSuffix(filter == kChannelFilter ? kExtension : QString());
    });
}

// Backups are named by the time they were taken: in reverse order of names the newest comes first.
void showNewestFirst(QFileDialog *dialog, const QString &folder)
{
    dialog->setDirectory(folder);
    if (auto *details = dialog->findChild<QTreeView *>(QStringLiteral("treeView")))
        details->sortByColumn(0, Qt::DescendingOrder);
}

} // namespace

ChannelFileDialogs::ChannelFileDialogs(QWidget *window) : QObject(window), window_(window)
{
}

QCoro::Task<QString> ChannelFileDialogs::chooseFileToOpen(QString folder)
{
    return choose(false, std::move(folder));
}

QCoro::Task<QString> ChannelFileDialogs::chooseFileToSave()
{
    return choose(true);
}

QCoro::Task<QString> ChannelFileDialogs::choose(bool saving, QString folder)
{
    auto *dialog = new QFileDialog(
        window_, saving ? QStringLiteral("Enter filename to save data as") : QStringLiteral("Enter filename to open"));
    dialog->setObjectName(QStringLiteral("ComDiag"));
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    // Qt's own dialog asks about the name actually written, ".vl" added; a platform dialog would
    // ask before adding it and replace tower.vl unasked when "tower" is typed.
    dialog->setOption(QFileDialog::DontUseNativeDialog);
    dialog->setNameFilters({kChannelFilter, kAllFilter});
    if (saving) {
        dialog->setAcceptMode(QFileDialog::AcceptSave);
        suffixFollowsFilter(dialog);
    }
    const QString proposal = proposedFileName(fileName_);
    if (!folder.isEmpty())
        showNewestFirst(dialog, folder);
    else if (!proposal.isEmpty())
        dialog->selectFile(proposal);
    dialog->open();
    co_await untilSignal(dialog, &QDialog::finished, lifetime_);
    if (lifetime_.ended() || dialog->result() != QDialog::Accepted || dialog->selectedFiles().isEmpty())
        co_return QString();
    fileName_ = dialog->selectedFiles().constFirst();
    co_return QString(fileName_); // a copy: QCoro moves from a named value given to co_return
}
