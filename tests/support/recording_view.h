#pragma once

#include "core/time_source.h"
#include "link/exchange_view.h"
#include "link/serial_link.h"

#include <QtCore/QStringList>

#include <functional>

// An ExchangeView that keeps what the exchange told it. Notices last four seconds; a failure's
// message box is dismissed two seconds after it opened.
class RecordingView final : public ExchangeView {
public:
    using ms = std::chrono::milliseconds;
    struct Failure {
        TransferFailure kind;
        OpenFailure portProblem;
        ms at;
        bool portOpen;
        bool running;
    };

    RecordingView(TimeSource &time, const SerialLink &link) : time_(time), link_(link) {}

    [[nodiscard]] TransceiverType transceiverType() const override { return type; }
    [[nodiscard]] int portNumber() const override { return port; }
    [[nodiscard]] QString frequencyOfRow(int row) const override { return rows.value(row - 1); }
    void transferStarted() override
    {
        running = true;
        startedUnderCountdown = countdownRunning;
    }
    void radioAnswered() override { answeredAt = time_.now(); }
    void channelReached(int channel) override { channels.append(channel); }
    void channelsSent() override { channels.append(0); }
    void countdownBegan(int seconds) override
    {
        countdowns.append(seconds);
        countdownRunning = true;
    }
    void countdownEnded() override { countdownRunning = false; }
    void echo(Echo stage, const QString &answer) override
    {
        if (echoed)
            echoed(stage, answer);
    }
    void note(const QString &line) override
    {
        notes.append(line);
        if (noted)
            noted(line);
    }
    void putFrequency(int row, const QString &admitted) override { rows[row - 1] = admitted; }
    void transferEnded() override { running = false; }
    QCoro::Task<> showNotice(QString text) override
    {
        notices.append(text);
        co_await sleepUntil(time_, time_.now() + ms(4000));
    }
    QCoro::Task<> showFailure(TransferFailure failure, OpenFailure portProblem) override
    {
        failures.append({failure, portProblem, time_.now(), link_.isOpen(), running});
        co_await sleepUntil(time_, time_.now() + ms(2000));
    }

    // What a test sets up.
    QStringList rows = QStringList(6, QStringLiteral("118.000"));
    TransceiverType type = TransceiverType::SixChannels;
    int port = 1;
    // Where the echo and the notes go on to, when set.
    std::function<void(Echo, const QString &)> echoed;
    std::function<void(const QString &)> noted;

    // What the exchange told.
    bool running = false;
    ms answeredAt{-1};
    QList<int> channels; // reached, then 0 once all were sent
    QList<int> countdowns; // the seconds of each begun
    bool countdownRunning = false;
    bool startedUnderCountdown = false;
    QStringList notes;
    QStringList notices;
    QList<Failure> failures;

private:
    TimeSource &time_;
    const SerialLink &link_;
};
