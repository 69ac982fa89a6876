// A clock that stands still at any instant the test sets, in any time zone.
#pragma once

#include <cstdint>

#include "navlib/clocksource.h"

namespace skyrel::test {

class FakeClock : public nav::ClockSource {
public:
    // utcOffsetMinutes: local minus UTC, e.g. -300 for UTC-5, 330 for UTC+5:30.
    explicit FakeClock(int year = 2005, int month = 9, int day = 21, int hour = 17, int minute = 15, int second = 0,
                       int utcOffsetMinutes = 0);

    void setUtc(int year, int month, int day, int hour, int minute, int second);
    void setUtcOffsetMinutes(int minutes) { offsetMinutes_ = minutes; }
    void advance(std::int64_t seconds) { epochSeconds_ += seconds; }
    std::int64_t epochSeconds() const { return epochSeconds_; }

    nav::ClockReading utcNow() const override;
    nav::ClockReading localNow() const override;

private:
    std::int64_t epochSeconds_ = 0;
    int offsetMinutes_ = 0;
};

}  // namespace skyrel::test
