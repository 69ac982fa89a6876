#include "tools/skyrel-ephem/report.h"

#include <charconv>
#include <chrono>
#include <cmath>
#include <cstdio>

#include "app/radio/radiosettings.h"
#include "app/settings/iersfile.h"
#include "navlib/anomaly.h"
#include "navlib/clocksource.h"
#include "navlib/constants.h"
#include "navlib/formatfixed.h"
#include "navlib/locator.h"
#include "navlib/observer.h"
#include "navlib/radiosource.h"
#include "navlib/timecal.h"

namespace ephem {
namespace {

// JSON carries full double precision: 17 significant digits read back to the same double.
constexpr int kJsonDigits = 17;
// Decimals of the table's angles (degrees) and distances (km), in text and CSV alike, and of the
// windows' minutes and elevations.
constexpr int kAngleDecimals = 2;
constexpr int kDistanceDecimals = 0;
constexpr int kWindowDecimals = 1;

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

// As the text output writes it; a value that rounds to zero has no '-'.
std::string Decimals(double value, int decimals) {
    std::string text = nav::FixedDecimals(value, decimals);
    if (text.front() == '-' && text.find_first_not_of("-0.") == std::string::npos) text.erase(0, 1);
    return text;
}

std::string Number(double value) {
    // JSON has no infinity and no NaN: a figure that is neither a number is null.
    if (!std::isfinite(value)) return "null";
    if (value == 0) value = 0;  // -0 reads as 0
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

// Machine-readable instants carry the zone: "YYYY-MM-DDTHH:MM:SSZ".
std::string IsoUtc(std::int64_t epochSeconds) { return UtcText(epochSeconds) + "Z"; }

std::string BodyJson(const nav::BodyState& b, double geometricElevation) {
    return "{\"azimuth\": " + Number(b.azimuth) + ", \"elevation\": " + Number(b.elevation) +
           ", \"geometricElevation\": " + Number(geometricElevation) + ", \"rightAscension\": " +
           Number(nav::Degrees(b.rightAscension)) + ", \"declination\": " + Number(nav::Degrees(b.declination)) +
           ", \"hourAngle\": " + Number(b.hourAngle) + ", \"distance\": " + Number(b.distance) +
           ", \"geoRightAscension\": " + Number(nav::Degrees(b.geoRightAscension)) + ", \"geoDeclination\": " +
           Number(nav::Degrees(b.geoDeclination)) + "}";
}

// [caption, text, ISO UTC of the minute shown or null].
std::string EventJson(const std::string& caption, const std::string& text, std::optional<int> minute,
                      std::int64_t dayStartEpochSeconds) {
    const std::string utc = minute ? JsonString(IsoUtc(dayStartEpochSeconds + *minute * 60LL)) : "null";
    return "[" + JsonString(caption) + ", " + JsonString(text) + ", " + utc + "]";
}

std::string PanelJson(const nav::RiseSetPanel& p, std::int64_t dayStartEpochSeconds) {
    return "{\"rows\": [" + EventJson(p.row1Caption, p.row1Text, p.row1Minute, dayStartEpochSeconds) + ", " +
           EventJson(p.row2Caption, p.row2Text, p.row2Minute, dayStartEpochSeconds) + "], \"transit\": " +
           EventJson(p.transitCaption, p.transitText, p.transitMinute, dayStartEpochSeconds) + ", \"maxMin\": " +
           JsonString(p.maxMin) + "}";
}

std::string Dut1Json(const std::optional<nav::Dut1Choice>& dut1, const std::string& iersFile) {
    if (!dut1) return "null";
    return "{\"seconds\": " + Number(dut1->seconds) + ", \"source\": " +
           JsonString(skyrel::Dut1SourceKey(dut1->source).toStdString()) + ", \"iersFile\": " +
           (iersFile.empty() ? "null" : JsonString(iersFile)) + "}";
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
        line += (i ? ", " : "") + Decimals(nav::kEmeBandsMHz[i], 0) + " MHz " + Decimals(values[i], decimals) +
                " " + unit;
    return line + "\n";
}

std::string SiteJson(const nav::ObserverSite& s) {
    return "{\"locator\": " + JsonString(nav::LocatorOf(s.latitude, s.longitude)) + ", \"latitude\": " +
           Number(s.latitude) + ", \"longitude\": " + Number(s.longitude) + ", \"height\": " + Number(s.height) + "}";
}

std::string SiteText(const nav::ObserverSite& s) {
    return nav::LocatorOf(s.latitude, s.longitude) + " " + Decimals(s.latitude, 4) + " " +
           Decimals(s.longitude, 4) + " " + Decimals(s.height, 0) + " m";
}

std::string SkyJson(const nav::SkyBehindMoon& sky) {
    return "{\"galacticLongitude\": " + Number(sky.galactic.longitude) + ", \"galacticLatitude\": " +
           Number(sky.galactic.latitude) + ", \"tsky\": " + NumberList(sky.skyTemperature) +
           ", \"degradation\": " + NumberList(sky.degradation) + "}";
}

constexpr double kHzPerMHz = 1e6;
constexpr int kDialWidth = 16;

std::string ModeText(nav::RadioMode mode) { return skyrel::RadioModeText(mode).toStdString(); }

std::string SignedHertz(double hz) { return (std::llround(hz) > 0 ? "+" : "") + Decimals(hz, 0) + " Hz"; }

std::string RadioJson(const InstantFigures& f) {
    return "{\"mode\": " + JsonString(ModeText(*f.radioMode)) + ", \"rxSky\": " + Number(f.rxSky) +
           ", \"txSky\": " + Number(f.txSky) + ", \"rxCorrection\": " + Number(f.radio.rxCorrection) +
           ", \"txCorrection\": " + Number(f.radio.txCorrection) + ", \"rxDial\": " + Number(f.radio.rxDial) +
           ", \"txDial\": " + Number(f.radio.txDial) + "}";
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
    if (site.ephemeris == nav::Ephemeris::Precise)
        f.dut1 = nav::Dut1For(site, f.sky.clock.utcDay, f.sky.clock.utcFraction);
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
    const nav::GalacticAngles galactic = nav::GalacticOfTopocentric(
        moon.rightAscension, moon.declination, f.sky.clock.utcDay, f.sky.clock.utcFraction, site.ephemeris);
    f.skyBehindMoon = nav::ComputeSkyBehindMoon(galactic, moon.distance, survey, receiverKelvin);
    if (!f.dx) return;
    nav::SkyState workspace = f.sky;
    const nav::PlannerSite home = nav::MakePlannerSite(site.latitude, site.longitude, site.height, site);
    f.planner = nav::ComputePlannerFigures(workspace, home, *f.dx, f.sky.clock.utcDay, nav::SecondOfDay(f.sky.clock),
                                           survey, receiverKelvin);
}

void AddRadioDials(InstantFigures& f, const nav::ObserverSite& site, const RadioRequest& radio) {
    nav::SkyState workspace = f.sky;
    const nav::PlannerSite home = nav::MakePlannerSite(site.latitude, site.longitude, site.height, site);
    const long long second = nav::SecondOfDay(f.sky.clock);
    const double homeRate = nav::StationMoonAt(workspace, home, f.sky.clock.utcDay, second).rangeRate;
    const double dxRate = f.dx && nav::NeedsDxStation(radio.mode)
                              ? nav::StationMoonAt(workspace, *f.dx, f.sky.clock.utcDay, second).rangeRate
                              : 0;
    constexpr double kWholeHz = 1;
    f.radioMode = radio.mode;
    f.rxSky = radio.rxSky;
    f.txSky = radio.txSky;
    f.radio = nav::RadioDialsAt(radio.mode, radio.rxSky, radio.txSky, homeRate, dxRate, {}, {}, kWholeHz);
}

WindowsReport ComputeWindows(const nav::ObserverSite& site, const nav::PlannerSite& dx, const CalendarDate& date,
                             int days, double minElevation) {
    WindowsReport report;
    report.home = nav::MakePlannerSite(site.latitude, site.longitude, site.height, site);
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

void AddSource(InstantFigures& f, const nav::ObserverSite& site, nav::RadioSource source) {
    f.source = source;
    f.sourceGeometricElevation = nav::RadioSourceAt(f.sky, site, source).elevation;
    nav::ComputeSourcePosition(f.sky, site, source);
}

CalibrationReport ComputeCalibration(const nav::ObserverSite& site, std::int64_t epochSeconds,
                                     const skyrel::CalibrationSettings& settings,
                                     const nav::BandValues& receiverKelvin) {
    CalibrationReport report;
    report.epochSeconds = epochSeconds;
    report.settings = settings;
    InstantFigures f = ComputeCycle(site, epochSeconds);
    report.table = skyrel::CalibrationTable(settings, receiverKelvin, f.sky.moon.distance,
                                            nav::DecimalYear(f.sky.clock.utcDay, f.sky.clock.utcFraction));
    for (const nav::RadioSource source : nav::kRadioSources)
        report.sources[nav::SourceIndex(source)] = nav::RefractedSourceAt(f.sky, site, source);
    return report;
}

std::string CalibrationText(const CalibrationReport& r) {
    const skyrel::CalibrationSettings& s = r.settings;
    std::string out = "UTC " + UtcText(r.epochSeconds) + "   dish " + Decimals(s.dish.diameter, 2) + " m, efficiency " +
                      Decimals(s.dish.efficiency, 2) + ", Moon " + Decimals(s.moonBrightnessKelvin, 0) + " K\n";
    out += "Solar flux            " +
           (s.solarFlux.empty() ? std::string("none given") : nav::SolarFluxReadingsText(s.solarFlux) + " MHz:sfu") +
           (s.fluxDate.isEmpty() ? std::string() : " (" + s.fluxDate.toStdString() + ")") + "\n";
    for (const skyrel::CalibrationRow& row : skyrel::CalibrationRows(r.table)) {
        std::string line = row.caption.toStdString();
        line.resize(22, ' ');
        for (const QString& text : row.texts) line += Padded(text.toStdString(), 12);
        out += line + "\n";
    }
    for (const nav::RadioSource source : nav::kRadioSources) {
        const nav::BodyState& b = r.sources[nav::SourceIndex(source)];
        std::string line = nav::SourceData(source).name;
        line.resize(22, ' ');
        out += line + "azimuth " + Decimals(b.azimuth, 2) + " deg, elevation " + Decimals(b.elevation, 2) +
               " deg (refraction included)\n";
    }
    return out;
}

std::string CalibrationJson(const CalibrationReport& r) {
    const auto optional = [](const std::optional<double>& value) { return value ? Number(*value) : "null"; };
    std::string fluxes, bands, sources;
    for (const nav::SolarFluxReading& reading : r.settings.solarFlux)
        fluxes += (fluxes.empty() ? "" : ", ") + std::string("{\"frequency\": ") + Number(reading.frequencyMHz) +
                  ", \"sfu\": " + Number(reading.sfu) + "}";
    for (const nav::CalibrationBand& b : r.table) {
        std::string perSource;
        for (const nav::RadioSource source : nav::kRadioSources) {
            const nav::SourceFigures& figures = b.sources[nav::SourceIndex(source)];
            perSource += (perSource.empty() ? "" : ", ") + JsonString(nav::SourceData(source).key) +
                         ": {\"flux\": " + optional(figures.fluxJansky) + ", \"y\": " + optional(figures.yDb) + "}";
        }
        bands += (bands.empty() ? "" : ", ") + std::string("{\"frequency\": ") + Number(b.frequency) +
                 ", \"beamwidth\": " + Number(b.beamwidth) + ", \"tsys\": " + Number(b.systemKelvin) +
                 ", \"sunFlux\": " + optional(b.sunFlux) + ", \"sunK\": " + Number(b.sunK) +
                 ", \"sunY\": " + optional(b.sunY) + ", \"moonY\": " + Number(b.moonY) + ", \"sources\": {" +
                 perSource + "}}";
    }
    for (const nav::RadioSource source : nav::kRadioSources) {
        const nav::BodyState& b = r.sources[nav::SourceIndex(source)];
        sources += (sources.empty() ? "" : ", ") + std::string("{\"key\": ") + JsonString(nav::SourceData(source).key) +
                   ", \"name\": " + JsonString(nav::SourceData(source).name) + ", \"azimuth\": " +
                   Number(b.azimuth) + ", \"elevation\": " + Number(b.elevation) + "}";
    }
    return "{\"utc\": " + JsonString(IsoUtc(r.epochSeconds)) + ", \"dish\": {\"diameter\": " +
           Number(r.settings.dish.diameter) + ", \"efficiency\": " + Number(r.settings.dish.efficiency) +
           "}, \"moonBrightness\": " + Number(r.settings.moonBrightnessKelvin) + ", \"solarFlux\": [" + fluxes +
           "], \"calibration\": [" + bands + "], \"sources\": [" + sources + "]}\n";
}

std::string CalibrationCsv(const CalibrationReport& r) {
    const std::vector<skyrel::CalibrationRow> rows = skyrel::CalibrationRows(r.table);
    std::string out;
    for (const skyrel::CalibrationRow& row : rows) out += (out.empty() ? "" : ",") + row.key.toStdString();
    out += "\n";
    for (std::size_t band = 0; band < nav::kBandCount; ++band) {
        std::string line;
        for (const skyrel::CalibrationRow& row : rows)
            line += (line.empty() ? "" : ",") + row.texts[band].toStdString();
        out += line + "\n";
    }
    return out;
}

std::string InstantJson(const InstantFigures& f, const std::string& iersFile) {
    return "{\"utc\": " + JsonString(IsoUtc(f.epochSeconds)) + ", \"dut1\": " + Dut1Json(f.dut1, iersFile) +
           ", \"sun\": " + BodyJson(f.sky.sun, f.sunGeometricElevation) +
           ", \"moon\": " + BodyJson(f.sky.moon, f.moonGeometricElevation) + ", \"moonElongation\": " +
           Number(f.sky.moonElongation) + ", \"anomalyPhase\": " + Number(f.anomalyPhase) +
           ", \"eme\": {\"rangeRate\": " + Number(f.eme.moonRangeRate) + ", \"dopplerShift\": " + NumberList(f.eme.dopplerShift) +
           ", \"pathLossVsPerigee\": " + Number(f.eme.pathLossVsPerigee) + ", \"echoDelay\": " +
           Number(f.eme.echoDelay) + "}, \"sky\": " + SkyJson(f.skyBehindMoon) +
           (f.planner ? ", \"dx\": " + DxJson(*f.dx, *f.planner) : std::string()) +
           (f.source ? ", \"source\": {\"name\": " + JsonString(nav::SourceData(*f.source).name) + ", " +
                           BodyJson(f.sky.source, f.sourceGeometricElevation).substr(1)
                     : std::string()) +
           (f.radioMode ? ", \"radio\": " + RadioJson(f) : std::string()) + "}\n";
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
    std::string out = "UTC " + UtcText(f.epochSeconds) + "   site " + Decimals(site.latitude, 4) + " " +
                      Decimals(site.longitude, 4) + " " + Decimals(site.height, 1) + " m\n";
    out += line("", "Sun", "Moon", "");
    out += line("Azimuth", Decimals(s.azimuth, 2), Decimals(m.azimuth, 2), "deg");
    out += line("Elevation", Decimals(s.elevation, 2), Decimals(m.elevation, 2), "deg, refraction included");
    out += line("Geometric elevation", Decimals(f.sunGeometricElevation, 2), Decimals(f.moonGeometricElevation, 2), "deg");
    out += line("Right ascension", Decimals(nav::Degrees(s.rightAscension) / 15, 4),
                Decimals(nav::Degrees(m.rightAscension) / 15, 4), "h, topocentric");
    out += line("Declination", Decimals(nav::Degrees(s.declination), 2), Decimals(nav::Degrees(m.declination), 2),
                "deg, topocentric");
    out += line("Hour angle", Decimals(s.hourAngle, 2), Decimals(m.hourAngle, 2), "deg");
    out += line("Distance", Decimals(s.distance, 0), Decimals(m.distance, 0), "km");
    out += "Moon elongation       " + Decimals(f.sky.moonElongation, 2) + " deg\n";
    out += "Anomaly phase         " + Decimals(f.anomalyPhase, 2) + " /256\n";
    out += "Range rate            " + Decimals(f.eme.moonRangeRate, 4) + " km/s\n";
    out += "Echo Doppler          " + BandLine(f.eme.dopplerShift, 0, "Hz");
    out += "Path loss vs perigee  " + Decimals(f.eme.pathLossVsPerigee, 2) + " dB\n";
    out += "Echo delay            " + Decimals(f.eme.echoDelay, 3) + " s\n";
    const nav::SkyBehindMoon& sky = f.skyBehindMoon;
    out += "Sky behind the Moon   galactic l " + Decimals(sky.galactic.longitude, 2) + " b " +
           Decimals(sky.galactic.latitude, 2) + " deg\n";
    out += "Sky temperature       " + BandLine(sky.skyTemperature, 0, "K");
    out += "Degradation           " + BandLine(sky.degradation, 2, "dB");
    if (f.source) {
        const nav::BodyState& b = f.sky.source;
        std::string name = nav::SourceData(*f.source).name;
        name.resize(22, ' ');
        out += name + "azimuth " + Decimals(b.azimuth, 2) + " deg, elevation " + Decimals(b.elevation, 2) +
               " deg (refraction included), geometric " + Decimals(f.sourceGeometricElevation, 2) + " deg\n";
        out += "                      right ascension " + Decimals(nav::Degrees(b.rightAscension) / 15, 4) +
               " h, declination " + Decimals(nav::Degrees(b.declination), 2) + " deg (of date), hour angle " +
               Decimals(b.hourAngle, 2) + " deg\n";
    }
    if (f.radioMode)
        out += "Radio                 " + ModeText(*f.radioMode) + ": RX " + Decimals(f.radio.rxDial / kHzPerMHz, 6) +
               " MHz (" + SignedHertz(f.radio.rxCorrection) + ")  TX " + Decimals(f.radio.txDial / kHzPerMHz, 6) +
               " MHz (" + SignedHertz(f.radio.txCorrection) + ")\n";
    if (!f.planner) return out;
    const nav::PlannerFigures& p = *f.planner;
    out += "DX                    " + SiteText(f.dx->site) + "\n";
    out += "DX Moon               azimuth " + Decimals(p.dx.azimuth, 2) + " deg, elevation " +
           Decimals(p.dx.elevation, 2) + " deg (refraction included)\n";
    out += "DX range rate         " + Decimals(p.dx.rangeRate, 4) + " km/s\n";
    out += "DX echo Doppler       " + BandLine(p.dxEchoDoppler, 0, "Hz");
    out += "Cross Doppler         " + BandLine(p.crossDoppler, 0, "Hz");
    out += "Polarisation offset   " + Decimals(p.polarisationOffset, 1) + " deg, loss " +
           Decimals(p.polarisationLoss, 1) + " dB\n";
    return out;
}

std::string TableHeader(bool csv, bool withRadio) {
    if (csv)
        return std::string("utc,sunAzimuth,sunElevation,sunRightAscension,sunDeclination,sunDistance,moonAzimuth,"
                           "moonElevation,moonRightAscension,moonDeclination,moonDistance,moonElongation") +
               (withRadio ? ",rxDial,txDial\n" : "\n");
    return std::string("UTC                    Sun Az   Sun El   Sun RA  Sun Dec     Sun km  Moon Az  Moon El  Moon RA "
                       "Moon Dec   Moon km    Elong") +
           (withRadio ? "      RX dial Hz      TX dial Hz\n" : "\n");
}

std::string TableRow(const InstantFigures& f, bool csv) {
    const nav::BodyState& s = f.sky.sun;
    const nav::BodyState& m = f.sky.moon;
    struct Column {
        double value;
        int decimals, width;  // width in the aligned text
    };
    const int angle = kAngleDecimals, distance = kDistanceDecimals;
    const Column columns[] = {{s.azimuth, angle, 10},
                              {s.elevation, angle, 9},
                              {nav::Degrees(s.rightAscension), angle, 9},
                              {nav::Degrees(s.declination), angle, 9},
                              {s.distance, distance, 11},
                              {m.azimuth, angle, 9},
                              {m.elevation, angle, 9},
                              {nav::Degrees(m.rightAscension), angle, 9},
                              {nav::Degrees(m.declination), angle, 9},
                              {m.distance, distance, 10},
                              {f.sky.moonElongation, angle, 9}};
    std::string row = csv ? IsoUtc(f.epochSeconds) : UtcText(f.epochSeconds);
    for (const Column& c : columns)
        row += csv ? "," + Decimals(c.value, c.decimals) : Padded(Decimals(c.value, c.decimals), c.width);
    if (f.radioMode)
        for (const double dial : {f.radio.rxDial, f.radio.txDial})
            row += csv ? "," + Decimals(dial, 0) : Padded(Decimals(dial, 0), kDialWidth);
    return row + "\n";
}

std::string RiseSetJson(const nav::RiseSetTexts& texts, bool showUtc, std::int64_t dayStartEpochSeconds) {
    return std::string("{\"showUtc\": ") + (showUtc ? "true" : "false") + ", \"sun\": " +
           PanelJson(texts.sun, dayStartEpochSeconds) + ", \"moon\": " + PanelJson(texts.moon, dayStartEpochSeconds) +
           "}\n";
}

std::string RiseSetText(const nav::RiseSetTexts& texts) {
    return PanelText("Sun", texts.sun) + PanelText("Moon", texts.moon);
}

std::string WindowsText(const WindowsReport& r) {
    std::string out = "Home " + SiteText(r.home.site) + ", DX " + SiteText(r.dx.site) + ", Moon at or above " +
                      Decimals(r.minElevation, 1) + " deg at both\n";
    if (r.windows.empty()) return out + "no common window in these days\n";
    out += "Start (UTC)          End (UTC)            Minutes  Home max    DX max\n";
    for (const nav::CommonWindow& w : r.windows)
        out += UtcText(r.firstEpochSeconds + w.start) + "  " + UtcText(r.firstEpochSeconds + w.end) +
               Padded(Decimals(w.minutes(), kWindowDecimals), 9) + Padded(Decimals(w.homeMaxElevation, kWindowDecimals), 10) +
               Padded(Decimals(w.dxMaxElevation, kWindowDecimals), 10) + "\n";
    return out;
}

std::string WindowsJson(const WindowsReport& r) {
    std::string windows;
    for (const nav::CommonWindow& w : r.windows)
        windows += std::string(windows.empty() ? "" : ", ") + "{\"start\": " +
                   JsonString(IsoUtc(r.firstEpochSeconds + w.start)) + ", \"end\": " +
                   JsonString(IsoUtc(r.firstEpochSeconds + w.end)) + ", \"minutes\": " + Number(w.minutes()) +
                   ", \"homeMaxElevation\": " + Number(w.homeMaxElevation) + ", \"dxMaxElevation\": " +
                   Number(w.dxMaxElevation) + "}";
    return "{\"home\": " + SiteJson(r.home.site) + ", \"dx\": " + SiteJson(r.dx.site) + ", \"minElevation\": " +
           Number(r.minElevation) + ", \"windows\": [" + windows + "]}\n";
}

std::string WindowsCsv(const WindowsReport& r) {
    std::string out = "start,end,minutes,homeMaxElevation,dxMaxElevation\n";
    for (const nav::CommonWindow& w : r.windows)
        out += IsoUtc(r.firstEpochSeconds + w.start) + "," + IsoUtc(r.firstEpochSeconds + w.end) + "," +
               Decimals(w.minutes(), kWindowDecimals) + "," + Decimals(w.homeMaxElevation, kWindowDecimals) + "," +
               Decimals(w.dxMaxElevation, kWindowDecimals) + "\n";
    return out;
}

}  // namespace ephem
