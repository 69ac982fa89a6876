#include "tools/skyrel-ephem/options.h"

#include <QString>
#include <chrono>
#include <cmath>
#include <map>

#include "app/radio/radiosettings.h"
#include "app/settings/calibrationsettings.h"
#include "app/settings/numbertext.h"
#include "navlib/commonwindow.h"
#include "navlib/printabletext.h"

namespace ephem {
namespace {

// Day numbers, and so every figure, are exact from 1901 March 1 to 2100 February 28.
constexpr CalendarDate kFirstDate{1901, 3, 1};
constexpr CalendarDate kLastDate{kLastInstant.year, kLastInstant.month, kLastInstant.day};

constexpr double kMaxHeightMetres = 100000;
constexpr double kMinHeightMetres = -1000;
constexpr double kMaxLocalOffsetHours = 14;
constexpr long long kMaxEverySeconds = 366LL * 86400;
constexpr long long kMaxCount = 1000000;
constexpr long long kMaxWindowDays = 366;

// The flags that take a value, with the form of that value.
const std::map<std::string, std::string> kValueForms{
    {"--lat", "DEG"},         {"--lon", "DEG"},          {"--height", "M"},
    {"--utc", "YYYY-MM-DDTHH:MM:SS"}, {"--date", "YYYY-MM-DD"}, {"--local-offset", "HOURS"},
    {"--every", "SECONDS"},   {"--count", "N"},          {"--dx", "LOCATOR or LAT,LON"},
    {"--dx-height", "M"},     {"--days", "N"},           {"--min-elevation", "DEG"},
    {"--ephemeris", "standard|precise"}, {"--dish", "M"}, {"--efficiency", "E"},
    {"--flux", "MHZ:SFU[,MHZ:SFU...]"}, {"--source", "casa|cyga|taua|vira"}, {"--radio", "MODE"},
    {"--rx-sky", "HZ"}, {"--tx-sky", "HZ"}};

// Numbers on the command line read as the tracker reads its settings: '.' only, whole texts only.
std::optional<double> ParseDouble(const std::string& text) { return skyrel::ParseReal(QString::fromStdString(text)); }

std::optional<long long> ParseInteger(const std::string& text) {
    return skyrel::ParseInteger(QString::fromStdString(text));
}

// Exactly `width` decimal digits.
std::optional<int> ParseDigits(const std::string& text, std::size_t pos, std::size_t width) {
    if (pos + width > text.size()) return std::nullopt;
    int value = 0;
    for (std::size_t i = pos; i < pos + width; ++i) {
        if (text[i] < '0' || text[i] > '9') return std::nullopt;
        value = value * 10 + (text[i] - '0');
    }
    return value;
}

bool InSupportedRange(const CalendarDate& d) {
    const auto key = [](const CalendarDate& c) { return (c.year * 100 + c.month) * 100 + c.day; };
    return key(d) >= key(kFirstDate) && key(d) <= key(kLastDate);
}

// Exactly "YYYY-MM-DD", a real calendar date in the supported range.
std::optional<CalendarDate> ParseDate(const std::string& text) {
    if (text.size() != 10 || text[4] != '-' || text[7] != '-') return std::nullopt;
    const auto y = ParseDigits(text, 0, 4), m = ParseDigits(text, 5, 2), d = ParseDigits(text, 8, 2);
    if (!y || !m || !d) return std::nullopt;
    const std::chrono::year_month_day ymd{std::chrono::year{*y}, std::chrono::month{static_cast<unsigned>(*m)},
                                          std::chrono::day{static_cast<unsigned>(*d)}};
    if (!ymd.ok()) return std::nullopt;
    const CalendarDate date{*y, *m, *d};
    if (!InSupportedRange(date)) return std::nullopt;
    return date;
}

std::optional<UtcInstant> ParseInstant(const std::string& text) {
    if (text.size() != 19 || text[10] != 'T' || text[13] != ':' || text[16] != ':') return std::nullopt;
    const auto date = ParseDate(text.substr(0, 10));
    const auto h = ParseDigits(text, 11, 2), mi = ParseDigits(text, 14, 2), s = ParseDigits(text, 17, 2);
    if (!date || !h || !mi || !s || *h > 23 || *mi > 59 || *s > 59) return std::nullopt;
    return UtcInstant{date->year, date->month, date->day, *h, *mi, *s};
}

std::string Quoted(const std::string& text) { return "\"" + nav::PrintableText(text) + "\""; }

}  // namespace

std::optional<Options> ParseOptions(const std::vector<std::string>& args, std::string& error) {
    Options o;
    const auto fail = [&error](const std::string& message) {
        error = message;
        return std::nullopt;
    };
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& flag = args[i];
        const auto form = kValueForms.find(flag);
        std::string value;
        if (form != kValueForms.end()) {
            if (i + 1 >= args.size()) return fail(flag + " needs a value: " + flag + " " + form->second);
            value = args[++i];
        }
        if (flag == "--help" || flag == "-h") {
            o.help = true;
        } else if (flag == "--json") {
            o.json = true;
        } else if (flag == "--csv") {
            o.csv = true;
        } else if (flag == "--calibration") {
            o.calibration = true;
        } else if (flag == "--dish") {
            o.dishDiameter = ParseDouble(value);
            if (!o.dishDiameter || *o.dishDiameter < skyrel::kDishDiameterRange.lowest ||
                *o.dishDiameter > skyrel::kDishDiameterRange.highest)
                return fail("--dish expects the dish diameter in metres from 0.3 to 100, e.g. --dish 3 (got " +
                            Quoted(value) + ")");
        } else if (flag == "--efficiency") {
            o.efficiency = ParseDouble(value);
            if (!o.efficiency || *o.efficiency < skyrel::kEfficiencyRange.lowest ||
                *o.efficiency > skyrel::kEfficiencyRange.highest)
                return fail("--efficiency expects the aperture efficiency from 0.05 to 1, e.g. --efficiency 0.55 "
                            "(got " + Quoted(value) + ")");
        } else if (flag == "--flux") {
            std::string why;
            o.solarFlux = nav::ParseSolarFluxReadings(value, why);
            if (!o.solarFlux || o.solarFlux->empty())
                return fail("--flux expects solar flux readings MHz:sfu separated by commas, e.g. --flux "
                            "2800:120,1415:85" + (why.empty() ? std::string() : ": " + why));
        } else if (flag == "--source") {
            o.source = nav::RadioSourceOfKey(value);
            if (!o.source)
                return fail("--source expects casa, cyga, taua or vira, e.g. --source casa (got " + Quoted(value) +
                            ")");
        } else if (flag == "--riseset") {
            o.riseSet = true;
        } else if (flag == "--windows") {
            o.windows = true;
        } else if (flag == "--dx") {
            std::string why;
            o.dx = nav::ParsePosition(value, why);
            if (!o.dx)
                return fail("--dx expects a locator of 4, 6 or 8 characters or LAT,LON in degrees, e.g. --dx FN31pr "
                            "or --dx 52.52,13.38: " + why);
        } else if (flag == "--dx-height") {
            o.dxHeight = ParseDouble(value);
            if (!o.dxHeight || *o.dxHeight < nav::kMinStationHeightM || *o.dxHeight > nav::kMaxStationHeightM)
                return fail("--dx-height expects metres from -500 to 9000, e.g. --dx-height 30 (got " + Quoted(value) +
                            ")");
        } else if (flag == "--days") {
            o.days = ParseInteger(value);
            if (!o.days || *o.days < 1 || *o.days > kMaxWindowDays)
                return fail("--days expects whole days from 1 to 366, e.g. --days 7 (got " + Quoted(value) + ")");
        } else if (flag == "--min-elevation") {
            o.minElevation = ParseDouble(value);
            if (!o.minElevation || *o.minElevation < nav::kLowestMinimumElevationDeg ||
                *o.minElevation > nav::kHighestMinimumElevationDeg)
                return fail("--min-elevation expects degrees from -5 to 60, e.g. --min-elevation 10 (got " +
                            Quoted(value) + ")");
        } else if (flag == "--lat") {
            o.latitude = ParseDouble(value);
            if (!o.latitude || *o.latitude < -90 || *o.latitude > 90)
                return fail("--lat expects degrees from -90 to 90, north positive, e.g. --lat 38.02 (got " +
                            Quoted(value) + ")");
        } else if (flag == "--lon") {
            o.longitude = ParseDouble(value);
            if (!o.longitude || *o.longitude < -180 || *o.longitude > 180)
                return fail("--lon expects degrees from -180 to 180, east positive, e.g. --lon -78.63 (got " +
                            Quoted(value) + ")");
        } else if (flag == "--height") {
            o.height = ParseDouble(value);
            if (!o.height || *o.height < kMinHeightMetres || *o.height > kMaxHeightMetres)
                return fail("--height expects metres from -1000 to 100000, e.g. --height 100 (got " + Quoted(value) +
                            ")");
        } else if (flag == "--utc") {
            o.utc = ParseInstant(value);
            if (!o.utc)
                return fail("--utc expects a UTC instant YYYY-MM-DDTHH:MM:SS from 1901-03-01 to 2100-02-28, "
                            "e.g. --utc 2005-09-21T17:15:00 (got " + Quoted(value) + ")");
        } else if (flag == "--date") {
            o.date = ParseDate(value);
            if (!o.date)
                return fail("--date expects a date YYYY-MM-DD from 1901-03-01 to 2100-02-28, "
                            "e.g. --date 2005-09-21 (got " + Quoted(value) + ")");
        } else if (flag == "--local-offset") {
            o.localOffset = ParseDouble(value);
            if (!o.localOffset || std::fabs(*o.localOffset) > kMaxLocalOffsetHours)
                return fail("--local-offset expects hours of local time minus UTC from -14 to 14, "
                            "e.g. --local-offset -5 (got " + Quoted(value) + ")");
        } else if (flag == "--every") {
            o.everySeconds = ParseInteger(value);
            if (!o.everySeconds || *o.everySeconds < 1 || *o.everySeconds > kMaxEverySeconds)
                return fail("--every expects whole seconds from 1 to 31622400, e.g. --every 60 (got " +
                            Quoted(value) + ")");
        } else if (flag == "--count") {
            o.count = ParseInteger(value);
            if (!o.count || *o.count < 1 || *o.count > kMaxCount)
                return fail("--count expects a number of rows from 1 to 1000000, e.g. --count 10 (got " +
                            Quoted(value) + ")");
        } else if (flag == "--ephemeris") {
            if (value != "standard" && value != "precise")
                return fail("--ephemeris expects standard or precise, e.g. --ephemeris precise (got " + Quoted(value) +
                            ")");
            o.precise = value == "precise";
        } else if (flag == "--radio") {
            o.radio = skyrel::RadioModeOfWord(QString::fromStdString(value));
            if (!o.radio)
                return fail("--radio expects " + skyrel::RadioModeWords().toStdString() + ", e.g. --radio echo (got " +
                            Quoted(value) + ")");
        } else if (flag == "--rx-sky" || flag == "--tx-sky") {
            std::optional<double>& sky = flag == "--rx-sky" ? o.rxSky : o.txSky;
            sky = ParseDouble(value);
            if (!sky || *sky < skyrel::kRadioSkyRange.lowest || *sky > skyrel::kRadioSkyRange.highest)
                return fail(flag + " expects Hz from 1000000 to 300000000000, e.g. " + flag + " 1296050000 (got " +
                            Quoted(value) + ")");
        } else {
            return fail("unknown option " + Quoted(flag) + "; see skyrel-ephem --help");
        }
    }
    if (o.help) return o;
    if (o.everySeconds.has_value() != o.count.has_value())
        return fail("--every and --count go together: --every SECONDS --count N");
    if (o.everySeconds && (o.json || o.riseSet || o.windows))
        return fail("--every makes a table; it does not combine with --json, --riseset or --windows");
    if (o.dxHeight && !o.dx) return fail("--dx-height goes with --dx: --dx LOCATOR --dx-height M");
    if (o.radio.has_value() != o.rxSky.has_value())
        return fail("--radio and --rx-sky go together: --radio MODE --rx-sky HZ [--tx-sky HZ]");
    if (o.txSky && !o.radio) return fail("--tx-sky goes with --radio MODE --rx-sky HZ");
    if (o.radio && (o.riseSet || o.windows))
        return fail("--radio adds the dials to one instant or to a table, not to --riseset or --windows");
    if (o.radio && nav::NeedsDxStation(*o.radio) && !o.dx)
        return fail("--radio " + skyrel::RadioModeWord(*o.radio).toStdString() +
                    " follows a DX station: add --dx LOCATOR or --dx LAT,LON");
    if (o.dx && o.riseSet) return fail("--dx applies to one instant, to tables with --radio and to --windows");
    if (o.dx && o.everySeconds && !o.radio)
        return fail("--dx applies to a table only with --radio, for the dials of a DX convention");
    if (o.windows && !o.dx) return fail("--windows needs the DX station: --windows --dx LOCATOR or --dx LAT,LON");
    if (o.windows && (o.riseSet || o.utc || o.localOffset))
        return fail("--windows lists whole UTC days: give the first with --date YYYY-MM-DD, not --utc, "
                    "--riseset or --local-offset");
    if (!o.windows && (o.days || o.minElevation))
        return fail("--days and --min-elevation apply to --windows only: --windows --dx LOCATOR [--days N] "
                    "[--min-elevation DEG]");
    if (o.windows && o.csv && o.json) return fail("--windows prints --json or --csv, not both");
    if (o.calibration && o.csv && o.json) return fail("--calibration prints --json or --csv, not both");
    if (o.calibration && o.source)
        return fail("--calibration lists every source's position already; --source is for one instant's figures");
    if (o.csv && !o.everySeconds && !o.windows && !o.calibration)
        return fail("--csv applies to tables, windows and the calibration only: --every SECONDS --count N --csv");
    if (!o.riseSet && o.localOffset)
        return fail("--local-offset applies to --riseset only: --riseset [--date YYYY-MM-DD] [--local-offset HOURS]");
    if (!o.riseSet && !o.windows && o.date)
        return fail("--date applies to --riseset and --windows only: --riseset [--date YYYY-MM-DD] or --windows "
                    "--dx LOCATOR [--date YYYY-MM-DD]");
    if (o.riseSet && o.utc) return fail("--utc does not apply to --riseset; give the day with --date YYYY-MM-DD");
    if (!o.calibration && (o.dishDiameter || o.efficiency || o.solarFlux))
        return fail("--dish, --efficiency and --flux apply to --calibration only: --calibration --dish M "
                    "--efficiency E --flux MHZ:SFU[,MHZ:SFU...]");
    if ((o.calibration || o.source) && (o.riseSet || o.windows || o.everySeconds || o.dx))
        return fail("--calibration and --source apply to one instant: [--utc YYYY-MM-DDTHH:MM:SS], not to "
                    "--riseset, --windows, --every or --dx");
    return o;
}

