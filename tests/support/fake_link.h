#pragma once

#include "core/time_source.h"
#include "link/serial_link.h"

#include <QtCore/QByteArray>
#include <QtCore/QList>

#include <functional>
#include <memory>
#include <optional>
#include <vector>

// A serial link on virtual time that records every byte written and answers from a script.
class FakeLink final : public SerialLink {
public:
    using ms = std::chrono::milliseconds;
    struct Written {
        char byte;
        ms at;
    };
    // Called after each accepted write with the 0-based index of the attempt.
    using Responder = std::function<void(int index, char byte)>;

    explicit FakeLink(VirtualTimeSource &time);

    [[nodiscard]] bool isOpen() const override { return open_; }
    bool setPortNumber(int number) override;
    std::optional<OpenFailure> open() override;
    bool discardInput() override;
    bool writeChar(char byte) override;
    std::optional<QString> readAll() override;
    void close() override;

    // Script: text arrives at a moment, or a delay after a given write.
    void deliverAt(ms when, QByteArray text);
    void deliverAfter(ms delay, QByteArray text);
    void replyAfterWrite(int index, QByteArray text, ms delay = ms(0));
    void setResponder(Responder responder) { responder_ = std::move(responder); }

    // Faults.
    void refusePortNumbers() { refusePortNumbers_ = true; }
    void failOpen(OpenFailure failure) { openFailure_ = std::move(failure); }
    void failDiscard() { failDiscard_ = true; }
    // Writes with index from..from+count-1 fail (an index counts every write attempted).
    void failWrites(int from, int count = 1 << 30) { failedWrites_ = {from, count}; }
    // The device goes away: the port closes and lineLost is emitted.
    void loseLineAt(ms when);

    // Records.
    [[nodiscard]] const QList<Written> &written() const { return written_; }
    [[nodiscard]] QByteArray writtenBytes() const;
    [[nodiscard]] QList<ms> writtenTimes() const;
    [[nodiscard]] int portNumber() const { return portNumber_; }
    [[nodiscard]] int openCount() const { return openCount_; }
    [[nodiscard]] const QList<ms> &closedAt() const { return closedAt_; }
    [[nodiscard]] const QList<ms> &discardedAt() const { return discardedAt_; }
    // True while anything listens to dataArrived or lineLost.
    [[nodiscard]] bool hasListeners() const;

private:
    void schedule(ms when, std::function<void()> action);
    void arrive(const QByteArray &text);
    void loseLine();

    VirtualTimeSource &time_;
    std::vector<std::unique_ptr<Alarm>> alarms_;
    QList<std::pair<int, std::pair<QByteArray, ms>>> repliesAfterWrite_;
    Responder responder_;
    QByteArray buffer_;
    bool open_ = false;
    int portNumber_ = 0;
    int openCount_ = 0;
    bool refusePortNumbers_ = false;
    std::optional<OpenFailure> openFailure_;
    bool failDiscard_ = false;
    std::pair<int, int> failedWrites_{0, 0};
    int attempts_ = 0;
    QList<Written> written_;
    QList<ms> closedAt_;
    QList<ms> discardedAt_;
};
