#include "app/station/systemclock.h"

#include <QDateTime>

namespace skyrel {
namespace {

nav::ClockReading ReadingOf(const QDateTime& t) {
    const QDate d = t.date();
    const QTime tm = t.time();
    nav::ClockReading r;
    r.year = d.year();
    r.month = d.month();
    r.day = d.day();
    r.dayOfWeek = d.dayOfWeek() % 7;  // Qt counts Monday = 1 ... Sunday = 7; the engine counts Sunday = 0
    r.hour = tm.hour();
    r.minute = tm.minute();
    r.second = tm.second();
    return r;
}

}  // namespace

nav::ClockReading SystemClock::utcNow() const { return ReadingOf(QDateTime::currentDateTimeUtc()); }
nav::ClockReading SystemClock::localNow() const { return ReadingOf(QDateTime::currentDateTime()); }

}  // namespace skyrel
