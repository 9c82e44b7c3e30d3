#pragma once

#include "cli/console.h"
#include "core/time_source.h"
#include "link/exchange_view.h"

#include <QtCore/QStringList>

#include <memory>
#include <optional>

// A transfer seen from the command line: the rows as plain strings, and one progress line in
// place of the window's panes and timers.
class CliView final : public ExchangeView {
public:
    struct Failure {
        TransferFailure kind;
        OpenFailure portProblem;
    };

    CliView(Console &console, TimeSource &time, int port, TransceiverType type);

    // The rows a download sends; the others stay empty. An upload fills them anew from empty.
    void setRows(const QStringList &frequencies);
    // The rows an upload stored, rows 1..channel count; empty where no valid record came.
    [[nodiscard]] QStringList rowsRead() const;
    // The failure of the last transfer, if it had one.
    [[nodiscard]] const std::optional<Failure> &failure() const { return failure_; }
    // The informational lines of the last transfer.
    [[nodiscard]] const QStringList &notes() const { return notes_; }
    [[nodiscard]] QString portName() const { return QStringLiteral("COM%1").arg(port_); }

    [[nodiscard]] TransceiverType transceiverType() const override { return type_; }
    [[nodiscard]] int portNumber() const override { return port_; }
    [[nodiscard]] QString frequencyOfRow(int row) const override { return rows_.value(row - 1); }
    void transferStarted() override;
    void channelReached(int channel) override;
    void countdownBegan(int seconds) override;
    void countdownEnded() override { countdownTick_.reset(); }
    void note(const QString &line) override { notes_.append(line); }
    void putFrequency(int row, const QString &admitted) override { rows_[row - 1] = admitted; }
    void transferEnded() override { console_.endProgress(); }
    QCoro::Task<> showFailure(TransferFailure failure, OpenFailure portProblem) override;

private:
    void showCountdown();

    Console &console_;
    TimeSource &time_;
    int port_;
    TransceiverType type_;
    QStringList rows_;
    QStringList notes_;
    std::optional<Failure> failure_;
    TimeSource::ms countdownEnd_{0};
    std::unique_ptr<Alarm> countdownTick_;
};
