#pragma once

#include "core/time_source.h"

#include <QtCore/QObject>
#include <qcoro/qcorotask.h>

#include <initializer_list>
#include <vector>

// The span in which an owner's coroutines may touch it. A coroutine task cannot be cancelled,
// and one left suspended when its owner goes would resume on freed memory; so every await of an
// owner's coroutines watches its lifetime, returns early when it ends, and the coroutine then
// returns at once without touching the owner.
class Lifetime {
public:
    Lifetime() = default;
    Lifetime(const Lifetime &) = delete;
    Lifetime &operator=(const Lifetime &) = delete;
    ~Lifetime() { end(); }

    [[nodiscard]] bool ended() const { return ended_; }
    // Wakes every await watching it; awaits begun later return at once.
    void end() { endTogether({this}); }
    // Marks all of them ended before waking any, so a coroutine woken by one finds the others
    // ended as well, whichever of them it checks.
    static void endTogether(std::initializer_list<Lifetime *> lifetimes);

    // Registers a wakeup for as long as it exists: the end fires it, or fires it at once when
    // the lifetime has ended already.
    class Watch {
    public:
        Watch(Lifetime &lifetime, Wakeup &wakeup);
        Watch(const Watch &) = delete;
        Watch &operator=(const Watch &) = delete;
        ~Watch();

    private:
        Lifetime &lifetime_;
        Wakeup &wakeup_;
    };

private:
    void wakeAll();

    std::vector<Wakeup *> watching_;
    bool ended_ = false;
};

// Resumes at `when`, or as soon as the lifetime ends; true when the time has come.
QCoro::Task<bool> sleepUntil(TimeSource &time, TimeSource::ms when, Lifetime &lifetime);

// Resumes inside the emission of sender's signal, so nothing runs in between, or as soon as the
// lifetime ends.
template <typename Sender, typename Signal>
QCoro::Task<> untilSignal(Sender *sender, Signal signal, Lifetime &lifetime)
{
    Wakeup woken;
    const Lifetime::Watch watch(lifetime, woken);
    const QMetaObject::Connection connection = QObject::connect(sender, signal, [&woken] { woken.fire(); });
    co_await woken;
    QObject::disconnect(connection);
}
