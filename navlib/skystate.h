// The engine's shared record: the clock of the present instant, the Sun and the Moon as seen from the
// site, and the site's frame. One instance lives for the whole run; the engine is its only writer.
#pragma once

#include <array>
#include <memory>
#include <string>

#include "navlib/preciseframe.h"

namespace nav {

using Vec3 = std::array<double, 3>;
using Mat3 = std::array<double, 9>;  // row-major

// The instant, twice: as a UTC day number with a fraction of that day, and as a local one.
// Day numbers count 2000 January 1 as 730135 (see DayNumber).
struct ClockState {
    int year = 0, month = 0, day = 0;      // calendar date of the last clock reading
    int hour = 0, minute = 0, second = 0;  // time of the last reading; milliseconds are dropped
    int utcDay = 0;                        // day number of the UTC date
    double utcFraction = 0;                // elapsed fraction of the UTC day, [0, 1)
    int localDay = 0;                      // day number of the local date
    double localFraction = 0;              // elapsed fraction of the local day, [0, 1)
    double gmst = 0;  // Greenwich sidereal time, radians: mean and not reduced to one turn (standard
                      // ephemeris), or apparent in [0, 2pi) (precise ephemeris)
};

// The computed position of the Sun or the Moon.
struct BodyState {
    double azimuth = 0;            // degrees [0, 360), from north through east
    double elevation = 0;          // degrees above the geodetic horizon; refraction added by the cycle
    double rightAscension = 0;     // radians [0, 2pi), topocentric
    double declination = 0;        // radians, topocentric
    double hourAngle = 0;          // degrees [0, 360), local hour angle
    double distance = 0;           // km, observer to body
    Vec3 earthFixedDir{};          // unit vector, geocentric, Earth-fixed frame
    double geoRightAscension = 0;  // radians [0, 2pi), geocentric
    double geoDeclination = 0;     // radians, geocentric (also the sub-point latitude)
    double geoDistance = 0;        // km from the Earth's centre
    Vec3 geoEquatorialDir{};       // unit vector, geocentric, equatorial frame
    double eclipticLongitude = 0;  // radians, geocentric, not reduced to one turn
    double eclipticLatitude = 0;   // radians, geocentric
};

// The site's Earth-fixed position on the WGS-84 ellipsoid and its north/east/up frame.
struct ObserverFrame {
    Vec3 position{};       // km, Earth-fixed
    Mat3 horizonMatrix{};  // rows: north, east, up unit vectors in the Earth-fixed frame
};

// How the position step computes the Sun and the Moon. The choice travels with the site, so that every
// user of ComputePositions (the cycle, the rise/set search, the map, the EME figures, the command line)
// follows it without a word of its own.
enum class Ephemeris {
    Standard,  // the built-in series (ephemeris.h): about 0.04 deg for the Moon, well under a microsecond
    Precise,   // the IAU routines of ERFA (precise.h): a few arcseconds, the range rate to centimetres a second
};

class IersTable;  // iers.h
// Which bodies a position step brings to its instant. A caller that needs the Moon alone (the planner)
// spares the Sun's steps, and with the precise ephemeris the Earth's orbit behind them.
enum class Bodies {
    SunAndMoon,
    Moon,  // sky.sun and sky.moonElongation are left stale, some fields possibly updated: not to be read
};

// The observer's site as the settings hold it, and the ephemeris the station computes with.
struct ObserverSite {
    double latitude = 0;   // degrees, north positive
    double longitude = 0;  // degrees, east positive
    double height = 0;     // metres above sea level
    std::string name;      // at most 16 characters when saved
    Ephemeris ephemeris = Ephemeris::Standard;
    double dut1Seconds = 0;  // UT1 - UTC (s), -0.9 to 0.9; only the precise ephemeris reads it
    // The IERS series of UT1 - UTC the precise ephemeris prefers to dut1Seconds where it covers the
    // instant (Dut1For); none when no file is named.
    std::shared_ptr<const IersTable> iers = nullptr;
};

struct SkyState {
    ClockState clock;
    BodyState sun;
    BodyState moon;
    // The radio source chosen for tracking, where the cycle computes it (ComputeSourcePosition); the
    // position step leaves it alone. Its distances are 0.
    BodyState source;
    double moonElongation = 0;  // degrees (-180, 180], Moon minus Sun in geocentric right ascension
    Mat3 earthRotation{};       // equatorial -> Earth-fixed rotation by sidereal time, row-major
    ObserverFrame observerFrame;
    PreciseFrameCache preciseFrame;  // the fitted days of the precise ephemeris (preciseframe.h), its alone
};

}  // namespace nav
