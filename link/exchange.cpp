#include "link/exchange.h"

#include "channels/frequency.h"
#include "core/blanks.h"
#include "core/logging.h"
#include "link/exchange_listing.h"
#include "link/serial_link.h"

#include <QtCore/QStringList>

namespace {

const QString kCarriageReturn = QStringLiteral("\r");
// The channel menu of both radio models.
const QString kMenuSelection = QStringLiteral("6");
const QString kDownloadCompleted = QStringLiteral("Download Completed. Power Radio OFF / ON.");
const QString kUploadCompleted = QStringLiteral("Upload Completed");

// Six records of 26 characters; the sixth frequency ends 150 characters after the first "C".
constexpr qsizetype kListingLength = 150;
constexpr qsizetype kEditQuestionLength = 45;
constexpr qsizetype kChannelPromptLength = 52;

ReplyWait listingWait(int limit)
{
    return {QStringLiteral("C"), MatchRule::Length, kListingLength, limit, {}};
}

ReplyWait editQuestionWait(int limit)
{
    return {QStringLiteral("E"), MatchRule::Length, kEditQuestionLength, limit, {}};
}

ReplyWait channelPromptWait(int channel, int limit)
{
    return {QStringLiteral("Channel %1").arg(channel), MatchRule::Length, kChannelPromptLength, limit, Echo::Prompt};
}

ReplyWait pointWait(int limit)
{
    return {QStringLiteral("."), MatchRule::Position, 0, limit, {}};
}

ReplyWait storeQuestionWait(int limit)
{
    return {QStringLiteral("S or R"), MatchRule::Position, 0, limit, {}};
}

ReplyWait readyWait(int eepromSeconds)
{
    return {QStringLiteral("The radio is now ready for use."), MatchRule::Position, 0, eepromSeconds, Echo::Storing};
}

ReplyWait menuWait(int limit, std::optional<Echo> echo = std::nullopt)
{
    return {QStringLiteral("menu.)"), MatchRule::Position, 0, limit, echo};
}

// The listing runs from the first "C" of the trimmed reply to its end.
QString listingIn(const QString &reply)
{
    const QStringView trimmed = trimmedOfSpaces(reply);
    const qsizetype start = trimmed.indexOf(u'C');
    return start < 0 ? QString() : trimmed.sliced(start).toString();
}

QString channelsNotRead(const QList<int> &rows)
{
    QStringList numbers;
    for (const int row : rows)
        numbers.append(QString::number(row));
    return QStringLiteral("channels not read: ") + numbers.join(QStringLiteral(", "));
}

} // namespace

QString failureMessage(TransferFailure failure)
{
    switch (failure) {
    case TransferFailure::InvalidPort:
        return QStringLiteral("Invalid COM Port");
    case TransferFailure::Communication:
        return QStringLiteral("Communication Error");
    case TransferFailure::Timeout:
        return QStringLiteral("Serial portTimeout Error");
    }
    return {};
}

QString portProblemLine(int port, const OpenFailure &problem)
{
    if (problem.device.isEmpty())
        return QStringLiteral("COM%1: %2").arg(port).arg(problem.reason);
    return QStringLiteral("COM%1 is %2: %3").arg(port).arg(problem.device, problem.reason);
}

int eepromSecondsFor(int channelCount)
{
    return channelCount > 1 ? channelCount * 5 : (channelCount + 5) * 5;
}

RadioExchange::RadioExchange(SerialLink &link, ExchangeView &view, TimeSource &time, Timing timing)
    : link_(link), view_(view), time_(time), timing_(timing),
      waiter_(link, view, time, timing.second, lifetime_, trace_)
{
}

// Ended here, while everything a resuming coroutine may still read exists.
RadioExchange::~RadioExchange()
{
    lifetime_.end();
}

QCoro::Task<> RadioExchange::downloadToRadio()
{
    co_await runTransfer(&RadioExchange::downloadDialogue);
}

QCoro::Task<> RadioExchange::uploadFromRadio()
{
    co_await runTransfer(&RadioExchange::uploadDialogue);
}

