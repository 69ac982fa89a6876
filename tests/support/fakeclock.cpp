#include "tests/support/fakeclock.h"

#include <chrono>

namespace skyrel::test {

FakeClock::FakeClock(int year, int month, int day, int hour, int minute, int second, int utcOffsetMinutes)
    : offsetMinutes_(utcOffsetMinutes) {
    setUtc(year, month, day, hour, minute, second);
}

void FakeClock::setUtc(int year, int month, int day, int hour, int minute, int second) {
    using namespace std::chrono;
    const sys_days d{std::chrono::year{year} / month / day};
    epochSeconds_ = d.time_since_epoch().count() * 86400LL + hour * 3600LL + minute * 60LL + second;
}

nav::ClockReading FakeClock::utcNow() const { return nav::ReadingOfEpochSeconds(epochSeconds_); }
nav::ClockReading FakeClock::localNow() const {
    return nav::ReadingOfEpochSeconds(epochSeconds_ + offsetMinutes_ * 60LL);
}

}  // namespace skyrel::test
