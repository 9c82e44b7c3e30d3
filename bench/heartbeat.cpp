#include "heartbeat.h"

#include <algorithm>

Heartbeat::Heartbeat()
{
    timer_.setTimerType(Qt::PreciseTimer);
    timer_.setInterval(std::chrono::milliseconds(10));
    QObject::connect(&timer_, &QTimer::timeout, [this] { tick(); });
    restart();
    timer_.start();
}

void Heartbeat::restart()
{
    last_ = Clock::now();
    longest_ = Milliseconds(0);
}

void Heartbeat::tick()
{
    const Clock::time_point now = Clock::now();
    longest_ = std::max(longest_, Milliseconds(now - last_));
    last_ = now;
}