QCoro::Task<> RadioExchange::runTransfer(Dialogue dialogue)
{
    if (lifetime_.ended())
        co_return;
    const TransceiverType type = beginTransfer();
    if (auto problem = openPort()) {
        co_await endTransfer(TransferFailure::InvalidPort, *problem);
        co_return;
    }
    // A failed write here is not yet an error: the menu selection that follows decides.
    if (!co_await sendPaced(kCarriageReturn) && !lifetime_.ended())
        qCWarning(lcSerial) << "the carriage return that wakes the radio's menu could not be written";
    const Outcome outcome = co_await (this->*dialogue)(type);
    if (lifetime_.ended())
        co_return;
    co_await endTransfer(outcome);
}

QCoro::Task<bool> RadioExchange::sendPaced(QString text)
{
    for (const QChar character : text) {
        const char byte = character.toLatin1();
        if (lifetime_.ended() || !link_.writeChar(byte))
            co_return false;
        trace_.sent(byte);
        // Measured from this write, so pauses never add up to drift.
        if (!co_await sleepUntil(time_, time_.now() + timing_.pace, lifetime_))
            co_return false;
    }
    co_return true;
}

// The transceiver type is the one in force now: a switch during the transfer changes nothing sent.
TransceiverType RadioExchange::beginTransfer()
{
    // A countdown left running by a failed download must not run into this transfer.
    view_.countdownEnded();
    view_.transferStarted();
    trace_.start();
    return view_.transceiverType();
}

// Empty when the port is open with an empty receive buffer; else why not.
std::optional<OpenFailure> RadioExchange::openPort()
{
    if (!link_.isOpen()) {
        if (!link_.setPortNumber(view_.portNumber()))
            return OpenFailure{{}, QStringLiteral("not a serial port number")};
        if (auto failure = link_.open())
            return failure;
    }
    if (!link_.discardInput())
        return OpenFailure{{}, QStringLiteral("the receive buffer could not be cleared")};
    return std::nullopt;
}

// The failure is shown while the port is still open and the transfer still running.
QCoro::Task<> RadioExchange::endTransfer(Outcome outcome, OpenFailure portProblem)
{
    if (outcome) {
        co_await view_.showFailure(*outcome, portProblem);
        if (lifetime_.ended())
            co_return;
    }
    if (outcome != TransferFailure::InvalidPort && link_.isOpen())
        link_.close();
    view_.transferEnded();
}

QCoro::Task<RadioExchange::Outcome> RadioExchange::callUpListing()
{
    if (!co_await sendPaced(kMenuSelection))
        co_return TransferFailure::Communication;
    waiter_.clearReply();
    const WaitEnd end = co_await waiter_.wait(listingWait(timing_.replyLimitSeconds));
    if (end.communicationError)
        co_return TransferFailure::Communication;
    echoReply(Echo::Listing);
    if (timedOut(end))
        co_return TransferFailure::Timeout;
    view_.radioAnswered();
    co_return std::nullopt;
}

QCoro::Task<RadioExchange::Outcome> RadioExchange::downloadDialogue(TransceiverType type)
{
    if (const Outcome failure = co_await callUpListing())
        co_return failure;
    const ListingVerdict verdict = co_await checkListing(type);
    if (lifetime_.ended() || verdict == ListingVerdict::Stop)
        co_return std::nullopt;
    if (verdict == ListingVerdict::Decline) {
        // Answered as by an upload: the radio keeps its channels and returns to its menu.
        if (!co_await sendPaced(QStringLiteral("N")))
            co_return TransferFailure::Communication;
        if ((co_await waiter_.wait(menuWait(timing_.replyLimitSeconds))).communicationError)
            co_return TransferFailure::Communication;
        if (!co_await sendPaced(kCarriageReturn))
            co_return TransferFailure::Communication;
        co_return std::nullopt;
    }
    // Goes on whether or not the question came in time.
    if ((co_await waiter_.wait(editQuestionWait(timing_.replyLimitSeconds))).communicationError)
        co_return TransferFailure::Communication;
    if (!co_await discardAndSend(QStringLiteral("Y")))
        co_return TransferFailure::Communication;
    waiter_.clearReply();
    echoReply(Echo::Prompt);
    for (int channel = 1; channel <= kTableRows; ++channel) {
        if (const Outcome failure = co_await writeChannel(channel, type))
            co_return failure;
    }
    view_.channelsSent();
    co_return co_await storeChannels(channelCountFor(type));
}

