#pragma once

#include "app/window_transfer_view.h"
#include "link/exchange.h"

#include <QtCore/QStringList>

class ChannelTable;
class TransferProgress;

// A verify as the window shows it: an upload's lock, echo, animation and failure boxes, but
// the radio's channels are compared with the table instead of put into it, and the box that
// says the result takes the place of the completion notice.
class VerifyView final : public ExchangeView {
public:
    struct Parts {
        WindowTransferView &transfer;
        ChannelTable &table;
        TransferProgress &progress;
    };

    VerifyView(Parts parts, WindowTransferView::ShowMessage showMessage);

    // The type in force when the verify began.
    [[nodiscard]] TransceiverType transceiverType() const override { return type_; }
    [[nodiscard]] int portNumber() const override { return parts_.transfer.portNumber(); }
    [[nodiscard]] QString frequencyOfRow(int row) const override { return parts_.transfer.frequencyOfRow(row); }
    void transferStarted() override;
    void radioAnswered() override { parts_.transfer.radioAnswered(); }
    void countdownEnded() override { parts_.transfer.countdownEnded(); }
    void echo(Echo stage, const QString &answer) override { parts_.transfer.echo(stage, answer); }
    void note(const QString &line) override { parts_.transfer.note(line); }
    void putFrequency(int row, const QString &admitted) override { radio_[row - 1] = admitted; }
    void transferEnded() override { parts_.transfer.transferEnded(); }
    QCoro::Task<> showNotice(QString text) override;
    QCoro::Task<> showFailure(TransferFailure failure, OpenFailure portProblem) override
    {
        return parts_.transfer.showFailure(failure, portProblem);
    }

private:
    Parts parts_;
    WindowTransferView::ShowMessage showMessage_;
    TransceiverType type_ = TransceiverType::SixChannels;
    QStringList radio_; // empty where the radio's record was not a valid frequency
};

// Data > Verify Radio: reads the radio with the very bytes and waits of Upload and says whether
// it holds the channels of the table, which it leaves as it is.
class RadioVerify {
public:
    RadioVerify(SerialLink &link, TimeSource &time, Timing timing, VerifyView::Parts parts,
                WindowTransferView::ShowMessage showMessage);

    [[nodiscard]] Lifetime &lifetime() { return exchange_.lifetime(); }
    QCoro::Task<> verifyRadio() { return exchange_.uploadFromRadio(); }

private:
    VerifyView view_;
    RadioExchange exchange_;
};
