#pragma once

#include "core/time_source.h"
#include "link/exchange_view.h"

#include <QtCore/QStringList>

class SerialLink;

// An ExchangeView that keeps everything the exchange shows, asks and does, for tests.
// Notices last noticeTime and a failure's message box is dismissed failureDismissedAfter
// after it opened, both on the given time source.
class RecordingView final : public ExchangeView {
public:
    using ms = std::chrono::milliseconds;
    struct Failure {
        QString message;
        ms at;
        bool portOpen;
        bool commandsLocked;
    };

    explicit RecordingView(TimeSource &time, const SerialLink *link = nullptr);

    [[nodiscard]] QString terminalText() const override { return text1; }
    void setTerminalText(const QString &text) override;
    void placeTerminalCaret(qsizetype position) override;
    void addTerminalLine(const QString &line) override;
    [[nodiscard]] QString frequencyOfRow(int row) const override { return rows.value(row - 1); }
    void putFrequency(int row, const QString &admitted) override;
    void highlightRow(int row) override;
    void deselectRow(int row) override;
    [[nodiscard]] bool singleChannel() const override { return oneChannel; }
    [[nodiscard]] int portNumber() const override { return port; }
    void enableTransferCommands(bool enable) override;
    void setTransferRunning(bool running) override;
    void startAnimation() override;
    void stopAnimation() override;
    void startEepromCountdown(int eepromSeconds) override;
    void endEepromCountdown() override;
    void refreshWindow() override;
    QCoro::Task<> showNotice(QString text) override;
    QCoro::Task<> showFailure(QString message) override;

    // What a test sets up.
    QStringList rows = QStringList(6, QStringLiteral("118.000"));
    bool oneChannel = false;
    int port = 1;
    ms noticeTime{4000};
    ms failureDismissedAfter{2000};

    // What the exchange did.
    QString text1;
    QStringList text1History;  // every text set, in order
    QList<qsizetype> caretHistory;
    QStringList infoLines;
    QList<int> highlighted;
    QStringList notices;
    QList<Failure> failures;
    QList<bool> lockCalls;     // arguments of EnableTransferCommands
    bool commandsEnabled = true;
    bool transferRunning = false;
    bool animationRunning = false;
    bool countdownRunning = false;
    int eepromSeconds = 0;
    QStringList events;        // every call but the Text1 ones, in order

private:
    TimeSource &time_;
    const SerialLink *link_;
};
