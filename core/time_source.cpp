#include "core/time_source.h"

#include <QtCore/QTimer>

#include <utility>

namespace {

// A precise single-shot timer that re-arms itself if the system wakes it early.
class RealAlarm final : public Alarm {
public:
    RealAlarm(const QElapsedTimer &clock, TimeSource::ms when, std::function<void()> fire)
        : clock_(clock), when_(when), fire_(std::move(fire))
    {
        timer_.setSingleShot(true);
        timer_.setTimerType(Qt::PreciseTimer);
        QObject::connect(&timer_, &QTimer::timeout, [this] { onTimeout(); });
        arm();
    }

private:
    void arm() { timer_.start(std::max<qint64>(0, when_.count() - clock_.elapsed())); }

    void onTimeout()
    {
        if (clock_.elapsed() < when_.count()) {
            arm();
            return;
        }
        // Moved out first: the call may end the owner of this alarm.
        auto fire = std::move(fire_);
        fire();
    }

    const QElapsedTimer &clock_;
    TimeSource::ms when_;
    std::function<void()> fire_;
    QTimer timer_;
};

} // namespace

RealTimeSource::RealTimeSource()
{
    clock_.start();
}

TimeSource::ms RealTimeSource::now() const
{
    return ms(clock_.elapsed());
}

std::unique_ptr<Alarm> RealTimeSource::alarmAt(ms when, std::function<void()> fire)
{
    return std::make_unique<RealAlarm>(clock_, when, std::move(fire));
}

class VirtualTimeSource::VirtualAlarm final : public Alarm {
public:
    VirtualAlarm(Queue &queue, Key key) : queue_(queue), key_(key) {}
    ~VirtualAlarm() override { queue_.erase(key_); }

private:
    Queue &queue_;
    Key key_;
};

std::unique_ptr<Alarm> VirtualTimeSource::alarmAt(ms when, std::function<void()> fire)
{
    const Key key{std::max(when, now_), ++armed_};
    pending_.emplace(key, std::move(fire));
    return std::make_unique<VirtualAlarm>(pending_, key);
}

bool VirtualTimeSource::runNext()
{
    if (pending_.empty())
        return false;
    auto due = pending_.extract(pending_.begin());
    now_ = due.key().first;
    due.mapped()();
    return true;
}

void VirtualTimeSource::advanceTo(ms when)
{
    while (!pending_.empty() && pending_.begin()->first.first <= when)
        runNext();
    now_ = std::max(now_, when);
}

void Wakeup::fire()
{
    fired_ = true;
    if (auto waiter = std::exchange(waiter_, {}))
        waiter.resume();
}

QCoro::Task<> sleepUntil(TimeSource &time, TimeSource::ms when)
{
    Wakeup woken;
    const auto alarm = time.alarmAt(when, [&woken] { woken.fire(); });
    co_await woken;
}
