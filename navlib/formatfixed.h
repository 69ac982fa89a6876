// The one number-to-text rule for every number shown in an edit box, sent to a rotator or shown in the
// EME window.
#pragma once

#include <string>

namespace nav {

// `value` rounded half away from zero to at most `significant` significant digits and at most
// `decimals` digits after the point, whichever keeps fewer, written in fixed notation with exactly
// `decimals` digits after a '.' (none and no point when decimals is 0). A value that rounds to zero has
// no '-'. When the rounded value has more integer digits than `significant`, it is written in
// scientific form instead: its significant digits without trailing zeros as d.ddd, "E", and the
// exponent (384400 with 5 significant digits gives "3.844E5").
//
// Rounding works on the shortest decimal text that reads back as the same double, so a value written
// as 7.25 or 0.15 rounds as those decimals do (7.3, 0.2), the way a user reads them. Locale-free.
std::string formatFixed(double value, int significant, int decimals);

// `value` with exactly `decimals` digits after a '.', correctly rounded from its binary value as C's
// "%.*f" rounds it, but whatever the locale ("%.2f" of the main window, "%.1f" of the daily extremes).
std::string FixedDecimals(double value, int decimals);

}  // namespace nav
