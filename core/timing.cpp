#include "core/timing.h"

#include <algorithm>

Timing Timing::scaled(int factor) const
{
    const auto shrink = [factor](ms value) { return std::max(ms(1), value / factor); };
    Timing result = *this;
    for (ms *value : {&result.second, &result.pace, &result.noticeLong, &result.noticeShort, &result.animation,
                      &result.countdownTick})
        *value = shrink(*value);
    return result;
}