std::string HelpText() {
    return R"(Usage:
  skyrel-ephem [SITE] [--utc YYYY-MM-DDTHH:MM:SS] [--json]
  skyrel-ephem [SITE] --riseset [--date YYYY-MM-DD] [--local-offset HOURS] [--json]
  skyrel-ephem [SITE] [--utc YYYY-MM-DDTHH:MM:SS] --every SECONDS --count N [--csv]
  skyrel-ephem [SITE] [--utc YYYY-MM-DDTHH:MM:SS] --dx LOCATOR|LAT,LON [--dx-height M] [--json]
  skyrel-ephem [SITE] --windows --dx LOCATOR|LAT,LON [--dx-height M] [--date YYYY-MM-DD] [--days N]
               [--min-elevation DEG] [--json | --csv]
  skyrel-ephem [SITE] [--utc YYYY-MM-DDTHH:MM:SS] --calibration [--dish M] [--efficiency E]
               [--flux MHZ:SFU[,MHZ:SFU...]] [--json | --csv]
  skyrel-ephem [SITE] [--utc YYYY-MM-DDTHH:MM:SS] --source casa|cyga|taua|vira [--json]
  any instant or table form with --radio MODE --rx-sky HZ [--tx-sky HZ]

Sun and Moon figures from the tracker's engine, for planning an EME session, scripting a station, or
checking the engine against other programs.

SITE:
  --lat DEG          latitude in degrees, -90 to 90, north positive
  --lon DEG          longitude in degrees, -180 to 180, east positive
  --height M         height above the ellipsoid in metres, -1000 to 100000
  Each one left out is taken from the tracker's stored observer site, or else from the built-in site
  38.02, -78.63, 100 m.

One instant (default):
  --utc YYYY-MM-DDTHH:MM:SS   the UTC instant, 1901-03-01 to 2100-02-28 (default: now)
  Prints the figures of one cycle of the tracker: for the Sun and the Moon the azimuth and elevation
  (refraction included, as the main window shows it), the geometric elevation, topocentric right
  ascension and declination, local hour angle and distance; the Moon's elongation from the Sun, its
  anomaly phase in 256ths of the anomalistic month, and the EME figures of the EME window after two
  cycles at t - 1 s and t: range rate, echo Doppler on 144, 435, 1296, 2320 and 10368 MHz, path loss
  relative to perigee and echo delay.
  --json   one JSON object with the keys utc (YYYY-MM-DDTHH:MM:SSZ), dut1 (precise only: seconds,
           source iers-observed|iers-predicted|stored, iersFile; else null), sun and moon (azimuth,
           elevation, geometricElevation, rightAscension, declination, hourAngle, distance,
           geoRightAscension, geoDeclination), moonElongation, anomalyPhase and eme (rangeRate,
           dopplerShift, pathLossVsPerigee, echoDelay). Every angle in degrees; distances in km; range
           rates in km/s; Doppler shifts in Hz; numbers with 17 significant digits (man skyrel-ephem lists
           each field).
  Always, the sky behind the Moon: its galactic longitude and latitude (of its J2000 direction), the
  sky temperature on each band (the 408 MHz survey, bilinear between its whole degrees, as
  (T408 - 2.725 K) (f / 408 MHz)^-2.6 + 2.725 K) and the degradation against the best possible night (path loss relative to
  perigee and the sky noise against the coldest sky the Moon can stand in, with the receiving-system
  temperatures stored by the EME planner, by default 100, 60, 50, 50 and 60 K). --json adds the object
  sky (galacticLongitude, galacticLatitude, tsky: 5 values in K, degradation: 5 values in dB).

DX station (one instant and --windows):
  --dx LOCATOR|LAT,LON   the DX station: a Maidenhead locator of 4, 6 or 8 characters (letters in either
                         case), taken at the centre of its square, or latitude,longitude in degrees
  --dx-height M          the DX station's height in metres, -500 to 9000 (default 0)
  With one instant it adds the DX's Moon azimuth and elevation (refraction included), its range rate, the
  DX's own echo Doppler and the cross Doppler -f (r'home + r'dx) / c (what each station hears of the
  other) on every band, and the spatial polarisation offset (difference of the Moon's parallactic
  angles, -90 to 90 deg) with its loss (dB, at most 30). --json adds the object dx (locator, latitude,
  longitude, azimuth, elevation, rangeRate, echoDoppler, crossDoppler, polarisationOffset,
  polarisationLoss); the home station's own echo stays in eme.

