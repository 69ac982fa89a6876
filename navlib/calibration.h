// Calibration of an EME station on the Sun, the Moon and the strong radio sources: the noise each adds
// to the receiver of a dish of given size, the Y-factor (hot over cold sky) that predicts, and the G/T
// and system temperature a measured Y-factor implies.
//
// The formulas: the effective area eta pi D^2 / 4 of a parabolic dish, its half-power beamwidth 68 lambda/D
// (the 65-70 lambda/D of a tapered illumination) and the antenna temperature T = S Ae / 2k that one
// polarisation receives from an unpolarised source (Kraus, Radio Astronomy, 2nd ed.); the Sun's radio
// diameter at a frequency, the beam correction of a disc that size in a Gaussian beam and G/T from the
// Sun's noise as EME stations work them out.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "navlib/planner.h"
#include "navlib/radiosource.h"

namespace nav {

// Boltzmann's constant (J/K), exact in SI since 2019.
inline constexpr double kBoltzmann = 1.380649e-23;
// One solar flux unit (W m^-2 Hz^-1).
inline constexpr double kSolarFluxUnit = 1e-22;
// One jansky (W m^-2 Hz^-1).
inline constexpr double kJansky = 1e-26;
// The Moon's mean radius (km).
inline constexpr double kMoonRadiusKm = 1737.4;
// The Moon's brightness temperature at microwaves (K), the calibration's default.
inline constexpr double kDefaultMoonKelvin = 210;
// The aperture efficiency of a typical amateur dish with a well-matched feed, the default.
inline constexpr double kDefaultApertureEfficiency = 0.55;

struct Dish {
    double diameter = 3;                                 // m
    double efficiency = kDefaultApertureEfficiency;      // 0..1
};

// Wavelength - c / f (m) for a frequency (MHz), with the EME figures' speed of light.
double Wavelength(double frequencyMHz);
// EffectiveArea - eta pi D^2 / 4 (m^2).
double EffectiveArea(const Dish& dish);
// Beamwidth - the half-power beamwidth 68 lambda / D (degrees) at a frequency (MHz).
double Beamwidth(const Dish& dish, double frequencyMHz);

// A solar flux density read from an observatory: its frequency (MHz) and value (sfu).
struct SolarFluxReading {
    double frequencyMHz = 0;
    double sfu = 0;
};

// SolarFluxAt - the solar flux (sfu) at a frequency (MHz) from the readings given (any order, each
// frequency once): log-log interpolation between the two readings nearest around the frequency,
// S = S2 (S1 / S2)^(log(f / f2) / log(f1 / f2)); outside their range the line through the nearest two
// is extended. With one reading S0 at f0 the crude fallback S0 (f / f0)^0.5, the quiet Sun's mean slope
// over 1-10 GHz, which a second reading replaces. Nothing without readings. Not finite where readings
// close in frequency and far apart in flux carry the line beyond any number.
std::optional<double> SolarFluxAt(const std::vector<SolarFluxReading>& readings, double frequencyMHz);

// ParseSolarFluxReadings - "2800:120,1415:85" (MHz:sfu, comma separated, spaces allowed) into readings.
//   out: the readings in the order given; nothing with `error` set to one line naming the bad part when
//        a part is not two positive numbers or a frequency appears twice. The empty text is no reading.
std::optional<std::vector<SolarFluxReading>> ParseSolarFluxReadings(std::string_view text, std::string& error);
// SolarFluxReadingsText - the readings back in the form ParseSolarFluxReadings reads.
std::string SolarFluxReadingsText(const std::vector<SolarFluxReading>& readings);

// SunRadioDiameter - the Sun's radio diameter (degrees) at a frequency (MHz),
// 0.525 (1.24 - 0.162 log10(f / 1 GHz)): larger than the optical disc at low frequencies, where the
// corona radiates.
double SunRadioDiameter(double frequencyMHz);
// BeamCorrection - K = (1 - e^-x) / x, x = (source / beam)^2 ln 2: the fraction of a source of that
// diameter (degrees) a Gaussian beam of that half-power width (degrees) sees; 1 for a point source.
double BeamCorrection(double sourceDiameterDeg, double beamwidthDeg);
// MoonDiameter - 2 asin(R / d) (degrees) at a distance d (km) from the observer.
double MoonDiameter(double distanceKm);

// AntennaTemperature - K S Ae / 2k (K): one polarisation of an unpolarised source of flux density S
// (W m^-2 Hz^-1) with the beam correction K.
double AntennaTemperature(double fluxDensity, double beamCorrection, const Dish& dish);
// MoonTemperature - Tb (1 - e^(-ln 2 (moon / beam)^2)) (K): the Moon's disc of brightness Tb (K) and
// diameter moon (degrees) filling part of a beam of that width (degrees).
double MoonTemperature(double brightnessKelvin, double moonDiameterDeg, double beamwidthDeg);

// YFactorDb - 10 log10(1 + T / Tsys) (dB) for an added antenna temperature T over the cold-sky Tsys (K).
double YFactorDb(double antennaKelvin, double systemKelvin);
// GOverTDb - G/T = 8 pi k (Y - 1) / (lambda^2 S K) in dB/K from a measured Y (dB) on a source of flux
// density S (W m^-2 Hz^-1) and beam correction K at a frequency (MHz).
double GOverTDb(double measuredYDb, double fluxDensity, double beamCorrection, double frequencyMHz);
// ImpliedSystemKelvin - Tsys = T / (Y - 1) (K) that a measured Y (dB) implies for an antenna temperature
// T (K); nothing for Y <= 0 dB, which no source can give.
std::optional<double> ImpliedSystemKelvin(double antennaKelvin, double measuredYDb);

// A radio source as a band sees it; nothing where the source's fit does not reach the band.
struct SourceFigures {
    std::optional<double> fluxJansky;  // Jy, faded to the date
    std::optional<double> yDb;         // dB
};

// What the station's dish should see on one band.
struct CalibrationBand {
    double frequency = 0;        // MHz
    double beamwidth = 0;        // degrees
    double systemKelvin = 0;     // K, Trx + Tmin
    std::optional<double> sunFlux;  // sfu at the band; nothing without readings, or where it is not finite
    double sunDiameter = 0;      // degrees
    double sunK = 0;             // beam correction
    std::optional<double> sunKelvin, sunY;  // K and dB, with a solar flux
    double moonKelvin = 0;       // K
    double moonY = 0;            // dB
    std::array<SourceFigures, kRadioSourceCount> sources{};
};

// The calibration's inputs beside the band.
struct CalibrationInputs {
    Dish dish;
    std::vector<SolarFluxReading> solarFlux;
    double moonBrightnessKelvin = kDefaultMoonKelvin;
    double moonDistanceKm = 384400;  // topocentric, km
    double year = 2026;              // decimal year of the date, for the sources' fading
};

// ComputeCalibrationBand - every figure of one band.
//   in:  inputs, frequency (MHz), receiverKelvin (Trx, K), coldSkyKelvin (Tmin, the planner's coldest
//        sky at the band with the 2.725 K background, K)
CalibrationBand ComputeCalibrationBand(const CalibrationInputs& inputs, double frequencyMHz, double receiverKelvin,
                                       double coldSkyKelvin);

// ComputeCalibrationTable - one row per band of kEmeBandsMHz, Tmin the planner's (ColdSkyTemperature).
//   in:  receiverKelvin (Trx per band, K)
std::array<CalibrationBand, kBandCount> ComputeCalibrationTable(const CalibrationInputs& inputs,
                                                                const BandValues& receiverKelvin,
                                                                const SkySurvey& survey);

// What a Y-factor measured on the Sun says of the station.
struct MeasuredSun {
    double gOverT = 0;                        // dB/K
    std::optional<double> systemKelvin;       // K, Tsun / (Y - 1); nothing for Y <= 0 dB
};
// MeasuredOnSun - G/T and the implied Tsys from a Y (dB) measured on the band's Sun; nothing without a
// solar flux at the band.
std::optional<MeasuredSun> MeasuredOnSun(const CalibrationBand& band, double measuredYDb);

}  // namespace nav
