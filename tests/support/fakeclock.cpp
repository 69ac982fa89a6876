#include "tests/support/fakeclock.h"

namespace skyrel::test {

FakeClock::FakeClock(int year, int month, int day, int hour, int minute, int second, int utcOffsetMinutes)
    : offsetMinutes_(utcOffsetMinutes) {
    setUtc(year, month, day, hour, minute, second);
}

void FakeClock::setUtc(int year, int month, int day, int hour, int minute, int second) {
    epochSeconds_ = nav::EpochSecondsOf(year, month, day, hour, minute, second);
}

nav::ClockReading FakeClock::utcNow() const { return nav::ReadingOfEpochSeconds(epochSeconds_); }
nav::ClockReading FakeClock::localNow() const {
    return nav::ReadingOfEpochSeconds(epochSeconds_ + offsetMinutes_ * 60LL);
}

}  // namespace skyrel::test
