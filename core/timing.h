#pragma once

#include <chrono>

// Every duration the program uses, in one place. The program runs on the designed values;
// window tests scale them down.
struct Timing {
    using ms = std::chrono::milliseconds;

    ms second{1000}; // unit of the radio's whole-second reply limits
    ms pace{350}; // pause after each character sent to the radio
    ms noticeLong{4000}; // text notices and About
    ms noticeShort{1500}; // the notice timer at start-up, and after About
    ms animation{444}; // transfer animation tick
    ms countdownTick{1000}; // EEPROM countdown tick
    int replyLimitSeconds = 3;

    // All durations divided by factor (at least 1 ms each).
    [[nodiscard]] Timing scaled(int factor) const;
};
