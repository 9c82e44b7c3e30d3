#include "radio_menu.h"

namespace {

constexpr char carriageReturn = '\r';
constexpr int digitsPerChannel = 5;
const QByteArray lineBreak = "\r\n";

} // namespace

const QByteArray RadioMenu::editQuestion =
    "\r\nEdit these channels? (Y = enter new frequencies, N = leave them as they are) ";
const QByteArray RadioMenu::storeQuestion =
    "Save the new channels to memory? S or R (S = save, R = return without saving) ";
const QByteArray RadioMenu::writingText = "Writing EEPROM, please wait...\r\n";
const QByteArray RadioMenu::readyText = "The radio is now ready for use.";
const QByteArray RadioMenu::menuLine = "(Press ENTER to return to the menu.)";
const QByteArray RadioMenu::unknownOption = "Option 6 is not available on this unit.\r\n";

Channels defaultChannels()
{
    return {"118.600", "121.500", "122.475", "123.450", "129.975", "134.125"};
}

RadioMenu::RadioMenu(ScenarioChoice choice, std::chrono::milliseconds eepromDelay, Channels channels)
    : choice_(choice), eepromDelay_(is(Scenario::ReadyAfter) ? std::chrono::seconds(choice.value) : eepromDelay),
      channels_(std::move(channels))
{
}

// "Channel k :  118.000 MHz": 24 characters, the frequency at 14..20.
QByteArray RadioMenu::listingRecord(int channel, const QString &frequency)
{
    return QStringLiteral("Channel %1 :  %2 MHz").arg(channel).arg(frequency.leftJustified(7, u' ', true)).toLatin1();
}

// Ends with the hundreds digit, which is fixed: the user types the two digits after it.
QByteArray RadioMenu::channelPrompt(int channel)
{
    return QStringLiteral("Channel %1 - type the new frequency, 118 to 137 MHz, in 25 kHz steps: 1")
        .arg(channel)
        .toLatin1();
}

QByteArray RadioMenu::receive(char byte, SimClock::time_point now)
{
    if (is(Scenario::Silent) || state_ == State::Writing)
        return {};
    if (byte == carriageReturn) {
        state_ = State::Idle;
        return {};
    }
    switch (state_) {
    case State::Idle:
        if (byte != '6')
            return {};
        if (is(Scenario::NoC))
            return unknownOption;
        state_ = State::Confirm;
        return is(Scenario::ShortListing) ? listing().left(149) : listing();
    case State::Confirm:
        return confirm(byte);
    case State::Digits:
        return digit(byte);
    case State::Store:
        return store(byte, now);
    case State::Writing:
    case State::Return:
        break;
    }
    return {};
}

QByteArray RadioMenu::listing() const
{
    QByteArray text;
    for (int k = 1; k <= 6; ++k) {
        const bool broken = is(Scenario::InvalidRecord) && choice_.value == k;
        text += listingRecord(k, broken ? QStringLiteral("999.999") : channels_[k - 1]) + lineBreak;
    }
    return is(Scenario::NoEditQuestion) ? text : text + editQuestion;
}

QByteArray RadioMenu::prompt() const
{
    const bool faulty = choice_.value == channel_;
    if (faulty && is(Scenario::WrongChannel))
        return channelPrompt(channel_ + 1);
    const QByteArray text = channelPrompt(channel_);
    return faulty && is(Scenario::ShortPrompt) ? text.left(51) : text;
}

QByteArray RadioMenu::menu() const
{
    return is(Scenario::NoMenuLine) ? QByteArray() : menuLine;
}

QByteArray RadioMenu::confirm(char byte)
{
    if (byte == 'Y') {
        state_ = State::Digits;
        channel_ = 1;
        digits_.clear();
        typed_ = channels_;
        return "Y" + lineBreak + lineBreak + prompt();
    }
    if (byte == 'N') {
        state_ = State::Return;
        return "N" + lineBreak + menu();
    }
    return {};
}

QByteArray RadioMenu::digit(char byte)
{
    if (byte < '0' || byte > '9')
        return {};
    digits_ += byte;
    QByteArray echo(1, byte);
    if (digits_.size() == 2 && !is(Scenario::NoPoint))
        echo += '.';
    if (digits_.size() == digitsPerChannel)
        echo += afterLastDecimal();
    return echo;
}

QByteArray RadioMenu::afterLastDecimal()
{
    typed_[channel_ - 1] = QString::fromLatin1("1" + digits_.left(2) + "." + digits_.mid(2));
    digits_.clear();
    if (channel_ < 6) {
        ++channel_;
        return lineBreak + prompt();
    }
    state_ = State::Store;
    return is(Scenario::NoStoreQuestion) ? lineBreak : lineBreak + storeQuestion;
}

QByteArray RadioMenu::store(char byte, SimClock::time_point now)
{
    if (byte == 'S') {
        state_ = State::Writing;
        writtenAt_ = now + eepromDelay_;
        return "S" + lineBreak + writingText;
    }
    if (byte == 'R') {
        state_ = State::Return;
        return "R" + lineBreak + "Nothing saved." + lineBreak + menu();
    }
    return {};
}

QByteArray RadioMenu::due(SimClock::time_point now)
{
    if (state_ != State::Writing || now < writtenAt_)
        return {};
    channels_ = typed_;
    state_ = State::Return;
    return is(Scenario::NeverReady) ? menu() : readyText + lineBreak + menu();
}

std::optional<SimClock::time_point> RadioMenu::deadline() const
{
    if (state_ != State::Writing)
        return std::nullopt;
    return writtenAt_;
}
