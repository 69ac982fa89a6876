#include "navlib/radiosource.h"

#include <cmath>

#include "navlib/constants.h"
#include "navlib/geometry.h"
#include "navlib/j2000.h"
#include "navlib/observer.h"

namespace nav {
namespace {

// Positions: SIMBAD (ICRS, which J2000 matches to well under the engine's accuracy).
// Spectra: Perley & Butler 2017, ApJS 230, 7, Table 5 ("Fitted coefficients"), log10(S/Jy) as a
// polynomial in log10(f/GHz), with the frequency range each fit holds over (the table's last columns).
// The fits hold at the epoch of the observations behind them, taken here as 2016.0. Fading: Cas A 0.6 %/yr near
// 1.4 GHz (Reichart & Stephens 2000, ApJ 537, 904, "0.6-0.7 % yr^-1 now"), Tau A 0.18 %/yr near 1 GHz
// (Macias-Perez et al. 2010, ApJ 711, 417); Cyg A and Vir A are steady.
constexpr std::array<RadioSourceData, kRadioSourceCount> kSourceTable{{
    // Cas A: 23h23m24.0s +58d48'54"
    {"casa", "Cas A", 350.85, 58.815, {3.3584, -0.7518, -0.035, -0.071, 0}, 200, 4000, 2016.0, 0.006},
    // Cyg A: 19h59m28.357s +40d44'02.10"
    {"cyga", "Cyg A", 299.868154, 40.733917, {3.3498, -1.0022, -0.225, 0.023, 0.043}, 50, 12000, 2016.0, 0},
    // Tau A: 05h34m31.94s +22d00'52.2"
    {"taua", "Tau A", 83.633083, 22.0145, {2.9516, -0.217, -0.047, -0.067, 0}, 50, 4000, 2016.0, 0.0018},
    // Vir A: 12h30m49.42s +12d23'28.0"
    {"vira", "Vir A", 187.705917, 12.391111, {2.4466, -0.8116, -0.048, 0, 0}, 50, 3000, 2016.0, 0},
}};

constexpr double kMHzPerGHz = 1000;
// Day number of 2000 January 1 and the Julian year (days).
constexpr double kJ2000DayNumber = 730135.5;  // 12:00 of 2000 January 1
constexpr double kJ2000Year = 2000;
constexpr double kDaysPerJulianYear = 365.25;

}  // namespace

const RadioSourceData& SourceData(RadioSource source) { return kSourceTable[SourceIndex(source)]; }

std::optional<RadioSource> RadioSourceOfKey(std::string_view key) {
    for (const RadioSource source : kRadioSources)
        if (key == SourceData(source).key) return source;
    return std::nullopt;
}

std::optional<double> SourceFluxJansky(RadioSource source, double frequencyMHz, double year) {
    const RadioSourceData& data = SourceData(source);
    if (!(frequencyMHz >= data.lowestMHz && frequencyMHz <= data.highestMHz)) return std::nullopt;
    const double x = std::log10(frequencyMHz / kMHzPerGHz);
    double logFlux = 0;
    for (std::size_t i = data.coefficients.size(); i-- > 0;) logFlux = logFlux * x + data.coefficients[i];
    return std::pow(10.0, logFlux) * std::pow(1 - data.fadingPerYear, year - data.epoch);
}

double DecimalYear(int utcDay, double utcFraction) {
    return kJ2000Year + (utcDay + utcFraction - kJ2000DayNumber) / kDaysPerJulianYear;
}

BodyState RadioSourceAt(const SkyState& sky, const ObserverSite& site, RadioSource source) {
    const RadioSourceData& data = SourceData(source);
    BodyState body;
    const Vec3 j2000 = AnglesToVector(Radians(data.declination), Radians(data.rightAscension));
    body.geoEquatorialDir = FromJ2000(j2000, sky.clock.utcDay, sky.clock.utcFraction, site.ephemeris);
    const SphericalAngles equatorial = VectorToAngles(body.geoEquatorialDir);
    body.rightAscension = body.geoRightAscension = equatorial.longitude;
    body.declination = body.geoDeclination = equatorial.latitude;
    body.hourAngle = ReducedDegrees(Degrees(sky.clock.gmst) - Degrees(body.rightAscension) + site.longitude);
    body.earthFixedDir = ToEarthFixed(sky, body.geoEquatorialDir);
    const SphericalAngles horizontal =
        VectorToAngles(MatrixTimesVector(sky.observerFrame.horizonMatrix, body.earthFixedDir));
    body.elevation = Degrees(horizontal.latitude);
    body.azimuth = Degrees(horizontal.longitude);
    return body;
}

BodyState RefractedSourceAt(const SkyState& sky, const ObserverSite& site, RadioSource source) {
    BodyState body = RadioSourceAt(sky, site, source);
    body.elevation += RefractionForTrue(body.elevation);
    return body;
}

void ComputeSourcePosition(SkyState& sky, const ObserverSite& site, RadioSource source) {
    sky.source = RefractedSourceAt(sky, site, source);
}

}  // namespace nav
