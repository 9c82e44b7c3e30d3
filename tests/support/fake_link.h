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

    explicit FakeLink(VirtualTimeSource &time) : time_(time) {}

    [[nodiscard]] bool isOpen() const override { return open_; }
    bool setPortNumber(int) override { return !refusePortNumbers && !open_; }
    std::optional<OpenFailure> open() override;
    bool discardInput() override;
    bool writeChar(char byte) override;
    std::optional<QString> readAll() override;
    void close() override;

    // Script: text arrives at a moment, or a delay after the write with the given index.
    void deliverAt(ms when, QByteArray text);
    void deliverAfter(ms delay, QByteArray text) { deliverAt(time_.now() + delay, std::move(text)); }
    void replyAfterWrite(int index, QByteArray text, ms delay);
    // The device goes away: the port closes and lineLost is emitted.
    void loseLineAt(ms when);

    // Faults; a write's index counts every write attempted.
    bool refusePortNumbers = false;
    std::optional<OpenFailure> openFailure;
    bool failDiscard = false;
    int failWritesFrom = 1 << 30;
    int failWritesUntil = 1 << 30;
    // Called after each accepted write.
    std::function<void(char byte)> responder;

    // Records.
    QByteArray writtenBytes;
    QList<ms> writtenTimes;
    QList<ms> closedAt;
    int openCount = 0;
    // True while anything listens to dataArrived or lineLost.
    [[nodiscard]] bool hasListeners() const;

private:
    void schedule(ms when, std::function<void()> action);

    VirtualTimeSource &time_;
    std::vector<std::unique_ptr<Alarm>> alarms_;
    QList<std::pair<int, std::pair<QByteArray, ms>>> repliesAfterWrite_;
    QByteArray buffer_;
    bool open_ = false;
    int attempts_ = 0;
};
