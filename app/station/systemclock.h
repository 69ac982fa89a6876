// The operating system's clock, read as UTC and as local wall-clock time.
#pragma once

#include "navlib/clocksource.h"

namespace skyrel {

class SystemClock : public nav::ClockSource {
public:
    nav::ClockReading utcNow() const override;
    nav::ClockReading localNow() const override;
};

}  // namespace skyrel
