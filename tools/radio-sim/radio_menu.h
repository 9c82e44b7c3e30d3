#pragma once

#include <QtCore/QByteArray>
#include <QtCore/QString>

#include <array>
#include <chrono>
#include <optional>

// How the simulated radio misbehaves. The last two are faults of the line, not of the menu.
enum class Scenario {
    Normal,
    Silent, // never answers
    NoC, // answers "6" with a text that holds no "C"
    ShortListing, // the answer to "6" ends one character short: 149 characters from its "C"
    NoEditQuestion, // lists the channels without asking Y or N (still takes "Y")
    ShortPrompt, // the prompt for channel `value` ends after 51 characters from its "Channel"
    WrongChannel, // the prompt for channel `value` names the next channel
    NoPoint, // never echoes the "." after the two leading digits
    NoStoreQuestion, // never asks "S or R" (still takes "S")
    NeverReady, // never sends the ready text (still sends the menu line after the EEPROM write)
    ReadyAfter, // the ready text comes `value` seconds after "S"
    NoMenuLine, // never sends the menu line
    InvalidRecord, // record `value` (1..6) of the listing shows "999.999"
    HangUp, // the line drops on receiving byte number `value`
    LineNoise, // a burst of random printable bytes (never "C") before answering byte `value`
};

struct ScenarioChoice {
    Scenario scenario = Scenario::Normal;
    int value = 0;
};

using SimClock = std::chrono::steady_clock;
using Channels = std::array<QString, 6>;

Channels defaultChannels();

// The radio's text menu: takes one received byte at a time and says what the radio answers.
// Pure logic; the simulator feeds it from its line.
class RadioMenu {
public:
    RadioMenu(ScenarioChoice choice, std::chrono::milliseconds eepromDelay, Channels channels);

    // The answer to one received byte (possibly empty).
    QByteArray receive(char byte, SimClock::time_point now);
    // What falls due by `now` without input: the end of the EEPROM write.
    QByteArray due(SimClock::time_point now);
    // When `due` next has something to say.
    [[nodiscard]] std::optional<SimClock::time_point> deadline() const;
    [[nodiscard]] Channels channels() const { return channels_; }

    static QByteArray listingRecord(int channel, const QString &frequency);
    static QByteArray channelPrompt(int channel);
    static const QByteArray editQuestion;
    static const QByteArray storeQuestion;
    static const QByteArray writingText;
    static const QByteArray readyText;
    static const QByteArray menuLine;
    static const QByteArray unknownOption;

private:
    enum class State { Idle, Confirm, Digits, Store, Writing, Return };

    QByteArray listing() const;
    QByteArray prompt() const;
    QByteArray menu() const;
    QByteArray confirm(char byte);
    QByteArray digit(char byte);
    QByteArray store(char byte, SimClock::time_point now);
    QByteArray afterLastDecimal();
    [[nodiscard]] bool is(Scenario scenario) const { return choice_.scenario == scenario; }

    ScenarioChoice choice_;
    std::chrono::milliseconds eepromDelay_;
    Channels channels_;
    Channels typed_;
    State state_ = State::Idle;
    int channel_ = 1; // the channel being typed, 1..6
    QByteArray digits_; // digits typed for it so far
    SimClock::time_point writtenAt_;
};
