#include "app/window_transfer_view.h"

#include "app/notices.h"

#include <QtWidgets/QWidget>

WindowTransferView::WindowTransferView(Parts parts, ShowMessage showMessage)
    : parts_(parts), showMessage_(std::move(showMessage))
{
}

void WindowTransferView::transferStarted()
{
    parts_.progress.enableTransferCommands(false);
    transferRunning_ = true;
    parts_.terminal.setText({});
}

void WindowTransferView::channelsSent()
{
    parts_.table.clearHighlight(kTableRows);
    parts_.window.update();
}

void WindowTransferView::transferEnded()
{
    parts_.progress.enableTransferCommands(true);
    transferRunning_ = false;
}

QCoro::Task<> WindowTransferView::showNotice(QString text)
{
    // Otherwise the next tick would write over the notice.
    parts_.progress.stopAnimation();
    co_await parts_.notices.showText(text);
}

QCoro::Task<> WindowTransferView::showFailure(TransferFailure failure, OpenFailure portProblem)
{
    if (failure == TransferFailure::InvalidPort)
        parts_.terminal.addLine(portProblemLine(portNumber(), portProblem));
    co_await showMessage_(failureMessage(failure));
}
