#include "tests/support/fake_radio.h"

namespace {

const QByteArray kLineBreak = "\r\n";

} // namespace

const QByteArray FakeRadio::editQuestion =
    "\r\nEdit these channels? (Y = type new frequencies, N = keep them) ";
const QByteArray FakeRadio::storeQuestion = "Store the new channels? S or R (S = save, R = return) ";
const QByteArray FakeRadio::readyReport = "The radio is now ready for use.";
const QByteArray FakeRadio::menuLine = "(Press ENTER to return to the menu.)";

FakeRadio::FakeRadio(FakeLink &link)
    : listing(defaultListing()), link_(link)
{
    link_.setResponder([this](int, char byte) { receive(byte); });
}

QByteArray FakeRadio::listingOf(const QStringList &frequencies)
{
    QByteArray text;
    for (int k = 1; k <= frequencies.size(); ++k)
        text += QStringLiteral("Channel %1 :  %2 MHz").arg(k).arg(frequencies[k - 1]).toLatin1() +
                kLineBreak;
    return text;
}

QByteArray FakeRadio::defaultListing()
{
    return listingOf({"118.600", "121.500", "122.475", "123.450", "129.975", "134.125"}) +
           editQuestion;
}

// Long enough for the 52 characters the program expects from "Channel k" on.
QByteArray FakeRadio::channelPrompt(int channel)
{
    return QStringLiteral("Channel %1 - type the frequency, 118 to 137 MHz in 25 kHz steps: 1")
        .arg(channel)
        .toLatin1();
}

void FakeRadio::receive(char byte)
{
    if (byte == '\r') {
        state_ = State::Idle;
        return;
    }
    switch (state_) {
    case State::Idle:
        if (byte == '6') {
            state_ = State::Confirm;
            answer(listing);
        }
        return;
    case State::Confirm:
        if (byte == 'Y') {
            state_ = State::Digits;
            channel_ = 1;
            typed_.clear();
            answer("Y" + kLineBreak + promptFor(1));
        } else if (byte == 'N') {
            state_ = State::Done;
            answer("N" + kLineBreak + (sendsMenuLine ? menuLine : QByteArray()));
        }
        return;
    case State::Digits:
        digit(byte);
        return;
    case State::Store:
        if (byte != 'S')
            return;
        state_ = State::Done;
        answer("S" + kLineBreak + "Writing EEPROM..." + kLineBreak);
        if (eepromTime)
            link_.deliverAfter(*eepromTime, readyReport + kLineBreak +
                                                (sendsMenuLine ? menuLine : QByteArray()));
        return;
    case State::Done:
        return;
    }
}

void FakeRadio::answer(const QByteArray &text)
{
    link_.deliverAfter(answerDelay, text);
}

void FakeRadio::digit(char byte)
{
    digits_ += byte;
    QByteArray echo(1, byte);
    if (digits_.size() == 2 && echoesPoint)
        echo += '.';
    if (digits_.size() == 5) {
        typed_.append(QString::fromLatin1("1" + digits_.left(2) + "." + digits_.mid(2)));
        digits_.clear();
        echo += kLineBreak;
        if (typed_.size() < 6 && promptDelay > ms(0)) {
            link_.deliverAfter(answerDelay + promptDelay, promptFor(++channel_));
        } else if (typed_.size() < 6) {
            echo += promptFor(++channel_);
        } else {
            state_ = State::Store;
            if (asksStoreQuestion)
                echo += storeQuestion;
        }
    }
    answer(echo);
}
