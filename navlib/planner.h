// The EME planner's figures for a home and a DX station at one instant: the Moon from each, the Doppler
// of the home echo, the DX's echo and the signal between them, the spatial polarisation offset, the sky
// temperature behind the Moon and the degradation against the best possible night.
//
// Every function takes the caller's copy of the sky state as its workspace: the copy carries the choice
// of ephemeris, so the planner follows whatever the main window uses, and the precise ephemeris' fitted
// days, which every later call on the same workspace reads again. Its clock, Moon and observer frame are
// overwritten; only the Moon is computed, and the Sun's fields are left stale.
#pragma once

#include <array>
#include <vector>

#include "navlib/constants.h"
#include "navlib/skystate.h"
#include "navlib/skytemperature.h"

namespace nav {

inline constexpr std::size_t kBandCount = 5;
using BandValues = std::array<double, kBandCount>;  // one value per band of kEmeBandsMHz

// Receiving-system temperature without the sky (K) per band, as the planner starts.
inline constexpr BandValues kDefaultReceiverKelvin{100, 60, 50, 50, 60};
// The polarisation loss shown never exceeds this (dB): at 90 deg it would be infinite.
inline constexpr double kMaxPolarisationLossDb = 30;

// A station with its Earth-fixed frame, made once. Both stations of a plan are computed with the
// ephemeris (and UT1 - UTC, stored and IERS) chosen for the home station, so that their figures compare
// like with like: `engine` lends its ephemeris, dut1Seconds and iers.
struct PlannerSite {
    ObserverSite site;
    ObserverFrame frame;
};
PlannerSite MakePlannerSite(double latitude, double longitude, double height, const ObserverSite& engine = {});

// MoonAt - the Moon from a station at whole second `second` counted from 00:00 UTC of `utcDay` (any
// whole number of seconds, negative or beyond one day), as the main window shows it.
//   out: the Moon's BodyState with refraction added to its elevation (degrees, km, radians as there)
BodyState MoonAt(SkyState& sky, const PlannerSite& station, int utcDay, long long second);

// MoonAtSameInstant - the Moon from another station at the instant of the MoonAt just run on `sky`,
// that call's geocentric Moon shared: only the station's own topocentric step runs.
//   out: as MoonAt
BodyState MoonAtSameInstant(SkyState& sky, const PlannerSite& station);

// The Moon from one station at one instant.
struct StationMoon {
    double azimuth = 0;           // degrees [0, 360)
    double elevation = 0;         // degrees, refraction included
    double distance = 0;          // km, topocentric
    double rangeRate = 0;         // km/s: distance at t minus distance at t - 1 s, positive receding
    double parallacticAngle = 0;  // degrees (-180, 180]
    double rightAscension = 0;    // radians, topocentric, of date
    double declination = 0;       // radians, topocentric, of date
    GalacticAngles galactic{};    // degrees, of the topocentric direction brought back to J2000
};

// StationMoonAt - the Moon from a station at whole second `second` of `utcDay`, with its range rate.
//   out: as StationMoon states. Two position steps (t - 1 s and t), so `sky` ends at t.
StationMoon StationMoonAt(SkyState& sky, const PlannerSite& station, int utcDay, long long second);

// GalacticOfTopocentric - galactic longitude and latitude of a topocentric direction of date.
//   in:  rightAscension, declination (radians, of date as ComputePositions leaves them for `ephemeris`),
//        utcDay and utcFraction of the instant
//   out: degrees, via the J2000 direction (ToJ2000): exact to the galactic pole's constants
GalacticAngles GalacticOfTopocentric(double rightAscension, double declination, int utcDay, double utcFraction,
                                     Ephemeris ephemeris);

// ParallacticAngle - q = atan2(sin H, tan(phi) cos(delta) - sin(delta) cos(H)).
//   in:  hourAngleDeg H (local), latitudeDeg phi, declinationRad delta (topocentric)
//   out: degrees (-180, 180]
double ParallacticAngle(double hourAngleDeg, double latitudeDeg, double declinationRad);

// PolarisationOffset - qHome - qDx (degrees) brought into (-90, 90] by half turns: a linear polarisation
// has no sense of direction.
double PolarisationOffset(double homeParallacticDeg, double dxParallacticDeg);

// PolarisationLoss - -20 log10 |cos(offset)| (dB, >= 0), never more than kMaxPolarisationLossDb.
double PolarisationLoss(double offsetDeg);

// EchoDoppler - -2 f r / c on each band (Hz): the shift of a station's own echo at range rate r (km/s).
BandValues EchoDoppler(double rangeRate);
// CrossDoppler - -f (rHome + rDx) / c on each band (Hz): what each station hears of the other.
BandValues CrossDoppler(double homeRangeRate, double dxRangeRate);

// The sky behind the Moon as one station sees it.
struct SkyBehindMoon {
    GalacticAngles galactic{};    // degrees
    BandValues skyTemperature{};  // K, per band
    BandValues degradation{};     // dB against perigee and the coldest sky the Moon can stand in
};

// ComputeSkyBehindMoon - the survey at the Moon's galactic coordinates (bilinear), scaled to each band
// with the cosmic background kept (SkyTemperatureAt), and the degradation
// PathLossVsPerigee(distance) - 10 log10((Trx + Tsky) / (Trx + Tmin)), Tmin the survey's coldest sky near
// the ecliptic scaled to the band like Tsky.
//   in:  galactic (the Moon's, GalacticOfTopocentric), distanceKm (topocentric), receiverKelvin (K per
//        band, sky excluded)
SkyBehindMoon ComputeSkyBehindMoon(GalacticAngles galactic, double distanceKm, const SkySurvey& survey,
                                   const BandValues& receiverKelvin);

struct PlannerFigures {
    StationMoon home, dx;
    BandValues homeEchoDoppler{}, dxEchoDoppler{}, crossDoppler{};  // Hz
    double polarisationOffset = 0;                                 // degrees (-90, 90]
    double polarisationLoss = 0;                                   // dB, 0 .. 30
    SkyBehindMoon sky;                                             // behind the home station's Moon
};

// ComputePlannerFigures - every figure of the planner at whole second `second` of `utcDay`.
//   in:  the two stations, the survey, receiverKelvin (K per band, the sky excluded)
//   out: as PlannerFigures states. Four position steps (each station at t - 1 s and t).
PlannerFigures ComputePlannerFigures(SkyState& sky, const PlannerSite& home, const PlannerSite& dx, int utcDay,
                                     long long second, const SkySurvey& survey, const BandValues& receiverKelvin);

// The curves of one UTC day for the planner's chart, sampled every `stepSeconds` from 00:00 to 24:00
// both included.
struct DayProfile {
    std::vector<double> hours;                            // hours since 00:00 UTC
    std::vector<double> homeElevation, dxElevation;       // degrees, refraction included
    std::vector<double> skyTemperature;                   // K behind the home station's Moon, first band
};
DayProfile ComputeDayProfile(SkyState& sky, const PlannerSite& home, const PlannerSite& dx, int utcDay,
                             int stepSeconds, const SkySurvey& survey);

}  // namespace nav
