#pragma once

#include "core/time_source.h"
#include "link/exchange_view.h"
#include "link/serial_link.h"

#include <QtCore/QStringList>

// An ExchangeView that keeps everything the exchange shows, asks and does. Notices last four
// seconds; a failure's message box is dismissed two seconds after it opened.
class RecordingView final : public ExchangeView {
public:
    using ms = std::chrono::milliseconds;
    struct Failure {
        QString message;
        ms at;
        bool portOpen;
        bool commandsLocked;
    };

    RecordingView(TimeSource &time, const SerialLink &link) : time_(time), link_(link) {}

    [[nodiscard]] QString terminalText() const override { return terminal; }
    void setTerminalText(const QString &text) override { terminal = text; }
    void placeTerminalCaret(qsizetype position) override { caret = position; }
    void addTerminalLine(const QString &line) override
    {
        infoLines.append(line);
        terminal += line + QStringLiteral("\r\n");
        events.append(QStringLiteral("line ") + line);
    }
    [[nodiscard]] QString frequencyOfRow(int row) const override { return rows.value(row - 1); }
    void putFrequency(int row, const QString &admitted) override
    {
        rows[row - 1] = admitted;
        events.append(QStringLiteral("put %1 %2").arg(row).arg(admitted));
    }
    void highlightRow(int row) override { events.append(QStringLiteral("highlight %1").arg(row)); }
    void deselectRow(int row) override { events.append(QStringLiteral("deselect %1").arg(row)); }
    [[nodiscard]] bool singleChannel() const override { return oneChannel; }
    [[nodiscard]] int portNumber() const override { return port; }
    void enableTransferCommands(bool enable) override
    {
        commandsEnabled = enable;
        events.append(enable ? QStringLiteral("unlock") : QStringLiteral("lock"));
    }
    void setTransferRunning(bool running) override
    {
        transferRunning = running;
        events.append(running ? QStringLiteral("running") : QStringLiteral("idle"));
    }
    void startAnimation() override { events.append(QStringLiteral("animation on")); }
    void stopAnimation() override { events.append(QStringLiteral("animation off")); }
    void startEepromCountdown(int seconds) override
    {
        countdownRunning = true;
        events.append(QStringLiteral("countdown %1").arg(seconds));
    }
    void endEepromCountdown() override
    {
        countdownRunning = false;
        events.append(QStringLiteral("countdown end"));
    }
    void refreshWindow() override { events.append(QStringLiteral("refresh")); }
    QCoro::Task<> showNotice(QString text) override
    {
        notices.append(text);
        events.append(QStringLiteral("notice ") + text);
        co_await sleepUntil(time_, time_.now() + ms(4000));
        events.append(QStringLiteral("notice over"));
    }
    QCoro::Task<> showFailure(QString message) override
    {
        failures.append({message, time_.now(), link_.isOpen(), !commandsEnabled});
        events.append(QStringLiteral("failure ") + message);
        co_await sleepUntil(time_, time_.now() + ms(2000));
        events.append(QStringLiteral("failure dismissed"));
    }

    // What a test sets up.
    QStringList rows = QStringList(6, QStringLiteral("118.000"));
    bool oneChannel = false;
    int port = 1;

    // What the exchange did.
    QString terminal;
    qsizetype caret = -1;
    QStringList infoLines;
    QStringList notices;
    QList<Failure> failures;
    bool commandsEnabled = true;
    bool transferRunning = false;
    bool countdownRunning = false;
    QStringList events; // every call but the terminal text's, in order

private:
    TimeSource &time_;
    const SerialLink &link_;
};
