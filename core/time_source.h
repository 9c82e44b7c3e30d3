#pragma once

#include <QtCore/QElapsedTimer>
#include <qcoro/qcorotask.h>

#include <chrono>
#include <coroutine>
#include <functional>
#include <map>
#include <memory>

// A pending call at a point in time; destroying it cancels the call.
class Alarm {
public:
    virtual ~Alarm() = default;
};

// The clock and timers the core runs on: real in the program, virtual in unit tests and fuzzers.
class TimeSource {
public:
    using ms = std::chrono::milliseconds;

    virtual ~TimeSource() = default;
    // Monotonic time since the source was made.
    [[nodiscard]] virtual ms now() const = 0;
    // Calls fire once, never before `when`. The call stops when the returned alarm is destroyed.
    [[nodiscard]] virtual std::unique_ptr<Alarm> alarmAt(ms when, std::function<void()> fire) = 0;
};

// Monotonic clock and precise Qt timers.
class RealTimeSource final : public TimeSource {
public:
    RealTimeSource();
    [[nodiscard]] ms now() const override;
    [[nodiscard]] std::unique_ptr<Alarm> alarmAt(ms when, std::function<void()> fire) override;

private:
    QElapsedTimer clock_;
};

// Time that moves only when told: a wait of thirty seconds costs nothing.
class VirtualTimeSource final : public TimeSource {
public:
    [[nodiscard]] ms now() const override { return now_; }
    [[nodiscard]] std::unique_ptr<Alarm> alarmAt(ms when, std::function<void()> fire) override;

    // Jumps to the earliest pending alarm and fires it; false when none is pending.
    bool runNext();
    // Fires, in order, every alarm due up to `when`, then stands at `when`.
    void advanceTo(ms when);

private:
    class VirtualAlarm;
    // Keyed by due time, then by order of arming, so equal times fire first come first served.
    using Key = std::pair<ms, quint64>;
    using Queue = std::map<Key, std::function<void()>>;

    ms now_{0};
    quint64 armed_ = 0;
    Queue pending_;
};

// Suspends one coroutine until fire() is called; a fire before the await is kept.
class Wakeup {
public:
    Wakeup() = default;
    Wakeup(const Wakeup &) = delete;
    Wakeup &operator=(const Wakeup &) = delete;

    void fire();

    auto operator co_await() noexcept
    {
        struct Awaiter {
            Wakeup &wakeup;
            [[nodiscard]] bool await_ready() const noexcept { return wakeup.fired_; }
            void await_suspend(std::coroutine_handle<> waiter) noexcept { wakeup.waiter_ = waiter; }
            void await_resume() const noexcept { wakeup.fired_ = false; }
        };
        return Awaiter{*this};
    }

private:
    std::coroutine_handle<> waiter_;
    bool fired_ = false;
};

// Resumes at `when` on the given time source.
QCoro::Task<> sleepUntil(TimeSource &time, TimeSource::ms when);
