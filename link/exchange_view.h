#pragma once

#include "channels/channel_rows.h"
#include "link/serial_link.h"

#include <QtCore/QString>
#include <qcoro/qcorotask.h>

// The three ways a transfer ends early.
enum class TransferFailure { InvalidPort, Communication, Timeout };

// A failure in the words of the window's message box and of the tool's error line.
QString failureMessage(TransferFailure failure);
// The line that names the port, the device it stands for and why it would not open.
QString portProblemLine(int port, const OpenFailure &problem);

// Which of the radio's answers an echo holds; each comes with the answer as received so far.
enum class Echo {
    Listing, // the menu's answer to the call, once its wait has ended
    Prompt, // while a channel's prompt is awaited
    StoreQuestion, // the answer to the last channel, which asks whether to store
    Storing, // while the radio stores the channels
    Stored, // the wait for the ready report has ended
    Returning, // after an upload, while the radio returns to its menu
    Returned, // that wait has ended
};

// What a radio transfer tells the one who started it, and the little it asks of them.
// Rows are numbered 1..6. A view leaves out the events it has no use for.
class ExchangeView {
public:
    virtual ~ExchangeView() = default;

    // Both asked as a transfer begins; a change during the transfer changes nothing sent.
    [[nodiscard]] virtual TransceiverType transceiverType() const = 0;
    [[nodiscard]] virtual int portNumber() const = 0;
    // Asked as channel k's step sends it, so an edit made before then is sent.
    [[nodiscard]] virtual QString frequencyOfRow(int row) const = 0;

    virtual void transferStarted() {}
    // The radio's menu has answered the call with its listing.
    virtual void radioAnswered() {}
    // The radio asks for channel k, which is sent next.
    virtual void channelReached([[maybe_unused]] int channel) {}
    virtual void channelsSent() {}
    // The radio stores the channels. The countdown ends at the ready report or its wait's end;
    // it is also ended as every transfer starts, so one left by a failed download ends there.
    virtual void countdownBegan([[maybe_unused]] int seconds) {}
    virtual void countdownEnded() {}
    virtual void echo([[maybe_unused]] Echo stage, [[maybe_unused]] const QString &answer) {}
    // A line of ours about the transfer.
    virtual void note([[maybe_unused]] const QString &line) {}
    // An admitted frequency the radio holds for row k.
    virtual void putFrequency([[maybe_unused]] int row, [[maybe_unused]] const QString &admitted) {}
    // The end, after the notice or the failure.
    virtual void transferEnded() {}

    // The completion notice; the transfer goes on when it ends.
    virtual QCoro::Task<> showNotice([[maybe_unused]] QString text) { co_return; }
    // Shown while the port is still open; the closing steps follow when it ends. For
    // InvalidPort, portProblem says why the port would not open.
    virtual QCoro::Task<> showFailure(TransferFailure failure, OpenFailure portProblem) = 0;
};
