#pragma once

#include "tests/support/fake_link.h"

#include <QtCore/QStringList>

#include <optional>

// A stand-in for the radio's text menu behind a FakeLink: answers the download and the upload
// a short time after each byte. Every answer can be changed or withheld to set up a fault.
class FakeRadio {
public:
    using ms = std::chrono::milliseconds;

    explicit FakeRadio(FakeLink &link);

    // Six listing records of 24 characters and their line breaks, the frequency at 14..20.
    static QByteArray listingOf(const QStringList &frequencies);
    // Six valid records and the edit question: the listing a radio sends by default.
    static QByteArray defaultListing();
    static QByteArray channelPrompt(int channel);
    static const QByteArray editQuestion;
    static const QByteArray storeQuestion;
    static const QByteArray readyReport;
    static const QByteArray menuLine;

    // The answer to "6"; the default holds six valid records and the edit question.
    QByteArray listing;
    // The prompt for channel k; channelPrompt unless a test changes it.
    std::function<QByteArray(int channel)> promptFor = &FakeRadio::channelPrompt;
    // Delay from a byte to its answer.
    ms answerDelay{20};
    // Extra delay of the prompts for channels 2..6 after the decimals' echo.
    ms promptDelay{0};
    bool echoesPoint = true;
    bool asksStoreQuestion = true;
    // From "S" to the ready report; none: the radio never reports ready.
    std::optional<ms> eepromTime = ms(12000);
    bool sendsMenuLine = true;

    [[nodiscard]] const QStringList &typedFrequencies() const { return typed_; }

private:
    void receive(char byte);
    void answer(const QByteArray &text);
    void digit(char byte);

    enum class State { Idle, Confirm, Digits, Store, Done };

    FakeLink &link_;
    State state_ = State::Idle;
    int channel_ = 0;
    QByteArray digits_;
    QStringList typed_;
};
