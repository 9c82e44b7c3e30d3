#include "app/radio_verify.h"

#include "app/channel_table.h"
#include "app/transfer_progress.h"
#include "channels/channel_comparison.h"
#include "channels/frequency.h"
#include "core/logging.h"

namespace {

// One line per channel that differs, or that none does.
QString verifyResult(const QStringList &radio, const QStringList &table)
{
    QStringList lines;
    for (const ChannelDifference &difference : differingChannels(radio, table)) {
        const QString held =
            difference.radio.isEmpty() ? QStringLiteral("unreadable") : canonicalFrequency(difference.radio);
        lines
            << QStringLiteral("Channel %1: radio %2, table %3").arg(difference.channel).arg(held, difference.expected);
    }
    return lines.isEmpty() ? QStringLiteral("The radio holds the channels of the table.") : lines.join(u'\n');
}

} // namespace

VerifyView::VerifyView(Parts parts, WindowTransferView::ShowMessage showMessage)
    : parts_(parts), showMessage_(std::move(showMessage))
{
}

void VerifyView::transferStarted()
{
    type_ = parts_.table.type();
    radio_ = QStringList(kTableRows);
    parts_.transfer.transferStarted();
}

// The table is read as it stands now, after the radio has answered.
QCoro::Task<> VerifyView::showNotice(QString)
{
    parts_.progress.stopAnimation();
    QStringList table;
    for (int row = 1; row <= channelCountFor(type_); ++row)
        table << parts_.table.frequencyOfRow(row);
    const QString result = verifyResult(radio_, table);
    qCDebug(lcUi).noquote() << "Verify Radio:" << result;
    co_await showMessage_(result);
}

RadioVerify::RadioVerify(SerialLink &link, TimeSource &time, Timing timing, VerifyView::Parts parts,
                         WindowTransferView::ShowMessage showMessage)
    : view_(parts, std::move(showMessage)), exchange_(link, view_, time, timing)
{
}
