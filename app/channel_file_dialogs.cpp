#include "app/channel_file_dialogs.h"

#include "app/captions.h"

#include <QtWidgets/QFileDialog>

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

} // namespace

ChannelFileDialogs::ChannelFileDialogs(QWidget *window) : QObject(window), window_(window)
{
}

QCoro::Task<QString> ChannelFileDialogs::chooseFileToOpen()
{
    return choose(false);
}

QCoro::Task<QString> ChannelFileDialogs::chooseFileToSave()
{
    return choose(true);
}

QCoro::Task<QString> ChannelFileDialogs::choose(bool saving)
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
    if (!proposal.isEmpty())
        dialog->selectFile(proposal);
    dialog->open();
    co_await untilSignal(dialog, &QDialog::finished, lifetime_);
    if (lifetime_.ended() || dialog->result() != QDialog::Accepted || dialog->selectedFiles().isEmpty())
        co_return QString();
    fileName_ = dialog->selectedFiles().constFirst();
    co_return QString(fileName_); // a copy: QCoro moves from a named value given to co_return
}
