// Command line of skyrel-ephem: what to compute, for which site and instant.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "navlib/calibration.h"
#include "navlib/locator.h"
#include "navlib/radiodoppler.h"
#include "navlib/radiosource.h"

namespace ephem {

// A UTC calendar instant, whole seconds.
struct UtcInstant {
    int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0;
};

struct CalendarDate {
    int year = 0, month = 0, day = 0;
};

// The last instant of the calendar the engine's day numbers hold exactly; no instant, and so no table
// row, may lie after it.
inline constexpr UtcInstant kLastInstant{2100, 2, 28, 23, 59, 59};

struct Options {
    bool help = false;
    std::optional<double> latitude, longitude, height;  // degrees, degrees east, metres
    std::optional<UtcInstant> utc;                      // default: now
    bool json = false;
    bool riseSet = false;
    std::optional<CalendarDate> date;         // rise/set or windows date, local when localOffset is given
    std::optional<double> localOffset;        // hours, local minus UTC
    std::optional<long long> everySeconds;    // table step
    std::optional<long long> count;           // table rows
    bool csv = false;
    std::optional<nav::GeoPoint> dx;          // the DX station, from --dx
    std::optional<double> dxHeight;           // metres
    bool windows = false;                     // list the common Moon windows
    std::optional<long long> days;            // span of --windows, whole UTC days
    std::optional<double> minElevation;       // degrees
    bool precise = false;  // --ephemeris precise
    std::optional<nav::RadioMode> radio;      // --radio: the dials of this convention on each row
    std::optional<double> rxSky, txSky;       // Hz; the transmit sky frequency defaults to the receive one
    bool calibration = false;                 // the station's calibration table
    std::optional<double> dishDiameter;       // m, --dish
    std::optional<double> efficiency;         // --efficiency
    std::optional<std::vector<nav::SolarFluxReading>> solarFlux;  // --flux
    std::optional<nav::RadioSource> source;   // --source: its position beside the Sun's and the Moon's
};

// Parses argv[1..]. On failure returns nothing and sets `error` to one line naming the flag and the
// accepted form.
std::optional<Options> ParseOptions(const std::vector<std::string>& args, std::string& error);

// The --help text.
std::string HelpText();

}  // namespace ephem
