#pragma once

#include "cli/console.h"
#include "core/time_source.h"
#include "link/exchange_view.h"

#include <QtCore/QStringList>

#include <memory>
#include <optional>

// A transfer seen from the command line: the radio's echo kept in a text buffer, the rows as
// plain strings, and one progress line in place of the window's panes and timers.
class CliView final : public ExchangeView {
public:
    CliView(Console &console, TimeSource &time, int port, bool singleChannel);

    // The rows a download sends; the others stay empty. An upload fills them anew from empty.
    void setRows(const QStringList &frequencies);
    // The rows an upload stored, rows 1..channel count; empty where no valid record came.
    [[nodiscard]] QStringList rowsRead() const;
    // The failure message of the last transfer, if it had one.
    [[nodiscard]] const std::optional<QString> &failure() const { return failure_; }
    // The informational lines of the last transfer.
    [[nodiscard]] const QStringList &notes() const { return notes_; }
    [[nodiscard]] QString portName() const { return QStringLiteral("COM%1").arg(port_); }

    [[nodiscard]] QString terminalText() const override { return terminal_; }
    void setTerminalText(const QString &text) override { terminal_ = text; }
    void placeTerminalCaret(qsizetype) override {}
    void addTerminalLine(const QString &line) override { notes_.append(line); }
    [[nodiscard]] QString frequencyOfRow(int row) const override { return rows_.value(row - 1); }
    void putFrequency(int row, const QString &admitted) override;
    void highlightRow(int row) override;
    void deselectRow(int) override {}
    [[nodiscard]] bool singleChannel() const override { return singleChannel_; }
    [[nodiscard]] int portNumber() const override { return port_; }
    void enableTransferCommands(bool) override {}
    void setTransferRunning(bool running) override;
    void startAnimation() override {}
    void stopAnimation() override {}
    void startEepromCountdown(int eepromSeconds) override;
    void endEepromCountdown() override { countdownTick_.reset(); }
    void refreshWindow() override {}
    // The tool ends once the radio is back at its menu: no notice to wait for.
    QCoro::Task<> showNotice(QString) override { co_return; }
    QCoro::Task<> showFailure(QString message) override;

private:
    void showCountdown();

    Console &console_;
    TimeSource &time_;
    int port_;
    bool singleChannel_;
    QString terminal_;
    QStringList rows_;
    QStringList notes_;
    std::optional<QString> failure_;
    TimeSource::ms countdownEnd_{0};
    std::unique_ptr<Alarm> countdownTick_;
};
