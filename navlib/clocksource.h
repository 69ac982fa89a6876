// The system clock as the engine sees it: two wall-clock readings, UTC and local.
#pragma once

#include <cstdint>

namespace nav {

// One reading of a wall clock. dayOfWeek counts 0 = Sunday.
struct ClockReading {
    int year = 0, month = 0, dayOfWeek = 0, day = 0;
    int hour = 0, minute = 0, second = 0;
};

// The proleptic Gregorian reading of a count of seconds since 1970-01-01 00:00:00.
ClockReading ReadingOfEpochSeconds(std::int64_t epochSeconds);
// And back: the seconds since 1970-01-01 00:00:00 of a proleptic Gregorian date and time.
std::int64_t EpochSecondsOf(int year, int month, int day, int hour, int minute, int second);

// Supplies the present instant. The program reads the operating system; tests put it at any instant.
class ClockSource {
public:
    virtual ~ClockSource() = default;
    virtual ClockReading utcNow() const = 0;
    virtual ClockReading localNow() const = 0;
};

}  // namespace nav
