// Time and calendar: day numbers, the clock reading of each cycle, sidereal time and the clock text.
//
// Day numbers count every fourth year as a leap year, with 2000 January 1 = 730135; they are exact from
// 1901 March 1 to 2100 February 28. N + fraction + 1721409.5 is the Julian date.
#pragma once

#include <string>

#include "navlib/clocksource.h"
#include "navlib/skystate.h"

namespace nav {

// Day number of the calendar date (Y, M, D). Both products are truncated separately.
int DayNumber(int year, int month, int day);

// "YYYY Mon DD [Www]" of a day number, e.g. 730135 -> "2000 Jan 01 [Sat]".
std::string FormatDayNumber(int dayNumber);

// The second of the UTC day the clock was read at, 0..86399 (its fraction is of whole seconds).
long long SecondOfDay(const ClockState& clock);

// "HH:MM:SS" of a day fraction; half a second is added first so whole-second fractions print exactly.
std::string FormatTimeOfDay(double fraction);

// Reads the clock into `clock`. Automatic: the six fields are the UTC reading and the local day is left
// alone. Manual: the six fields are the local reading and UTC is local minus clockOffset (hours).
void ReadClock(ClockState& clock, const ClockSource& source, bool autoTime, double clockOffset);

// Local day and fraction -> UTC day and fraction (clockOffset in hours, local minus UTC). The whole days
// are carried in one step, so any offset, however large, takes the same few operations; the resulting
// fraction lies in [0, 1) and the day stops at the ends of the int range. Exact to the rounding of one
// addition.
void LocalToUtc(ClockState& clock, double clockOffset);
// UTC day and fraction -> local day and fraction; as LocalToUtc the other way.
void UtcToLocal(ClockState& clock, double clockOffset);

// Local minus UTC in hours from the two system clocks, rounded half away from zero to a tenth.
// Seconds are ignored; a minute roll-over between the readings is absorbed by the rounding.
double AutoClockOffset(const ClockSource& source);

// Greenwich mean sidereal time (radians, not reduced) of clock.utcDay + clock.utcFraction:
// IAU 1982 mean sidereal time at 0h UT plus the rotation since 0h.
void ComputeGmst(ClockState& clock);

// The date/time text of the main window: characters 1-17 the date, two blanks, 8 characters of time.
// With showUtc false it is the local wall clock. With showUtc true it is UTC: read from the system in
// automatic mode, or derived from the local clock and clockOffset in manual mode (which also stores
// localDay and localFraction in `clock`).
std::string ClockText(ClockState& clock, const ClockSource& source, bool showUtc, bool autoTime,
                      double clockOffset);

}  // namespace nav
