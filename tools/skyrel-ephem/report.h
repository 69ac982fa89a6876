// The figures skyrel-ephem prints, computed as the tracker's cycle computes them, and their text, CSV and
// JSON forms. Every number is written locale-free.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "app/settings/calibrationsettings.h"
#include "navlib/calibration.h"
#include "navlib/commonwindow.h"
#include "navlib/eme.h"
#include "navlib/iers.h"
#include "navlib/planner.h"
#include "navlib/radiodoppler.h"
#include "navlib/riseset.h"
#include "navlib/skystate.h"
#include "tools/skyrel-ephem/options.h"

namespace ephem {

// One instant as the tracker's cycle leaves it: positions with refraction added to both elevations, the
// geometric elevations from before that step, the anomaly phase, and the EME figures after the passes
// at t - 1 s and t.
struct InstantFigures {
    std::int64_t epochSeconds = 0;  // UTC, seconds since 1970-01-01
    nav::SkyState sky;
    double sunGeometricElevation = 0, moonGeometricElevation = 0;  // degrees
    double anomalyPhase = 0;                                       // 256ths of the anomalistic month
    nav::EmeFigures eme;
    std::optional<nav::Dut1Choice> dut1;          // the UT1 - UTC the precise ephemeris used
    nav::SkyBehindMoon skyBehindMoon;            // after AddPlannerFigures
    std::optional<nav::PlannerSite> dx;           // the DX station, when one is given
    std::optional<nav::PlannerFigures> planner;   // its figures, after AddPlannerFigures
    std::optional<nav::RadioMode> radioMode;      // after AddRadioDials
    double rxSky = 0, txSky = 0;                  // Hz
    nav::RadioDials radio;
    std::optional<nav::RadioSource> source;       // the source of --source, in sky.source after AddSource
    double sourceGeometricElevation = 0;          // degrees
};

// What --radio asks for.
struct RadioRequest {
    nav::RadioMode mode = nav::RadioMode::OwnEcho;
    double rxSky = 0, txSky = 0;  // Hz
};

// The calibration table at one instant, with the inputs it was computed from.
struct CalibrationReport {
    std::int64_t epochSeconds = 0;
    skyrel::CalibrationSettings settings;
    std::array<nav::CalibrationBand, nav::kBandCount> table;
    std::array<nav::BodyState, nav::kRadioSourceCount> sources;  // refraction included, as tracked
};

// The common windows of a span, with what they were searched for.
struct WindowsReport {
    nav::PlannerSite home, dx;
    std::int64_t firstEpochSeconds = 0;  // 00:00 UTC of the first day
    double minElevation = 0;             // degrees
    std::vector<nav::CommonWindow> windows;
};

// "YYYY-MM-DDTHH:MM:SS" of a UTC instant in seconds since 1970-01-01 (the text output's form; JSON and
// CSV add "Z").
std::string UtcText(std::int64_t epochSeconds);
std::int64_t EpochSeconds(const UtcInstant& instant);
std::int64_t EpochSecondsNow();

// One cycle of the tracker at `epochSeconds`: positions, refraction, anomaly phase (a table row).
InstantFigures ComputeCycle(const nav::ObserverSite& site, std::int64_t epochSeconds);
// The next cycle on the same figures, as the tracker runs its cycles on one kept sky: the next row of a
// table, which reads the precise ephemeris' fitted days from the rows before.
void NextCycle(InstantFigures& f, const nav::ObserverSite& site, std::int64_t epochSeconds);
// Two cycles, one second before and at `epochSeconds`, so that the EME figures are the EME window's.
InstantFigures ComputeInstant(const nav::ObserverSite& site, std::int64_t epochSeconds);

// The sky behind the Moon at the instant of `f` (its topocentric Moon) and, when f.dx is set, the
// planner's figures for the home site and the DX.
void AddPlannerFigures(InstantFigures& f, const nav::ObserverSite& site, const nav::SkySurvey& survey,
                       const nav::BandValues& receiverKelvin);

// The radio's dials at the instant of `f`, without a converter, to the whole Hz: the range rates d(t) -
// d(t - 1 s) of the home site and of f.dx (when the mode needs it) as the radio follows them.
void AddRadioDials(InstantFigures& f, const nav::ObserverSite& site, const RadioRequest& radio);

// The source's position at the instant of `f`, refraction added as the cycle adds it.
void AddSource(InstantFigures& f, const nav::ObserverSite& site, nav::RadioSource source);

// The calibration at `epochSeconds`: the Moon's distance and the date of that instant.
CalibrationReport ComputeCalibration(const nav::ObserverSite& site, std::int64_t epochSeconds,
                                     const skyrel::CalibrationSettings& settings,
                                     const nav::BandValues& receiverKelvin);
std::string CalibrationText(const CalibrationReport& report);
std::string CalibrationJson(const CalibrationReport& report);
std::string CalibrationCsv(const CalibrationReport& report);

// The common windows of `days` UTC days from 00:00 UTC of `date`.
WindowsReport ComputeWindows(const nav::ObserverSite& site, const nav::PlannerSite& dx, const CalendarDate& date,
                             int days, double minElevation);

// The texts of the main window's panels for `date`: the UTC date in UTC without a local offset, the local
// date in local time with one (offset = local minus UTC, hours).
nav::RiseSetTexts ComputeRiseSet(const nav::ObserverSite& site, const CalendarDate& date, double clockOffset,
                                 bool showUtc);

// Today's date, UTC or at the given local offset.
CalendarDate Today(double clockOffset);

// iersFile: the stored "IERS File" named beside the DUT1 used (empty: none).
std::string InstantJson(const InstantFigures& f, const std::string& iersFile);
std::string InstantText(const InstantFigures& f, const nav::ObserverSite& site);
// withRadio: the two dial columns of AddRadioDials follow.
std::string TableHeader(bool csv, bool withRadio);
std::string TableRow(const InstantFigures& f, bool csv);
// dayStartEpochSeconds: 00:00 of the displayed day on the displayed clock, as a UTC instant.
std::string RiseSetJson(const nav::RiseSetTexts& texts, bool showUtc, std::int64_t dayStartEpochSeconds);
std::string RiseSetText(const nav::RiseSetTexts& texts);
std::string WindowsText(const WindowsReport& report);
std::string WindowsJson(const WindowsReport& report);
std::string WindowsCsv(const WindowsReport& report);

}  // namespace ephem
