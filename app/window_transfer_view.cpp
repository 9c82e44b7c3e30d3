#include "app/window_transfer_view.h"

#include "app/channel_table.h"
#include "app/notices.h"
#include "app/port_choice.h"
#include "app/terminal_pane.h"
#include "app/transfer_progress.h"

#include <QtWidgets/QWidget>

#include <climits>

WindowTransferView::WindowTransferView(Parts parts, ShowMessage showMessage)
    : parts_(parts), showMessage_(std::move(showMessage))
{
}

QString WindowTransferView::terminalText() const
{
    return parts_.terminal.text();
}

void WindowTransferView::setTerminalText(const QString &text)
{
    parts_.terminal.setText(text);
}

void WindowTransferView::placeTerminalCaret(qsizetype position)
{
    parts_.terminal.placeCaret(int(std::min<qsizetype>(position, INT_MAX)));
}

void WindowTransferView::addTerminalLine(const QString &line)
{
    parts_.terminal.addLine(line);
}

QString WindowTransferView::frequencyOfRow(int row) const
{
    return parts_.table.frequencyOfRow(row);
}

void WindowTransferView::putFrequency(int row, const QString &admitted)
{
    parts_.table.putFrequency(row, admitted);
}

void WindowTransferView::highlightRow(int row)
{
    parts_.table.highlightRow(row);
}

void WindowTransferView::deselectRow(int row)
{
    parts_.table.clearHighlight(row);
}

bool WindowTransferView::singleChannel() const
{
    return parts_.table.singleChannel();
}

int WindowTransferView::portNumber() const
{
    return parts_.ports.portNumber();
}

void WindowTransferView::enableTransferCommands(bool enable)
{
    parts_.progress.enableTransferCommands(enable);
}

void WindowTransferView::setTransferRunning(bool running)
{
    transferRunning_ = running;
}

void WindowTransferView::startAnimation()
{
    parts_.progress.startAnimation();
}

void WindowTransferView::stopAnimation()
{
    parts_.progress.stopAnimation();
}

void WindowTransferView::startEepromCountdown(int eepromSeconds)
{
    parts_.progress.startEepromCountdown(qint16(eepromSeconds));
}

void WindowTransferView::endEepromCountdown()
{
    parts_.progress.endEepromCountdown();
}

void WindowTransferView::refreshWindow()
{
    parts_.window.update();
}

QCoro::Task<> WindowTransferView::showNotice(QString text)
{
    co_await parts_.notices.showText(text);
}

QCoro::Task<> WindowTransferView::showFailure(QString message)
{
    co_await showMessage_(message);
}