QCoro::Task<ListingVerdict> RadioExchange::checkListing(TransceiverType type)
{
    if (!listingCheck_)
        co_return ListingVerdict::GoOn;
    // Named: GCC 12 mishandles the temporaries of a call awaited in place here.
    QCoro::Task<ListingVerdict> check = listingCheck_(listingIn(waiter_.reply()), type);
    co_return co_await check;
}

QCoro::Task<RadioExchange::Outcome> RadioExchange::writeChannel(int channel, TransceiverType type)
{
    const WaitEnd prompt = co_await waiter_.wait(channelPromptWait(channel, timing_.replyLimitSeconds));
    if (prompt.communicationError)
        co_return TransferFailure::Communication;
    if (timedOut(prompt))
        co_return TransferFailure::Timeout;
    view_.channelReached(channel);
    if (!link_.discardInput())
        co_return TransferFailure::Communication;
    // Read only now, so an edit made before this step is sent.
    const RadioDigits digits = radioDigits(view_.frequencyOfRow(type == TransceiverType::OneChannel ? 1 : channel));
    if (!co_await sendPaced(digits.megahertz))
        co_return TransferFailure::Communication;
    waiter_.clearReply();
    if ((co_await waiter_.wait(pointWait(timing_.replyLimitSeconds))).communicationError)
        co_return TransferFailure::Communication;
    if (!co_await sendPaced(digits.kilohertz))
        co_return TransferFailure::Communication;
    co_return std::nullopt;
}

// Saves into the radio's EEPROM and returns to its menu; no wait here fails by time.
QCoro::Task<RadioExchange::Outcome> RadioExchange::storeChannels(int channelCount)
{
    const int limit = timing_.replyLimitSeconds;
    if ((co_await waiter_.wait(storeQuestionWait(limit))).communicationError)
        co_return TransferFailure::Communication;
    echoReply(Echo::StoreQuestion);
    if (!co_await discardAndSend(QStringLiteral("S")))
        co_return TransferFailure::Communication;
    waiter_.clearReply();
    echoReply(Echo::Storing);
    const int eepromSeconds = eepromSecondsFor(channelCount);
    view_.countdownBegan(eepromSeconds);
    const WaitEnd ready = co_await waiter_.wait(readyWait(eepromSeconds));
    if (ready.communicationError)
        co_return TransferFailure::Communication;
    echoReply(Echo::Stored);
    view_.countdownEnded();
    if (!ready.satisfied)
        view_.note(QStringLiteral("the radio did not report ready"));
    if ((co_await waiter_.wait(menuWait(limit))).communicationError)
        co_return TransferFailure::Communication;
    if (!co_await sendPaced(kCarriageReturn))
        co_return TransferFailure::Communication;
    co_await view_.showNotice(kDownloadCompleted);
    co_return std::nullopt;
}

QCoro::Task<RadioExchange::Outcome> RadioExchange::uploadDialogue(TransceiverType type)
{
    if (const Outcome failure = co_await callUpListing())
        co_return failure;
    const QString listing = listingIn(waiter_.reply());
    if (!co_await sendPaced(QStringLiteral("N")))
        co_return TransferFailure::Communication;
    // The reply goes on from the listing, so its echo holds everything since "6".
    if ((co_await waiter_.wait(menuWait(timing_.replyLimitSeconds, Echo::Returning))).communicationError)
        co_return TransferFailure::Communication;
    echoReply(Echo::Returned);
    if (!co_await sendPaced(kCarriageReturn))
        co_return TransferFailure::Communication;
    storeListing(listing, type);
    co_await view_.showNotice(kUploadCompleted);
    co_return std::nullopt;
}

void RadioExchange::storeListing(const QString &listing, TransceiverType type)
{
    const QList<ListedChannel> channels = parseChannelListing(listing, type);
    for (const ListedChannel &channel : channels)
        view_.putFrequency(channel.row, channel.frequency);
    const QList<int> missing = rowsNotRead(channels, channelCountFor(type));
    if (!missing.isEmpty())
        view_.note(channelsNotRead(missing));
}

QCoro::Task<bool> RadioExchange::discardAndSend(QString text)
{
    if (!link_.discardInput())
        co_return false;
    co_return co_await sendPaced(text);
}

bool RadioExchange::timedOut(const WaitEnd &end) const
{
    return end.elapsedSeconds > timing_.replyLimitSeconds;
}
