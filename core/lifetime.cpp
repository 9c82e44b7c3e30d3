#include "core/lifetime.h"

#include <algorithm>

void Lifetime::endTogether(std::initializer_list<Lifetime *> lifetimes)
{
    for (Lifetime *lifetime : lifetimes)
        lifetime->ended_ = true;
    for (Lifetime *lifetime : lifetimes)
        lifetime->wakeAll();
}

// One at a time: a coroutine that resumes may end, and unregister, other watches.
void Lifetime::wakeAll()
{
    while (!watching_.empty()) {
        Wakeup *wakeup = watching_.back();
        watching_.pop_back();
        wakeup->fire();
    }
}

Lifetime::Watch::Watch(Lifetime &lifetime, Wakeup &wakeup) : lifetime_(lifetime), wakeup_(wakeup)
{
    if (lifetime.ended())
        wakeup.fire();
    else
        lifetime.watching_.push_back(&wakeup);
}

Lifetime::Watch::~Watch()
{
    std::erase(lifetime_.watching_, &wakeup_);
}

QCoro::Task<bool> sleepUntil(TimeSource &time, TimeSource::ms when, Lifetime &lifetime)
{
    Wakeup woken;
    const Lifetime::Watch watch(lifetime, woken);
    const auto alarm = time.alarmAt(when, [&woken] { woken.fire(); });
    co_await woken;
    co_return !lifetime.ended();
}
