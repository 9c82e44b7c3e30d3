#pragma once

#include "app/channel_table.h"
#include "app/port_choice.h"
#include "app/table_history.h"
#include "app/terminal_pane.h"
#include "app/transfer_progress.h"
#include "link/exchange_view.h"

#include <functional>

class Notices;
class QWidget;

// A transfer as the window shows it: the lock of the transfer commands, the highlight of the
// row being written, the animation and the countdown, the terminal pane, the notices and the
// failure's message box.
class WindowTransferView final : public ExchangeView {
public:
    // Shows a message box and returns when it has been dismissed.
    using ShowMessage = std::function<QCoro::Task<>(QString)>;

    struct Parts {
        QWidget &window;
        TerminalPane &terminal;
        ChannelTable &table;
        PortChoice &ports;
        TransferProgress &progress;
        Notices &notices;
        TableHistory &history;
    };

    WindowTransferView(Parts parts, ShowMessage showMessage);

    // From a transfer's start to its end: the window refuses to close meanwhile.
    [[nodiscard]] bool transferRunning() const { return transferRunning_; }

    [[nodiscard]] TransceiverType transceiverType() const override { return parts_.table.type(); }
    [[nodiscard]] int portNumber() const override { return parts_.ports.portNumber(); }
    [[nodiscard]] QString frequencyOfRow(int row) const override { return parts_.table.frequencyOfRow(row); }
    void transferStarted() override;
    void radioAnswered() override { parts_.progress.startAnimation(); }
    void channelReached(int channel) override { parts_.table.highlightRow(channel); }
    void channelsSent() override;
    void countdownBegan(int seconds) override { parts_.progress.startEepromCountdown(qint16(seconds)); }
    void countdownEnded() override { parts_.progress.endEepromCountdown(); }
    void echo(Echo stage, const QString &answer) override { parts_.terminal.showEcho(stage, answer); }
    void note(const QString &line) override { parts_.terminal.addLine(line); }
    void putFrequency(int row, const QString &admitted) override { parts_.history.putUploaded(row, admitted); }
    void transferEnded() override;
    QCoro::Task<> showNotice(QString text) override;
    QCoro::Task<> showFailure(TransferFailure failure, OpenFailure portProblem) override;

private:
    Parts parts_;
    ShowMessage showMessage_;
    bool transferRunning_ = false;
};
