#include "navlib/clocksource.h"

#include <chrono>

namespace nav {

ClockReading ReadingOfEpochSeconds(std::int64_t epochSeconds) {
    using namespace std::chrono;
    const sys_seconds instant{seconds{epochSeconds}};
    const sys_days day = floor<days>(instant);
    const year_month_day ymd{day};
    const hh_mm_ss time{instant - day};
    ClockReading r;
    r.year = static_cast<int>(ymd.year());
    r.month = static_cast<int>(static_cast<unsigned>(ymd.month()));
    r.day = static_cast<int>(static_cast<unsigned>(ymd.day()));
    r.dayOfWeek = static_cast<int>(weekday{day}.c_encoding());
    r.hour = static_cast<int>(time.hours().count());
    r.minute = static_cast<int>(time.minutes().count());
    r.second = static_cast<int>(time.seconds().count());
    return r;
}

std::int64_t EpochSecondsOf(int year, int month, int day, int hour, int minute, int second) {
    using namespace std::chrono;
    const sys_days date{std::chrono::year{year} / month / day};
    return date.time_since_epoch().count() * 86400LL + hour * 3600LL + minute * 60LL + second;
}

}  // namespace nav
