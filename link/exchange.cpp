#include "link/exchange.h"

#include "channels/frequency.h"
#include "core/blanks.h"
#include "core/logging.h"
#include "link/exchange_listing.h"
#include "link/exchange_view.h"
#include "link/serial_link.h"

#include <QtCore/QStringList>

namespace {

const QString kCarriageReturn = QStringLiteral("\r");
// The channel menu of both radio models.
const QString kMenuSelection = QStringLiteral("6");
const QString kDownloadCompleted = QStringLiteral("Download Completed. Power Radio OFF / ON.");
const QString kUploadCompleted = QStringLiteral("Upload Completed");
const QString kLineBreaks = QStringLiteral("\r\n\r\n");

// Far beyond any echo: the pane cuts it to its end, so the newest text is in view.
constexpr qsizetype kCaretAtEnd = 10000;
constexpr qsizetype kCaretFarEnd = 40000;

// Six records of 26 characters; the sixth frequency ends 150 characters after the first "C".
constexpr qsizetype kListingLength = 150;
constexpr qsizetype kEditQuestionLength = 45;
constexpr qsizetype kChannelPromptLength = 52;

ReplyWait listingWait(int limit)
{
    return {QStringLiteral("C"), MatchRule::Length, kListingLength, limit, PaneEcho::None};
}

ReplyWait editQuestionWait(int limit)
{
    return {QStringLiteral("E"), MatchRule::Length, kEditQuestionLength, limit, PaneEcho::None};
}

ReplyWait channelPromptWait(int channel, int limit)
{
    return {QStringLiteral("Channel %1").arg(channel), MatchRule::Length, kChannelPromptLength, limit,
            PaneEcho::TextAndCaret};
}

ReplyWait pointWait(int limit)
{
    return {QStringLiteral("."), MatchRule::Position, 0, limit, PaneEcho::None};
}

ReplyWait storeQuestionWait(int limit)
{
    return {QStringLiteral("S or R"), MatchRule::Position, 0, limit, PaneEcho::None};
}

ReplyWait readyWait(int eepromSeconds)
{
    return {QStringLiteral("The radio is now ready for use."), MatchRule::Position, 0, eepromSeconds, PaneEcho::Text};
}

ReplyWait menuWait(int limit, PaneEcho pane)
{
    return {QStringLiteral("menu.)"), MatchRule::Position, 0, limit, pane};
}

QString describeOpenFailure(int port, const OpenFailure &failure)
{
    if (failure.device.isEmpty())
        return QStringLiteral("COM%1: %2").arg(port).arg(failure.reason);
    return QStringLiteral("COM%1 is %2: %3").arg(port).arg(failure.device, failure.reason);
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
    const bool singleChannel = beginTransfer();
    if (auto problem = openPort()) {
        co_await endTransfer(TransferFailure::InvalidPort, problem);
        co_return;
    }
    // A failed write here is not yet an error: the menu selection that follows decides.
    if (!co_await sendPaced(kCarriageReturn) && !lifetime_.ended())
        qCWarning(lcSerial) << "the carriage return that wakes the radio's menu could not be written";
    const Outcome outcome = co_await (this->*dialogue)(singleChannel);
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
bool RadioExchange::beginTransfer()
{
    // A countdown left running by a failed download must not run into this transfer.
    view_.endEepromCountdown();
    view_.enableTransferCommands(false);
    view_.setTransferRunning(true);
    const bool singleChannel = view_.singleChannel();
    view_.setTerminalText({});
    trace_.start();
    return singleChannel;
}

// Empty when the port is open with an empty receive buffer; else the line saying why not.
std::optional<QString> RadioExchange::openPort()
{
    const int port = view_.portNumber();
    if (!link_.isOpen()) {
        if (!link_.setPortNumber(port))
            return QStringLiteral("COM%1: not a serial port number").arg(port);
        if (const auto failure = link_.open())
            return describeOpenFailure(port, *failure);
    }
    if (!link_.discardInput())
        return QStringLiteral("COM%1: the receive buffer could not be cleared").arg(port);
    return std::nullopt;
}

// The failure's message comes while the port is still open and the commands still locked.
QCoro::Task<> RadioExchange::endTransfer(Outcome outcome, std::optional<QString> openProblem)
{
    if (openProblem)
        view_.addTerminalLine(*openProblem);
    if (outcome) {
        co_await view_.showFailure(failureMessage(*outcome));
        if (lifetime_.ended())
            co_return;
    } else {
        view_.enableTransferCommands(true);
    }
    if (outcome != TransferFailure::InvalidPort && link_.isOpen())
        link_.close();
    view_.setTransferRunning(false);
    if (outcome)
        view_.enableTransferCommands(true);
}

QCoro::Task<RadioExchange::Outcome> RadioExchange::callUpListing()
{
    if (!co_await sendPaced(kMenuSelection))
        co_return TransferFailure::Communication;
    waiter_.clearReply();
    const WaitEnd end = co_await waiter_.wait(listingWait(timing_.replyLimitSeconds));
    if (end.communicationError)
        co_return TransferFailure::Communication;
    view_.setTerminalText(waiter_.reply());
    view_.placeTerminalCaret(kCaretAtEnd);
    if (timedOut(end))
        co_return TransferFailure::Timeout;
    co_return std::nullopt;
}

QCoro::Task<RadioExchange::Outcome> RadioExchange::downloadDialogue(bool singleChannel)
{
    if (const Outcome failure = co_await callUpListing())
        co_return failure;
    if (listingCheck_ && !listingCheck_(listingIn(waiter_.reply()))) {
        // Answered as by an upload: the radio keeps its channels and returns to its menu.
        if (!co_await sendPaced(QStringLiteral("N")))
            co_return TransferFailure::Communication;
        if ((co_await waiter_.wait(menuWait(timing_.replyLimitSeconds, PaneEcho::None))).communicationError)
            co_return TransferFailure::Communication;
        if (!co_await sendPaced(kCarriageReturn))
            co_return TransferFailure::Communication;
        co_return std::nullopt;
    }
    view_.startAnimation();
    // Goes on whether or not the question came in time.
    if ((co_await waiter_.wait(editQuestionWait(timing_.replyLimitSeconds))).communicationError)
        co_return TransferFailure::Communication;
    if (!co_await discardAndSend(QStringLiteral("Y")))
        co_return TransferFailure::Communication;
    view_.setTerminalText({});
    waiter_.clearReply();
    for (int channel = 1; channel <= kTableRows; ++channel) {
        if (const Outcome failure = co_await writeChannel(channel, singleChannel))
            co_return failure;
    }
    view_.deselectRow(kTableRows);
    view_.refreshWindow();
    co_return co_await storeChannels(channelCountFor(singleChannel));
}

QCoro::Task<RadioExchange::Outcome> RadioExchange::writeChannel(int channel, bool singleChannel)
{
    const WaitEnd prompt = co_await waiter_.wait(channelPromptWait(channel, timing_.replyLimitSeconds));
    if (prompt.communicationError)
        co_return TransferFailure::Communication;
    if (timedOut(prompt))
        co_return TransferFailure::Timeout;
    view_.highlightRow(channel);
    if (!link_.discardInput())
        co_return TransferFailure::Communication;
    // Read only now, so an edit made before this step is sent.
    const RadioDigits digits = radioDigits(view_.frequencyOfRow(singleChannel ? 1 : channel));
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
    appendReplyToPane();
    if (!co_await discardAndSend(QStringLiteral("S")))
        co_return TransferFailure::Communication;
    waiter_.clearReply();
    view_.setTerminalText({});
    const int eepromSeconds = eepromSecondsFor(channelCount);
    view_.startEepromCountdown(eepromSeconds);
    const WaitEnd ready = co_await waiter_.wait(readyWait(eepromSeconds));
    if (ready.communicationError)
        co_return TransferFailure::Communication;
    view_.setTerminalText(view_.terminalText() + kLineBreaks);
    view_.placeTerminalCaret(kCaretFarEnd);
    view_.endEepromCountdown();
    if (!ready.satisfied)
        view_.addTerminalLine(QStringLiteral("the radio did not report ready"));
    if ((co_await waiter_.wait(menuWait(limit, PaneEcho::None))).communicationError)
        co_return TransferFailure::Communication;
    if (!co_await sendPaced(kCarriageReturn))
        co_return TransferFailure::Communication;
    // Otherwise the next tick would write over the notice.
    view_.stopAnimation();
    co_await view_.showNotice(kDownloadCompleted);
    co_return std::nullopt;
}

QCoro::Task<RadioExchange::Outcome> RadioExchange::uploadDialogue(bool singleChannel)
{
    if (const Outcome failure = co_await callUpListing())
        co_return failure;
    const QString listing = listingIn(waiter_.reply());
    view_.startAnimation();
    if (!co_await sendPaced(QStringLiteral("N")))
        co_return TransferFailure::Communication;
    // The reply goes on from the listing, so the pane shows everything since "6".
    if ((co_await waiter_.wait(menuWait(timing_.replyLimitSeconds, PaneEcho::Text))).communicationError)
        co_return TransferFailure::Communication;
    view_.placeTerminalCaret(kCaretFarEnd);
    if (!co_await sendPaced(kCarriageReturn))
        co_return TransferFailure::Communication;
    storeListing(listing, singleChannel);
    // Otherwise the next tick would write over the notice.
    view_.stopAnimation();
    co_await view_.showNotice(kUploadCompleted);
    co_return std::nullopt;
}

void RadioExchange::storeListing(const QString &listing, bool singleChannel)
{
    const QList<ListedChannel> channels = parseChannelListing(listing, singleChannel);
    for (const ListedChannel &channel : channels)
        view_.putFrequency(channel.row, channel.frequency);
    const QList<int> missing = rowsNotRead(channels, channelCountFor(singleChannel));
    if (!missing.isEmpty())
        view_.addTerminalLine(channelsNotRead(missing));
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

void RadioExchange::appendReplyToPane()
{
    view_.setTerminalText(view_.terminalText() + waiter_.reply());
    view_.placeTerminalCaret(kCaretAtEnd);
}
