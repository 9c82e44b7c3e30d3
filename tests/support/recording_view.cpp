#include "tests/support/recording_view.h"

#include "link/serial_link.h"

RecordingView::RecordingView(TimeSource &time, const SerialLink *link) : time_(time), link_(link)
{
}

void RecordingView::setTerminalText(const QString &text)
{
    text1 = text;
    text1History.append(text);
}

void RecordingView::placeTerminalCaret(qsizetype position)
{
    caretHistory.append(position);
}

void RecordingView::addTerminalLine(const QString &line)
{
    infoLines.append(line);
    setTerminalText(text1 + line + QStringLiteral("\r\n"));
    events.append(QStringLiteral("line ") + line);
}

void RecordingView::putFrequency(int row, const QString &admitted)
{
    rows[row - 1] = admitted;
    events.append(QStringLiteral("put %1 %2").arg(row).arg(admitted));
}

void RecordingView::highlightRow(int row)
{
    highlighted.append(row);
    events.append(QStringLiteral("highlight %1").arg(row));
}

void RecordingView::deselectRow(int row)
{
    events.append(QStringLiteral("deselect %1").arg(row));
}

void RecordingView::enableTransferCommands(bool enable)
{
    lockCalls.append(enable);
    commandsEnabled = enable;
    events.append(enable ? QStringLiteral("unlock") : QStringLiteral("lock"));
}

void RecordingView::setTransferRunning(bool running)
{
    transferRunning = running;
    events.append(running ? QStringLiteral("running") : QStringLiteral("idle"));
}

void RecordingView::startAnimation()
{
    animationRunning = true;
    events.append(QStringLiteral("animation on"));
}

void RecordingView::stopAnimation()
{
    animationRunning = false;
    events.append(QStringLiteral("animation off"));
}

void RecordingView::startEepromCountdown(int seconds)
{
    countdownRunning = true;
    eepromSeconds = seconds;
    events.append(QStringLiteral("countdown %1").arg(seconds));
}

void RecordingView::endEepromCountdown()
{
    countdownRunning = false;
    events.append(QStringLiteral("countdown end"));
}

void RecordingView::refreshWindow()
{
    events.append(QStringLiteral("refresh"));
}

QCoro::Task<> RecordingView::showNotice(QString text)
{
    notices.append(text);
    events.append(QStringLiteral("notice ") + text);
    co_await sleepUntil(time_, time_.now() + noticeTime);
    events.append(QStringLiteral("notice over"));
}

QCoro::Task<> RecordingView::showFailure(QString message)
{
    failures.append({message, time_.now(), link_ && link_->isOpen(), !commandsEnabled});
    events.append(QStringLiteral("failure ") + message);
    co_await sleepUntil(time_, time_.now() + failureDismissedAfter);
    events.append(QStringLiteral("failure dismissed"));
}
