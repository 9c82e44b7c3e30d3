#pragma once

#include "core/lifetime.h"
#include "core/serial_trace.h"
#include "core/time_source.h"
#include "core/timing.h"
#include "link/exchange_view.h"
#include "link/exchange_wait.h"

#include <QtCore/QString>
#include <qcoro/qcorotask.h>

#include <functional>
#include <optional>

class SerialLink;

// What a download does once its listing check has seen the radio's channels.
enum class ListingVerdict {
    GoOn, // confirms with "Y" and writes the channels
    Decline, // answers "N" as an upload does: the radio keeps its channels and returns to its menu
    Stop, // sends nothing more; the check has said why, and the closing steps follow
};

// The length of the EEPROM countdown, and of the wait for the ready report, for a channel count.
int eepromSecondsFor(int channelCount);

// Drives the radio's text menu as a person at a terminal would: single characters with a
// pause after each, then a wait for the expected marker. Writes the table into the radio
// (download) or reads it back (upload). One transfer at a time. A transfer still running when
// its lifetime ends stops at once, touching neither the view nor the link again.
class RadioExchange {
public:
    RadioExchange(SerialLink &link, ExchangeView &view, TimeSource &time, Timing timing);
    ~RadioExchange();
    RadioExchange(const RadioExchange &) = delete;
    RadioExchange &operator=(const RadioExchange &) = delete;

    [[nodiscard]] Lifetime &lifetime() { return lifetime_; }

    // Writes the rows into the radio; ends after the completion notice or a failure's message.
    QCoro::Task<> downloadToRadio();
    // Reads the radio's channels into the rows; ends after the notice or a failure's message.
    QCoro::Task<> uploadFromRadio();
    // Writes each character, resuming one pace after that write; false when a write failed or
    // the lifetime ended, which ends the send at once.
    QCoro::Task<bool> sendPaced(QString text);

    // Sees the radio's listing, with the transfer's type, before a download confirms with "Y";
    // the download waits for its verdict.
    using ListingCheck = std::function<QCoro::Task<ListingVerdict>(QString listing, TransceiverType type)>;
    void setListingCheck(ListingCheck check) { listingCheck_ = std::move(check); }

private:
    using Outcome = std::optional<TransferFailure>;
    using Dialogue = QCoro::Task<Outcome> (RadioExchange::*)(TransceiverType type);

    // Opens the port, wakes the radio's menu, runs the dialogue and ends the transfer.
    QCoro::Task<> runTransfer(Dialogue dialogue);

    TransceiverType beginTransfer();
    std::optional<OpenFailure> openPort();
    QCoro::Task<> endTransfer(Outcome outcome, OpenFailure portProblem = {});
    QCoro::Task<Outcome> callUpListing();
    QCoro::Task<Outcome> downloadDialogue(TransceiverType type);
    QCoro::Task<ListingVerdict> checkListing(TransceiverType type);
    QCoro::Task<Outcome> writeChannel(int channel, TransceiverType type);
    QCoro::Task<Outcome> storeChannels(int channelCount);
    QCoro::Task<Outcome> uploadDialogue(TransceiverType type);
    void storeListing(const QString &listing, TransceiverType type);
    QCoro::Task<bool> discardAndSend(QString text);
    [[nodiscard]] bool timedOut(const WaitEnd &end) const;
    void echoReply(Echo stage) { view_.echo(stage, waiter_.reply()); }

    SerialLink &link_;
    ExchangeView &view_;
    TimeSource &time_;
    Timing timing_;
    Lifetime lifetime_;
    SerialTrace trace_;
    ReplyWaiter waiter_;
    ListingCheck listingCheck_;
};