Common Moon windows:
  --windows             the intervals in which both stations see the Moon at or above the minimum
                        elevation (refraction included), one a line: start and end UTC to the second,
                        length in minutes, the highest elevation at home and at the DX inside it
  --date YYYY-MM-DD     the first UTC day (default: today)
  --days N              whole UTC days from 00:00 UTC of the date, 1 to 366 (default 1), ending by
                        2100-02-28; a window open at either end of the span is cut there
  --min-elevation DEG   -5 to 60 (default: the EME planner's stored minimum, else 0)
  --json                {"home": {...}, "dx": {...}, "minElevation": ..., "windows": [{"start":
                        "YYYY-MM-DDTHH:MM:SSZ", "end": ..., "minutes": ..., "homeMaxElevation": ...,
                        "dxMaxElevation": ...}]}
  --csv                 comma-separated values with a header row, the decimals of the text
  With no common window the text says "no common window in these days".

Radio source (one instant):
  --source casa|cyga|taua|vira   adds Cas A, Cyg A, Tau A or Vir A with the Sun's figures (J2000
                        position precessed to the date; no distance). --json adds the object source
                        (name and the Sun's keys).

Calibration:
  --calibration         per band (144, 435, 1296, 2320, 10368 MHz): the beamwidth 68 lambda/D, the
                        cold-sky Tsys (the EME planner's Trx plus the coldest sky the Moon can stand in),
                        the solar flux at the band, the Sun's beam correction K and predicted Y, the
                        Moon's Y, each source's flux and Y ("outside fit" beyond its fit), and the
                        sources' azimuth and elevation at the instant
  --dish M              dish diameter, 0.3 to 100 m (default: the stored "Dish Diameter", else 3)
  --efficiency E        aperture efficiency, 0.05 to 1 (default: the stored "Efficiency", else 0.55)
  --flux MHZ:SFU,...    observed solar flux in sfu at observatory frequencies, e.g. 2800:120,1415:85
                        (default: the stored "Solar Flux"); log-log between the two nearest, extended
                        beyond them; one reading alone is scaled by (f / f0)^0.5
  --json                {"utc", "dish": {"diameter", "efficiency"}, "solarFlux": [{"frequency",
                        "sfu"}], "calibration": [{"frequency" (MHz), "beamwidth" (deg), "tsys" (K),
                        "sunFlux" (sfu), "sunK", "sunY", "moonY" (dB), "sources": {"casa": {"flux"
                        (Jy), "y" (dB)}, ...}}], "sources": [{"key", "name", "azimuth",
                        "elevation"}]}; null where there is no value
  --csv                 one line a band: the table's rows as columns, with their decimals

Rise, set and transit:
  --riseset             the rise/set/transit and max/min texts of the main window's Sun and Moon panels
  --date YYYY-MM-DD     the day (default: today); a local date when --local-offset is given
  --local-offset HOURS  local time minus UTC, -14 to 14: shows the local day and local times, as the
                        window does in local display; without it the UTC day in UTC
  --json                {"showUtc": ..., "sun": {"rows": [[caption, text, utc], [caption, text, utc]],
                        "transit": [caption, text, utc], "maxMin": text}, "moon": {...}}; utc is the
                        minute the text shows as YYYY-MM-DDTHH:MM:SSZ, or null where it shows none

Table:
  --every SECONDS   step between rows, whole seconds from 1 to 31622400
  --count N         number of rows, 1 to 1000000; the last row must fall by 2100-02-28T23:59:59
  --csv             comma-separated values with a header row instead of aligned text, with its decimals
  Columns: UTC instant; for the Sun and then the Moon azimuth and elevation (refraction included),
  right ascension and declination (topocentric), all in degrees, and distance in km; then the Moon's
  elongation in degrees.

Radio dials (one instant and tables):
  --radio off|echo|moon|dx|dx-echo|call-dx
                the Doppler convention, as the radio follows it: Own Echo, Constant On Moon, Full To DX,
                On DX Echo, Call DX (the last three need --dx; with a table --dx is allowed then)
  --rx-sky HZ   the receive sky frequency in Hz, 1000000 to 300000000000
  --tx-sky HZ   the transmit sky frequency (default: the receive one)
  Adds the receive and transmit corrections and dials (sky frequency plus correction, whole Hz, from the
  range rates d(t) - d(t - 1 s) at home and at the DX) to the instant ("Radio" line; --json adds the object
  radio: mode, rxSky, txSky, rxCorrection, txCorrection, rxDial, txDial) and to each table row (the
  columns RX dial and TX dial; CSV rxDial, txDial).

Ephemeris (every mode):
  --ephemeris standard|precise
           standard (default): the tracker's built-in series, as the tracker computes by default.
           precise: the IAU routines (ERFA), as the tracker's "Precise Ephemeris": the Moon to a few
           arcseconds and its range rate to a few cm/s, with UT1 - UTC from the IERS finals2000A file the
           tracker's "IERS File" names where it covers the instant, else from the stored "DUT1".

  --help   this text

Bad input prints one line on standard error and exits with status 2.
)";
}

}  // namespace ephem
