#include "tools/skyrel-ephem/report.h"

#include <charconv>
#include <chrono>
#include <cmath>
#include <cstdio>

#include "navlib/anomaly.h"
#include "navlib/clocksource.h"
#include "navlib/constants.h"
#include "navlib/formatfixed.h"
#include "navlib/locator.h"
#include "navlib/observer.h"
#include "navlib/timecal.h"

namespace ephem {
namespace {

using nav::FixedDecimals;

// JSON carries full double precision: 17 significant digits read back to the same double.
constexpr int kJsonDigits = 17;

// A clock standing at one UTC instant; the cycle reads it in automatic mode, exactly as it reads the
// operating system's clock.
class FixedUtcClock : public nav::ClockSource {
public:
    explicit FixedUtcClock(std::int64_t epochSeconds) : epochSeconds_(epochSeconds) {}
    nav::ClockReading utcNow() const override { return nav::ReadingOfEpochSeconds(epochSeconds_); }
    nav::ClockReading localNow() const override { return utcNow(); }

private:
    std::int64_t epochSeconds_;
};

std::string Number(double value) {
    char text[64];
    const auto result = std::to_chars(text, text + sizeof text, value, std::chars_format::general, kJsonDigits);
    return std::string(text, result.ptr);
}

std::string JsonString(const std::string& text) {
    std::string out = "\"";
    for (const char c : text) {
        if (c == '"' || c == '\\') out.push_back('\\');
        out.push_back(c);
    }
    return out + "\"";
}

std::string BodyJson(const nav::BodyState& b, double geometricElevation) {
    return "{\"azimuth\": " + Number(b.azimuth) + ", \"elevation\": " + Number(b.elevation) +
           ", \"geometricElevation\": " + Number(geometricElevation) + ", \"rightAscension\": " +
           Number(b.rightAscension) + ", \"declination\": " + Number(b.declination) + ", \"hourAngle\": " +
           Number(b.hourAngle) + ", \"distance\": " + Number(b.distance) + ", \"geoRightAscension\": " +
           Number(b.geoRightAscension) + ", \"geoDeclination\": " + Number(b.geoDeclination) + "}";
}

std::string PanelJson(const nav::RiseSetPanel& p) {
    return "{\"rows\": [[" + JsonString(p.row1Caption) + ", " + JsonString(p.row1Text) + "], [" +
           JsonString(p.row2Caption) + ", " + JsonString(p.row2Text) + "]], \"transit\": [" +
           JsonString(p.transitCaption) + ", " + JsonString(p.transitText) + "], \"maxMin\": " +
           JsonString(p.maxMin) + "}";
}

std::string PanelText(const char* title, const nav::RiseSetPanel& p) {
    const auto row = [](const std::string& caption, const std::string& text) {
        std::string line = "  " + caption;
        line.resize(18, ' ');
        return line + text + "\n";
    };
    return std::string(title) + "\n" + row(p.row1Caption, p.row1Text) + row(p.row2Caption, p.row2Text) +
           row(p.transitCaption, p.transitText) + row("Max/Min:", p.maxMin);
}

std::string Padded(const std::string& text, std::size_t width) {
    return text.size() >= width ? text : std::string(width - text.size(), ' ') + text;
}

std::string NumberList(const nav::BandValues& values) {
    std::string list;
    for (std::size_t i = 0; i < values.size(); ++i) list += (i ? ", " : "") + Number(values[i]);
    return "[" + list + "]";
}

// "144 MHz 12 K, 435 MHz ..." with `decimals` digits and the unit after each value.
std::string BandLine(const nav::BandValues& values, int decimals, const std::string& unit) {
    std::string line;
    for (std::size_t i = 0; i < values.size(); ++i)
        line += (i ? ", " : "") + FixedDecimals(nav::kEmeBandsMHz[i], 0) + " MHz " + FixedDecimals(values[i], decimals) +
                " " + unit;
    return line + "\n";
}

std::string SiteJson(const nav::ObserverSite& s) {
    return "{\"locator\": " + JsonString(nav::LocatorOf(s.latitude, s.longitude)) + ", \"latitude\": " +
           Number(s.latitude) + ", \"longitude\": " + Number(s.longitude) + ", \"height\": " + Number(s.height) + "}";
}

std::string SiteText(const nav::ObserverSite& s) {
    return nav::LocatorOf(s.latitude, s.longitude) + " " + FixedDecimals(s.latitude, 4) + " " +
           FixedDecimals(s.longitude, 4) + " " + FixedDecimals(s.height, 0) + " m";
}

std::string SkyJson(const nav::SkyBehindMoon& sky) {
    return "{\"galacticLongitude\": " + Number(sky.galactic.longitude) + ", \"galacticLatitude\": " +
           Number(sky.galactic.latitude) + ", \"tsky\": " + NumberList(sky.skyTemperature) +
           ", \"degradation\": " + NumberList(sky.degradation) + "}";
}

std::string DxJson(const nav::PlannerSite& dx, const nav::PlannerFigures& p) {
    return "{\"locator\": " + JsonString(nav::LocatorOf(dx.site.latitude, dx.site.longitude)) + ", \"latitude\": " +
           Number(dx.site.latitude) + ", \"longitude\": " + Number(dx.site.longitude) + ", \"azimuth\": " +
           Number(p.dx.azimuth) + ", \"elevation\": " + Number(p.dx.elevation) + ", \"rangeRate\": " +
           Number(p.dx.rangeRate) + ", \"echoDoppler\": " + NumberList(p.dxEchoDoppler) + ", \"crossDoppler\": " +
           NumberList(p.crossDoppler) + ", \"polarisationOffset\": " + Number(p.polarisationOffset) +
           ", \"polarisationLoss\": " + Number(p.polarisationLoss) + "}";
}

}  // namespace

std::string UtcText(std::int64_t epochSeconds) {
    const nav::ClockReading r = nav::ReadingOfEpochSeconds(epochSeconds);
    char text[64];
    std::snprintf(text, sizeof text, "%04d-%02d-%02dT%02d:%02d:%02d", r.year, r.month, r.day, r.hour, r.minute,
                  r.second);
    return text;
}

std::int64_t EpochSeconds(const UtcInstant& t) {
    return nav::EpochSecondsOf(t.year, t.month, t.day, t.hour, t.minute, t.second);
}

std::int64_t EpochSecondsNow() {
    using namespace std::chrono;
    return floor<seconds>(system_clock::now()).time_since_epoch().count();
}

InstantFigures ComputeCycle(const nav::ObserverSite& site, std::int64_t epochSeconds) {
    InstantFigures f;
    nav::SetObserver(f.sky.observerFrame, site.latitude, site.longitude, site.height);
    NextCycle(f, site, epochSeconds);
    return f;
}

// One pass of the cycle at `epochSeconds`: clock, anomaly phase, positions, refraction, EME figures.
void NextCycle(InstantFigures& f, const nav::ObserverSite& site, std::int64_t epochSeconds) {
    f.epochSeconds = epochSeconds;
    nav::ReadClock(f.sky.clock, FixedUtcClock(epochSeconds), true, 0);
    f.anomalyPhase = nav::AnomalyPhase(f.sky.clock.utcDay, f.sky.clock.utcFraction);
    nav::ComputePositions(f.sky, site);
    f.sunGeometricElevation = f.sky.sun.elevation;
    f.moonGeometricElevation = f.sky.moon.elevation;
    nav::AddRefraction(f.sky);
    nav::ComputeEmeFigures(f.eme, f.sky.clock.utcFraction, f.sky.moon.distance);
}

InstantFigures ComputeInstant(const nav::ObserverSite& site, std::int64_t epochSeconds) {
    // The EME window shows the range rate of the last two cycles, one second apart.
    InstantFigures f = ComputeCycle(site, epochSeconds - 1);
    NextCycle(f, site, epochSeconds);
    return f;
}

nav::RiseSetTexts ComputeRiseSet(const nav::ObserverSite& site, const CalendarDate& date, double clockOffset,
                                 bool showUtc) {
    nav::SkyState sky;
    nav::SetObserver(sky.observerFrame, site.latitude, site.longitude, site.height);
    // Noon of the date, on the clock that is displayed: the search starts from the midnight of that day.
    const double displayedNoon = nav::DayNumber(date.year, date.month, date.day) + 0.5;
    const double utc = showUtc ? displayedNoon : displayedNoon - clockOffset / 24;
    sky.clock.utcDay = static_cast<int>(std::floor(utc));
    sky.clock.utcFraction = utc - std::floor(utc);
    return nav::FindRiseSet(sky, site, clockOffset, showUtc);
}

void AddPlannerFigures(InstantFigures& f, const nav::ObserverSite& site, const nav::SkySurvey& survey,
                       const nav::BandValues& receiverKelvin) {
    const nav::BodyState& moon = f.sky.moon;
    f.skyBehindMoon =
        nav::ComputeSkyBehindMoon(moon.rightAscension, moon.declination, moon.distance, survey, receiverKelvin);
    if (!f.dx) return;
    nav::SkyState workspace = f.sky;
    const nav::PlannerSite home = nav::MakePlannerSite(site.latitude, site.longitude, site.height, site.ephemeris, site.dut1Seconds);
    f.planner = nav::ComputePlannerFigures(workspace, home, *f.dx, f.sky.clock.utcDay, nav::SecondOfDay(f.sky.clock),
                                           survey, receiverKelvin);
}

WindowsReport ComputeWindows(const nav::ObserverSite& site, const nav::PlannerSite& dx, const CalendarDate& date,
                             int days, double minElevation) {
    WindowsReport report;
    report.home = nav::MakePlannerSite(site.latitude, site.longitude, site.height, site.ephemeris, site.dut1Seconds);
    report.dx = dx;
    report.firstEpochSeconds = nav::EpochSecondsOf(date.year, date.month, date.day, 0, 0, 0);
    report.minElevation = minElevation;
    nav::SkyState workspace;
    report.windows = nav::FindCommonWindows(workspace, report.home, dx, nav::DayNumber(date.year, date.month, date.day),
                                            days, minElevation);
    return report;
}

CalendarDate Today(double clockOffset) {
    const std::int64_t local = EpochSecondsNow() + static_cast<std::int64_t>(std::llround(clockOffset * 3600));
    const nav::ClockReading r = nav::ReadingOfEpochSeconds(local);
    return {r.year, r.month, r.day};
}

std::string InstantJson(const InstantFigures& f) {
    return "{\"utcDay\": " + std::to_string(f.sky.clock.utcDay) + ", \"utcFraction\": " +
           Number(f.sky.clock.utcFraction) + ", \"sun\": " + BodyJson(f.sky.sun, f.sunGeometricElevation) +
           ", \"moon\": " + BodyJson(f.sky.moon, f.moonGeometricElevation) + ", \"moonElongation\": " +
           Number(f.sky.moonElongation) + ", \"anomalyPhase\": " + Number(f.anomalyPhase) +
           ", \"eme\": {\"rangeRate\": " + Number(f.eme.moonRangeRate) + ", \"dopplerShift\": " + NumberList(f.eme.dopplerShift) +
           ", \"pathLossVsPerigee\": " + Number(f.eme.pathLossVsPerigee) + ", \"echoDelay\": " +
           Number(f.eme.echoDelay) + "}, \"sky\": " + SkyJson(f.skyBehindMoon) +
           (f.planner ? ", \"dx\": " + DxJson(*f.dx, *f.planner) : std::string()) + "}\n";
}

std::string InstantText(const InstantFigures& f, const nav::ObserverSite& site) {
    const nav::BodyState& s = f.sky.sun;
    const nav::BodyState& m = f.sky.moon;
    const auto line = [](const std::string& caption, const std::string& sun, const std::string& moon,
                         const std::string& unit) {
        std::string head = caption;
        head.resize(22, ' ');
        return head + Padded(sun, 16) + Padded(moon, 16) + "  " + unit + "\n";
    };
    std::string out = "UTC " + UtcText(f.epochSeconds) + "   site " + FixedDecimals(site.latitude, 4) + " " +
                      FixedDecimals(site.longitude, 4) + " " + FixedDecimals(site.height, 1) + " m\n";
    out += line("", "Sun", "Moon", "");
    out += line("Azimuth", FixedDecimals(s.azimuth, 2), FixedDecimals(m.azimuth, 2), "deg");
    out += line("Elevation", FixedDecimals(s.elevation, 2), FixedDecimals(m.elevation, 2), "deg, refraction included");
    out += line("Geometric elevation", FixedDecimals(f.sunGeometricElevation, 2), FixedDecimals(f.moonGeometricElevation, 2), "deg");
    out += line("Right ascension", FixedDecimals(nav::Degrees(s.rightAscension) / 15, 4),
                FixedDecimals(nav::Degrees(m.rightAscension) / 15, 4), "h, topocentric");
    out += line("Declination", FixedDecimals(nav::Degrees(s.declination), 2), FixedDecimals(nav::Degrees(m.declination), 2),
                "deg, topocentric");
    out += line("Hour angle", FixedDecimals(s.hourAngle, 2), FixedDecimals(m.hourAngle, 2), "deg");
    out += line("Distance", FixedDecimals(s.distance, 0), FixedDecimals(m.distance, 0), "km");
    out += "Moon elongation       " + FixedDecimals(f.sky.moonElongation, 2) + " deg\n";
    out += "Anomaly phase         " + FixedDecimals(f.anomalyPhase, 2) + " /256\n";
    out += "Range rate            " + FixedDecimals(f.eme.moonRangeRate, 4) + " km/s\n";
    out += "Echo Doppler          " + BandLine(f.eme.dopplerShift, 0, "Hz");
    out += "Path loss vs perigee  " + FixedDecimals(f.eme.pathLossVsPerigee, 2) + " dB\n";
    out += "Echo delay            " + FixedDecimals(f.eme.echoDelay, 3) + " s\n";
    const nav::SkyBehindMoon& sky = f.skyBehindMoon;
    out += "Sky behind the Moon   galactic l " + FixedDecimals(sky.galactic.longitude, 2) + " b " +
           FixedDecimals(sky.galactic.latitude, 2) + " deg\n";
    out += "Sky temperature       " + BandLine(sky.skyTemperature, 0, "K");
    out += "Degradation           " + BandLine(sky.degradation, 2, "dB");
    if (!f.planner) return out;
    const nav::PlannerFigures& p = *f.planner;
    out += "DX                    " + SiteText(f.dx->site) + "\n";
    out += "DX Moon               azimuth " + FixedDecimals(p.dx.azimuth, 2) + " deg, elevation " +
           FixedDecimals(p.dx.elevation, 2) + " deg (refraction included)\n";
    out += "DX range rate         " + FixedDecimals(p.dx.rangeRate, 4) + " km/s\n";
    out += "DX echo Doppler       " + BandLine(p.dxEchoDoppler, 0, "Hz");
    out += "Cross Doppler         " + BandLine(p.crossDoppler, 0, "Hz");
    out += "Polarisation offset   " + FixedDecimals(p.polarisationOffset, 1) + " deg, loss " +
           FixedDecimals(p.polarisationLoss, 1) + " dB\n";
    return out;
}

std::string TableHeader(bool csv) {
    if (csv)
        return "utc,sunAzimuth,sunElevation,sunRightAscension,sunDeclination,sunDistance,moonAzimuth,"
               "moonElevation,moonRightAscension,moonDeclination,moonDistance,moonElongation\n";
    return "UTC                    Sun Az   Sun El   Sun RA  Sun Dec     Sun km  Moon Az  Moon El  Moon RA "
           "Moon Dec   Moon km    Elong\n";
}

std::string TableRow(const InstantFigures& f, bool csv) {
    const nav::BodyState& s = f.sky.sun;
    const nav::BodyState& m = f.sky.moon;
    if (csv) {
        std::string row = UtcText(f.epochSeconds);
        for (const double v : {s.azimuth, s.elevation, nav::Degrees(s.rightAscension), nav::Degrees(s.declination),
                               s.distance, m.azimuth, m.elevation, nav::Degrees(m.rightAscension),
                               nav::Degrees(m.declination), m.distance, f.sky.moonElongation})
            row += "," + Number(v);
        return row + "\n";
    }
    return UtcText(f.epochSeconds) + Padded(FixedDecimals(s.azimuth, 2), 10) + Padded(FixedDecimals(s.elevation, 2), 9) +
           Padded(FixedDecimals(nav::Degrees(s.rightAscension), 2), 9) + Padded(FixedDecimals(nav::Degrees(s.declination), 2), 9) +
           Padded(FixedDecimals(s.distance, 0), 11) + Padded(FixedDecimals(m.azimuth, 2), 9) + Padded(FixedDecimals(m.elevation, 2), 9) +
           Padded(FixedDecimals(nav::Degrees(m.rightAscension), 2), 9) + Padded(FixedDecimals(nav::Degrees(m.declination), 2), 9) +
           Padded(FixedDecimals(m.distance, 0), 10) + Padded(FixedDecimals(f.sky.moonElongation, 2), 9) + "\n";
}

std::string RiseSetJson(const nav::RiseSetTexts& texts, bool showUtc) {
    return std::string("{\"showUtc\": ") + (showUtc ? "true" : "false") + ", \"sun\": " + PanelJson(texts.sun) +
           ", \"moon\": " + PanelJson(texts.moon) + "}\n";
}

std::string RiseSetText(const nav::RiseSetTexts& texts) {
    return PanelText("Sun", texts.sun) + PanelText("Moon", texts.moon);
}

std::string WindowsText(const WindowsReport& r) {
    std::string out = "Home " + SiteText(r.home.site) + ", DX " + SiteText(r.dx.site) + ", Moon at or above " +
                      FixedDecimals(r.minElevation, 1) + " deg at both\n";
    out += "Start (UTC)          End (UTC)            Minutes  Home max    DX max\n";
    for (const nav::CommonWindow& w : r.windows)
        out += UtcText(r.firstEpochSeconds + w.start) + "  " + UtcText(r.firstEpochSeconds + w.end) +
               Padded(FixedDecimals(w.minutes(), 1), 9) + Padded(FixedDecimals(w.homeMaxElevation, 1), 10) +
               Padded(FixedDecimals(w.dxMaxElevation, 1), 10) + "\n";
    return out;
}

std::string WindowsJson(const WindowsReport& r) {
    std::string windows;
    for (const nav::CommonWindow& w : r.windows)
        windows += std::string(windows.empty() ? "" : ", ") + "{\"start\": " +
                   JsonString(UtcText(r.firstEpochSeconds + w.start)) + ", \"end\": " +
                   JsonString(UtcText(r.firstEpochSeconds + w.end)) + ", \"minutes\": " + Number(w.minutes()) +
                   ", \"homeMaxElevation\": " + Number(w.homeMaxElevation) + ", \"dxMaxElevation\": " +
                   Number(w.dxMaxElevation) + "}";
    return "{\"home\": " + SiteJson(r.home.site) + ", \"dx\": " + SiteJson(r.dx.site) + ", \"minElevation\": " +
           Number(r.minElevation) + ", \"windows\": [" + windows + "]}\n";
}

std::string WindowsCsv(const WindowsReport& r) {
    std::string out = "start,end,minutes,homeMaxElevation,dxMaxElevation\n";
    for (const nav::CommonWindow& w : r.windows)
        out += UtcText(r.firstEpochSeconds + w.start) + "," + UtcText(r.firstEpochSeconds + w.end) + "," +
               Number(w.minutes()) + "," + Number(w.homeMaxElevation) + "," + Number(w.dxMaxElevation) + "\n";
    return out;
}

}  // namespace ephem
