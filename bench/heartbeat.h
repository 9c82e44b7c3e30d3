#pragma once

#include <QtCore/QTimer>

#include <chrono>

// Ticks every 10 ms on the window's thread; the longest gap between two ticks is the longest
// stretch the event loop did not run.
class Heartbeat {
public:
    using Clock = std::chrono::steady_clock;
    using Milliseconds = std::chrono::duration<double, std::milli>;

    Heartbeat();

    // Forgets the gaps so far.
    void restart();
    [[nodiscard]] Milliseconds longestGap() const { return longest_; }

private:
    void tick();

    QTimer timer_;
    Clock::time_point last_;
    Milliseconds longest_{0};
};
