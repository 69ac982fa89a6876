// Calibration physics: a Sun-noise worked example by hand, the solar flux between and beyond the
// readings, a radio source's flux against the published fit, and a source's position against an
// independent program.
#include <gtest/gtest.h>

#include <cmath>

#include "navlib/calibration.h"
#include "navlib/constants.h"
#include "navlib/observer.h"
#include "navlib/radiosource.h"
#include "navlib/timecal.h"

namespace {

// Relative tolerance of the worked example: 0.1 %, far above rounding, far below any wrong factor.
constexpr double kWorkedTolerance = 1e-3;

void ExpectRelative(double actual, double expected, const char* what) {
    EXPECT_NEAR(actual / expected, 1, kWorkedTolerance) << what << ": " << actual << " against " << expected;
}

TEST(Calibration, SunNoiseOfAThreeMetreDishWorkedByHand) {
    // 3 m dish, eta 0.55, 1296 MHz, 80 sfu at 1296 MHz, Tsys 60 K:
    //   lambda = 299792.5 km/s / 1296 MHz = 0.231321 m
    //   Ae     = 0.55 pi 3^2 / 4 = 3.887721 m^2
    //   beam   = 68 x 0.231321 / 3 = 5.24328 deg
    //   Sun    = 0.525 (1.24 - 0.162 log10 1.296) = 0.525 (1.24 - 0.018242) = 0.641423 deg
    //   x      = (0.641423 / 5.24328)^2 ln 2 = 0.0103731;  K = (1 - e^-x) / x = 0.994831
    //   Tsun   = K S Ae / 2k = 0.994831 x 80e-22 x 3.887721 / (2 x 1.380649e-23) = 1120.52 K
    //   Y      = 1 + 1120.52 / 60 = 19.6754 = 12.9392 dB
    // and back: a measured 12 dB gives G/T = 8 pi k (10^1.2 - 1) / (lambda^2 80e-22 K) = 10.8275 dB/K
    // and Tsys = 1120.52 / (10^1.2 - 1) = 75.4616 K.
    const nav::Dish dish{3, 0.55};
    const double f = 1296;
    ExpectRelative(nav::Wavelength(f), 0.231321, "lambda");
    ExpectRelative(nav::EffectiveArea(dish), 3.887721, "Ae");
    ExpectRelative(nav::Beamwidth(dish, f), 5.24328, "beamwidth");
    ExpectRelative(nav::SunRadioDiameter(f), 0.641423, "Sun diameter");
    const double k = nav::BeamCorrection(nav::SunRadioDiameter(f), nav::Beamwidth(dish, f));
    ExpectRelative(k, 0.994831, "K");
    const double tsun = nav::AntennaTemperature(80 * nav::kSolarFluxUnit, k, dish);
    ExpectRelative(tsun, 1120.52, "Tsun");
    ExpectRelative(nav::YFactorDb(tsun, 60), 12.9392, "Y");
    ExpectRelative(nav::GOverTDb(12, 80 * nav::kSolarFluxUnit, k, f), 10.8275, "G/T");
    ExpectRelative(*nav::ImpliedSystemKelvin(tsun, 12), 75.4616, "implied Tsys");
    EXPECT_FALSE(nav::ImpliedSystemKelvin(tsun, 0));

    // The same through the band's table row, with the flux interpolated from readings around 1296 MHz
    // that put 80 sfu there exactly (a straight line in log-log), Trx 50 K and Tmin 10 K.
    nav::CalibrationInputs inputs;
    inputs.dish = dish;
    inputs.solarFlux = {{1000, 80 * std::pow(1000 / f, 0.7)}, {2000, 80 * std::pow(2000 / f, 0.7)}};
    inputs.moonDistanceKm = 384400;
    const nav::CalibrationBand band = nav::ComputeCalibrationBand(inputs, f, 50, 10);
    ExpectRelative(*band.sunFlux, 80, "interpolated flux");
    ExpectRelative(*band.sunY, 12.9392, "row's Sun Y");
    // Moon at 384400 km: 2 asin(1737.4 / 384400) = 0.517952 deg; 210 (1 - e^(-ln 2 (0.517952 / 5.24328)^2))
    // = 1.41613 K; Y = 10 log10(1 + 1.41613 / 60) = 0.101308 dB.
    ExpectRelative(nav::MoonDiameter(384400), 0.517952, "Moon diameter");
    ExpectRelative(band.moonKelvin, 1.41613, "Tmoon");
    ExpectRelative(band.moonY, 0.101308, "Moon Y");
}

TEST(Calibration, SolarFluxBetweenBeyondAndFromOneReading) {
    // Readings 1415:85 and 2800:120 (given out of order). Log-log line, by hand:
    //   at 2320 MHz  120 (85/120)^(ln(2320/2800) / ln(1415/2800)) = 109.123 sfu (between)
    //   at 1296 MHz  beyond the low end, the same line: 81.3097 sfu
    //   at 10368 MHz beyond the high end: 232.512 sfu
    // One reading 120 sfu at 2800 MHz: 120 (1296/2800)^0.5 = 81.6403 sfu.
    const std::vector<nav::SolarFluxReading> two{{2800, 120}, {1415, 85}};
    ExpectRelative(*nav::SolarFluxAt(two, 2320), 109.123, "between");
    ExpectRelative(*nav::SolarFluxAt(two, 1296), 81.3097, "below");
    ExpectRelative(*nav::SolarFluxAt(two, 10368), 232.512, "above");
    ExpectRelative(*nav::SolarFluxAt(two, 2800), 120, "at a reading");
    ExpectRelative(*nav::SolarFluxAt({{2800, 120}}, 1296), 81.6403, "one reading");
    // Three readings: 2000 MHz lies between 1415 and 2800, not on the line through 245 and 1415.
    const std::vector<nav::SolarFluxReading> three{{245, 20}, {1415, 85}, {2800, 120}};
    ExpectRelative(*nav::SolarFluxAt(three, 2000), *nav::SolarFluxAt(two, 2000), "nearest pair");
    EXPECT_FALSE(nav::SolarFluxAt({}, 1296));

    std::string error;
    const auto parsed = nav::ParseSolarFluxReadings(" 2800:120, 1415:85.5", error);
    ASSERT_TRUE(parsed);
    ASSERT_EQ(parsed->size(), 2u);
    EXPECT_EQ((*parsed)[1].frequencyMHz, 1415);
    EXPECT_EQ((*parsed)[1].sfu, 85.5);
    EXPECT_EQ(nav::SolarFluxReadingsText(*parsed), "2800:120,1415:85.5");
    EXPECT_FALSE(nav::ParseSolarFluxReadings("2800:120,2800:121", error));
    EXPECT_EQ(error, "the flux at 2800 MHz is given twice");
    EXPECT_FALSE(nav::ParseSolarFluxReadings("2800=120", error));
    EXPECT_EQ(error, "'2800=120' is not MHz:sfu with two positive numbers");
    EXPECT_FALSE(nav::ParseSolarFluxReadings("2800:-5", error));
}

TEST(Calibration, SourceFluxFromThePublishedFit) {
    // Perley & Butler 2017, Table 5, Cygnus A: a0..a4 = 3.3498, -1.0022, -0.225, 0.023, 0.043, valid
    // 0.05-12 GHz. At 1 GHz log S = a0: 10^3.3498 = 2237.69 Jy; at 10 GHz log S = the sum of the row,
    // 2.1886: 154.383 Jy. Cyg A does not fade. Outside 50 MHz-12 GHz there is no value.
    ExpectRelative(*nav::SourceFluxJansky(nav::RadioSource::CygA, 1000, 2026), 2237.69, "Cyg A 1 GHz");
    ExpectRelative(*nav::SourceFluxJansky(nav::RadioSource::CygA, 10000, 2026), 154.383, "Cyg A 10 GHz");
    EXPECT_FALSE(nav::SourceFluxJansky(nav::RadioSource::CygA, 24048, 2026));
    // Cas A, a0 = 3.3584 at epoch 2016.0, fading 0.6 %/yr: 10^3.3584 x 0.994^10 = 2149.14 Jy in 2026.0;
    // its fit stops at 4 GHz, so 10368 MHz has none.
    ExpectRelative(*nav::SourceFluxJansky(nav::RadioSource::CasA, 1000, 2026), 2149.14, "Cas A 2026");
    EXPECT_FALSE(nav::SourceFluxJansky(nav::RadioSource::CasA, 10368, 2026));
    // 2026-01-01 00:00 UTC is 9496.5 days (26 x 365 + 7 leap days - 0.5) after J2000.0, 26 x 365.25:
    // 2026.0 exactly; 2026-07-02 12:00 is 182.5 days on, 2026.49966.
    EXPECT_NEAR(nav::DecimalYear(nav::DayNumber(2026, 1, 1), 0), 2026.0, 1e-9);
    EXPECT_NEAR(nav::DecimalYear(nav::DayNumber(2026, 7, 2), 0.5), 2026.49966, 1e-5);
}

TEST(Calibration, CasAPositionAgreesWithAnIndependentProgram) {
    // astronomy-engine 2.1 (DefineStar at 23h23m24.0s +58d48'54", Equator of date without aberration,
    // Horizon without refraction), 2026-12-24 00:00 UTC from 38.02 N 78.63 W, 100 m:
    //   RA 23.410400 h, Dec 58.964160 deg (true equator and equinox of date), az 332.44556, alt 64.46473.
    // Tolerance 0.003 deg: the two programs' sidereal time and nutation differ by far less; the 20"
    // aberration both leave out.
    nav::SkyState sky;
    nav::ObserverSite site;
    site.latitude = 38.02;
    site.longitude = -78.63;
    site.height = 100;
    site.ephemeris = nav::Ephemeris::Precise;
    nav::SetObserver(sky.observerFrame, site.latitude, site.longitude, site.height);
    sky.clock.utcDay = nav::DayNumber(2026, 12, 24);
    sky.clock.utcFraction = 0;
    nav::ComputePositions(sky, site);
    const nav::BodyState casA = nav::RadioSourceAt(sky, site, nav::RadioSource::CasA);
    constexpr double kTolerance = 0.003;
    EXPECT_NEAR(nav::Degrees(casA.rightAscension) / 15, 23.410400, kTolerance / 15);
    EXPECT_NEAR(nav::Degrees(casA.declination), 58.964160, kTolerance);
    EXPECT_NEAR(casA.azimuth, 332.44556, kTolerance);
    EXPECT_NEAR(casA.elevation, 64.46473, kTolerance);

    // The cycle's step adds refraction as the cycle does to the Sun and the Moon.
    nav::ComputeSourcePosition(sky, site, nav::RadioSource::CasA);
    EXPECT_DOUBLE_EQ(sky.source.elevation, casA.elevation + nav::RefractionForTrue(casA.elevation));
}

}  // namespace
