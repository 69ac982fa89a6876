#include "navlib/planner.h"

#include <algorithm>
#include <cmath>

#include "navlib/constants.h"
#include "navlib/eme.h"
#include "navlib/geometry.h"
#include "navlib/j2000.h"
#include "navlib/observer.h"

namespace nav {
namespace {

constexpr double kHalfTurnDeg = 180;
constexpr double kQuarterTurnDeg = 90;

// The Moon as the main window shows it: refraction added to the geometric elevation.
BodyState MoonWithRefraction(SkyState& sky) {
    sky.moon.elevation += RefractionForTrue(sky.moon.elevation);
    return sky.moon;
}

}  // namespace

PlannerSite MakePlannerSite(double latitude, double longitude, double height, const ObserverSite& engine) {
    PlannerSite s;
    s.site.latitude = latitude;
    s.site.longitude = longitude;
    s.site.height = height;
    s.site.ephemeris = engine.ephemeris;
    s.site.dut1Seconds = engine.dut1Seconds;
    s.site.iers = engine.iers;
    SetObserver(s.frame, latitude, longitude, height);
    return s;
}

BodyState MoonAt(SkyState& sky, const PlannerSite& station, int utcDay, long long second) {
    const long long days = second >= 0 ? second / kSecondsPerDay : -((-second + kSecondsPerDay - 1) / kSecondsPerDay);
    sky.clock.utcDay = utcDay + int(days);
    sky.clock.utcFraction = double(second - days * kSecondsPerDay) / kSecondsPerDay;
    sky.observerFrame = station.frame;
    ComputePositions(sky, station.site, Bodies::Moon);
    return MoonWithRefraction(sky);
}

BodyState MoonAtSameInstant(SkyState& sky, const PlannerSite& station) {
    sky.observerFrame = station.frame;
    ComputeTopocentricPositions(sky, station.site, Bodies::Moon);
    return MoonWithRefraction(sky);
}

GalacticAngles GalacticOfTopocentric(double rightAscension, double declination, int utcDay, double utcFraction,
                                     Ephemeris ephemeris) {
    const Vec3 j2000 = ToJ2000(AnglesToVector(declination, rightAscension), utcDay, utcFraction, ephemeris);
    const SphericalAngles angles = VectorToAngles(j2000);
    return EquatorialToGalactic(Degrees(angles.longitude), Degrees(angles.latitude));
}

double ParallacticAngle(double hourAngleDeg, double latitudeDeg, double declinationRad) {
    const double h = Radians(hourAngleDeg);
    const double phi = Radians(latitudeDeg);
    return Degrees(std::atan2(std::sin(h), std::tan(phi) * std::cos(declinationRad) -
                                               std::sin(declinationRad) * std::cos(h)));
}

double PolarisationOffset(double homeParallacticDeg, double dxParallacticDeg) {
    // Into (-180, 180) in constant time, then by at most one half turn into (-90, 90].
    double offset = std::fmod(homeParallacticDeg - dxParallacticDeg, kHalfTurnDeg);
    if (offset > kQuarterTurnDeg) offset -= kHalfTurnDeg;
    if (offset <= -kQuarterTurnDeg) offset += kHalfTurnDeg;
    return offset;
}

double PolarisationLoss(double offsetDeg) {
    const double loss = -20 * std::log10(std::fabs(std::cos(Radians(offsetDeg))));
    return std::min(loss, kMaxPolarisationLossDb);
}

BandValues EchoDoppler(double rangeRate) { return CrossDoppler(rangeRate, rangeRate); }

BandValues CrossDoppler(double homeRangeRate, double dxRangeRate) {
    BandValues shift{};
    for (std::size_t i = 0; i < kBandCount; ++i)
        shift[i] = -kEmeBandsMHz[i] * kHzPerMHz * (homeRangeRate + dxRangeRate) / kSpeedOfLightKmPerS;
    return shift;
}

StationMoon StationMoonAt(SkyState& sky, const PlannerSite& station, int utcDay, long long second) {
    const double previousDistance = MoonAt(sky, station, utcDay, second - 1).distance;
    const BodyState moon = MoonAt(sky, station, utcDay, second);
    StationMoon m;
    m.azimuth = moon.azimuth;
    m.elevation = moon.elevation;
    m.distance = moon.distance;
    m.rangeRate = moon.distance - previousDistance;
    m.parallacticAngle = ParallacticAngle(moon.hourAngle, station.site.latitude, moon.declination);
    m.rightAscension = moon.rightAscension;
    m.declination = moon.declination;
    m.galactic = GalacticOfTopocentric(moon.rightAscension, moon.declination, sky.clock.utcDay,
                                       sky.clock.utcFraction, station.site.ephemeris);
    return m;
}

PlannerFigures ComputePlannerFigures(SkyState& sky, const PlannerSite& home, const PlannerSite& dx, int utcDay,
                                     long long second, const SkySurvey& survey, const BandValues& receiverKelvin) {
    PlannerFigures f;
    f.home = StationMoonAt(sky, home, utcDay, second);
    f.dx = StationMoonAt(sky, dx, utcDay, second);
    f.homeEchoDoppler = EchoDoppler(f.home.rangeRate);
    f.dxEchoDoppler = EchoDoppler(f.dx.rangeRate);
    f.crossDoppler = CrossDoppler(f.home.rangeRate, f.dx.rangeRate);
    f.polarisationOffset = PolarisationOffset(f.home.parallacticAngle, f.dx.parallacticAngle);
    f.polarisationLoss = PolarisationLoss(f.polarisationOffset);
    f.sky = ComputeSkyBehindMoon(f.home.galactic, f.home.distance, survey, receiverKelvin);
    return f;
}

SkyBehindMoon ComputeSkyBehindMoon(GalacticAngles galactic, double distanceKm, const SkySurvey& survey,
                                   const BandValues& receiverKelvin) {
    SkyBehindMoon sky;
    sky.galactic = galactic;
    const double kelvinAt408 = survey.temperature(galactic);
    const double pathLoss = PathLossVsPerigee(distanceKm);
    for (std::size_t i = 0; i < kBandCount; ++i) {
        sky.skyTemperature[i] = SkyTemperatureAt(kelvinAt408, kEmeBandsMHz[i]);
        const double coldest = ColdSkyTemperature(survey, kEmeBandsMHz[i]);
        sky.degradation[i] = pathLoss - 10 * std::log10((receiverKelvin[i] + sky.skyTemperature[i]) /
                                                        (receiverKelvin[i] + coldest));
    }
    return sky;
}

DayProfile ComputeDayProfile(SkyState& sky, const PlannerSite& home, const PlannerSite& dx, int utcDay,
                             int stepSeconds, const SkySurvey& survey) {
    DayProfile p;
    for (long long second = 0; second <= kSecondsPerDay; second += stepSeconds) {
        const BodyState dxMoon = MoonAt(sky, dx, utcDay, second);
        const BodyState homeMoon = MoonAtSameInstant(sky, home);
        p.hours.push_back(second / kSecondsPerHour);
        p.homeElevation.push_back(homeMoon.elevation);
        p.dxElevation.push_back(dxMoon.elevation);
        const GalacticAngles galactic = GalacticOfTopocentric(homeMoon.rightAscension, homeMoon.declination,
                                                              sky.clock.utcDay, sky.clock.utcFraction,
                                                              home.site.ephemeris);
        p.skyTemperature.push_back(SkyTemperatureAt(survey.temperature(galactic), kEmeBandsMHz[0]));
    }
    return p;
}

}  // namespace nav
