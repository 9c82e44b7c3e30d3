#pragma once

#include "core/timing.h"
#include "link/exchange.h"
#include "tests/support/fake_link.h"
#include "tests/support/recording_view.h"

#include <QtCore/QStringList>

using namespace std::chrono_literals;
using ms = std::chrono::milliseconds;

inline const QStringList kSixChannels{"118.025", "121.500", "122.475", "123.450", "129.975", "136.975"};
inline const QByteArray kLineBreak = "\r\n";

// A stand-in for the radio's text menu behind a FakeLink: answers the download and the upload
// a short time after each byte. Every answer can be changed or withheld to set up a fault.
class FakeRadio {
public:
    static inline const QByteArray editQuestion = "\r\nEdit these channels? (Y = type new frequencies, N = keep them) ";
    static inline const QByteArray storeQuestion = "Store the new channels? S or R (S = save, R = return) ";
    static inline const QByteArray readyReport = "The radio is now ready for use.";
    static inline const QByteArray menuLine = "(Press ENTER to return to the menu.)";

    // Six records of 24 characters and their line breaks, the frequency at 14..20.
    static QByteArray listingOf(const QStringList &frequencies)
    {
        QByteArray text;
        for (int k = 1; k <= frequencies.size(); ++k)
            text += QStringLiteral("Channel %1 :  %2 MHz").arg(k).arg(frequencies[k - 1]).toLatin1() + kLineBreak;
        return text;
    }
    static QByteArray defaultListing()
    {
        return listingOf({"118.600", "121.500", "122.475", "123.450", "129.975", "134.125"}) + editQuestion;
    }
    // 60 characters from "Channel k" on, more than the 52 the program waits for.
    static QByteArray channelPrompt(int channel)
    {
        return QStringLiteral("Channel %1 - the frequency, 118 to 137 MHz in 25 kHz steps: 1").arg(channel).toLatin1();
    }

    explicit FakeRadio(FakeLink &link) : link_(link)
    {
        link_.responder = [this](char byte) { receive(byte); };
    }

    // The answer to "6".
    QByteArray listing = defaultListing();
    std::function<QByteArray(int channel)> promptFor = &FakeRadio::channelPrompt;
    // Extra delay of the prompts for channels 2..6 after the decimals' echo.
    ms promptDelay{0};
    bool echoesPoint = true;
    bool asksStoreQuestion = true;
    // From "S" to the ready report; none: the radio never reports ready.
    std::optional<ms> eepromTime = ms(12000);
    bool sendsMenuLine = true;

private:
    static constexpr ms kAnswerDelay{20};
    enum class State { Idle, Confirm, Digits, Store, Done };

    void answer(const QByteArray &text) { link_.deliverAfter(kAnswerDelay, text); }
    QByteArray menu() const { return sendsMenuLine ? menuLine : QByteArray(); }

    void receive(char byte)
    {
        if (byte == '\r') {
            state_ = State::Idle;
        } else if (state_ == State::Idle && byte == '6') {
            state_ = State::Confirm;
            answer(listing);
        } else if (state_ == State::Confirm && byte == 'Y') {
            state_ = State::Digits;
            channel_ = 1;
            answer("Y" + kLineBreak + promptFor(1));
        } else if (state_ == State::Confirm && byte == 'N') {
            state_ = State::Done;
            answer("N" + kLineBreak + menu());
        } else if (state_ == State::Digits) {
            digit(byte);
        } else if (state_ == State::Store && byte == 'S') {
            state_ = State::Done;
            answer("S" + kLineBreak + "Writing EEPROM..." + kLineBreak);
            if (eepromTime)
                link_.deliverAfter(*eepromTime, readyReport + kLineBreak + menu());
        }
    }

    void digit(char byte)
    {
        digits_ += byte;
        QByteArray echo(1, byte);
        if (digits_.size() == 2 && echoesPoint)
            echo += '.';
        if (digits_.size() == 5) {
            digits_.clear();
            echo += kLineBreak;
            if (channel_ == 6) {
                state_ = State::Store;
                echo += asksStoreQuestion ? storeQuestion : QByteArray();
            } else if (promptDelay > 0ms) {
                link_.deliverAfter(kAnswerDelay + promptDelay, promptFor(++channel_));
            } else {
                echo += promptFor(++channel_);
            }
        }
        answer(echo);
    }

    FakeLink &link_;
    State state_ = State::Idle;
    int channel_ = 0;
    QByteArray digits_;
};

// One radio, one window and the exchange between them, on virtual time.
struct ExchangeBench {
    VirtualTimeSource time;
    FakeLink link{time};
    FakeRadio radio{link};
    RecordingView view{time, link};
    RadioExchange exchange{link, view, time, Timing{}};
    std::vector<std::unique_ptr<Alarm>> alarms;

    ExchangeBench() { view.rows = kSixChannels; }

    // Runs a transfer to its end; false when it hangs with nothing left to happen.
    bool run(bool upload)
    {
        QCoro::Task<> task = upload ? exchange.uploadFromRadio() : exchange.downloadToRadio();
        while (!task.isReady()) {
            if (!time.runNext())
                return false;
        }
        return true;
    }
    bool download() { return run(false); }
    bool upload() { return run(true); }

    // Runs an action at a moment in the middle of a transfer.
    void at(ms when, std::function<void()> action) { alarms.push_back(time.alarmAt(when, std::move(action))); }

    [[nodiscard]] QString failure() const { return view.failures.isEmpty() ? QString() : view.failures.last().message; }
    [[nodiscard]] ms failureTime() const { return view.failures.isEmpty() ? ms(-1) : view.failures.last().at; }
    // When the n-th byte (0-based) was written, or -1 when it never was.
    [[nodiscard]] ms writtenAt(int index) const { return link.writtenTimes.value(index, ms(-1)); }
};
