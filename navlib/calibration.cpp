#include "navlib/calibration.h"

#include <algorithm>
#include <charconv>
#include <cmath>

#include "navlib/constants.h"
#include "navlib/eme.h"
#include "navlib/printabletext.h"
#include "navlib/skytemperature.h"

namespace nav {
namespace {

constexpr double kMetresPerKm = 1000;
constexpr double kMHzPerGHz = 1000;
// The half-power beamwidth of a parabolic dish is this many wavelengths over its diameter (degrees).
constexpr double kBeamwidthFactorDeg = 68;
// The Sun's radio diameter: 0.525 deg (1.24 - 0.162 log10(f / 1 GHz)).
constexpr double kSunDiameterDeg = 0.525;
constexpr double kSunDiameterAtOneGHz = 1.24;
constexpr double kSunDiameterSlope = 0.162;
// The quiet Sun's mean spectral slope over 1-10 GHz, the one-reading fallback's exponent.
constexpr double kOneReadingSlope = 0.5;
// Below this x the beam correction's series replaces (1 - e^-x) / x, which loses its digits there.
constexpr double kSmallBeamRatio = 1e-8;

double Decibels(double ratio) { return 10 * std::log10(ratio); }
double FromDecibels(double db) { return std::pow(10.0, db / 10); }

// The straight line in log f / log S through two readings, at f.
double LogLogLine(const SolarFluxReading& a, const SolarFluxReading& b, double frequencyMHz) {
    return b.sfu * std::pow(a.sfu / b.sfu, std::log(frequencyMHz / b.frequencyMHz) /
                                                std::log(a.frequencyMHz / b.frequencyMHz));
}

std::string Trimmed(std::string_view text) {
    const auto first = text.find_first_not_of(' ');
    if (first == std::string_view::npos) return {};
    const auto last = text.find_last_not_of(' ');
    return std::string(text.substr(first, last - first + 1));
}

// A positive finite number filling the whole text, read locale-free.
std::optional<double> PositiveNumber(const std::string& text) {
    double value = 0;
    const char* end = text.data() + text.size();
    const auto [stop, failure] = std::from_chars(text.data(), end, value);
    if (failure != std::errc() || stop != end || !std::isfinite(value) || value <= 0) return std::nullopt;
    return value;
}

// The shortest text that reads back as the same number, locale-free.
std::string ShortestText(double value) {
    char text[32];
    const auto [end, failure] = std::to_chars(text, text + sizeof text, value);
    return std::string(text, failure == std::errc() ? end : text);
}

}  // namespace

double Wavelength(double frequencyMHz) { return kSpeedOfLightKmPerS * kMetresPerKm / (frequencyMHz * kHzPerMHz); }

double EffectiveArea(const Dish& dish) { return dish.efficiency * kPi * dish.diameter * dish.diameter / 4; }

double Beamwidth(const Dish& dish, double frequencyMHz) {
    return kBeamwidthFactorDeg * Wavelength(frequencyMHz) / dish.diameter;
}

std::optional<double> SolarFluxAt(const std::vector<SolarFluxReading>& readings, double frequencyMHz) {
    if (readings.empty()) return std::nullopt;
    std::vector<SolarFluxReading> sorted = readings;
    std::sort(sorted.begin(), sorted.end(),
              [](const SolarFluxReading& a, const SolarFluxReading& b) { return a.frequencyMHz < b.frequencyMHz; });
    if (sorted.size() == 1)
        return sorted[0].sfu * std::pow(frequencyMHz / sorted[0].frequencyMHz, kOneReadingSlope);
    // The first reading above f, kept inside the list so that f beyond either end uses the outer two.
    const auto above = std::upper_bound(sorted.begin(), sorted.end(), frequencyMHz,
                                        [](double f, const SolarFluxReading& r) { return f < r.frequencyMHz; });
    const std::size_t upper = std::clamp<std::size_t>(above - sorted.begin(), 1, sorted.size() - 1);
    return LogLogLine(sorted[upper - 1], sorted[upper], frequencyMHz);
}

std::optional<std::vector<SolarFluxReading>> ParseSolarFluxReadings(std::string_view text, std::string& error) {
    std::vector<SolarFluxReading> readings;
    if (Trimmed(text).empty()) return readings;
    std::size_t start = 0;
    while (start <= text.size()) {
        const std::size_t comma = std::min(text.find(',', start), text.size());
        const std::string part = Trimmed(text.substr(start, comma - start));
        const std::size_t colon = part.find(':');
        const bool paired = colon != std::string::npos;
        const auto frequency = paired ? PositiveNumber(Trimmed(part.substr(0, colon))) : std::nullopt;
        const auto sfu = paired ? PositiveNumber(Trimmed(part.substr(colon + 1))) : std::nullopt;
        if (!frequency || !sfu) {
            error = QuotedText(part) + " is not MHz:sfu with two positive numbers";
            return std::nullopt;
        }
        for (const SolarFluxReading& r : readings)
            if (r.frequencyMHz == *frequency) {
                error = "the flux at " + ShortestText(*frequency) + " MHz is given twice";
                return std::nullopt;
            }
        readings.push_back({*frequency, *sfu});
        start = comma + 1;
    }
    return readings;
}

std::string SolarFluxReadingsText(const std::vector<SolarFluxReading>& readings) {
    std::string text;
    for (const SolarFluxReading& r : readings)
        text += (text.empty() ? "" : ",") + ShortestText(r.frequencyMHz) + ":" + ShortestText(r.sfu);
    return text;
}

double SunRadioDiameter(double frequencyMHz) {
    return kSunDiameterDeg * (kSunDiameterAtOneGHz - kSunDiameterSlope * std::log10(frequencyMHz / kMHzPerGHz));
}

double BeamCorrection(double sourceDiameterDeg, double beamwidthDeg) {
    const double ratio = sourceDiameterDeg / beamwidthDeg;
    const double x = ratio * ratio * std::log(2.0);
    if (x < kSmallBeamRatio) return 1 - x / 2;
    return -std::expm1(-x) / x;
}

double MoonDiameter(double distanceKm) { return 2 * Degrees(std::asin(kMoonRadiusKm / distanceKm)); }

double AntennaTemperature(double fluxDensity, double beamCorrection, const Dish& dish) {
    return beamCorrection * fluxDensity * EffectiveArea(dish) / (2 * kBoltzmann);
}

double MoonTemperature(double brightnessKelvin, double moonDiameterDeg, double beamwidthDeg) {
    const double ratio = moonDiameterDeg / beamwidthDeg;
    return brightnessKelvin * -std::expm1(-std::log(2.0) * ratio * ratio);
}

double YFactorDb(double antennaKelvin, double systemKelvin) { return Decibels(1 + antennaKelvin / systemKelvin); }

double GOverTDb(double measuredYDb, double fluxDensity, double beamCorrection, double frequencyMHz) {
    const double lambda = Wavelength(frequencyMHz);
    return Decibels(8 * kPi * kBoltzmann * (FromDecibels(measuredYDb) - 1) /
                    (lambda * lambda * fluxDensity * beamCorrection));
}

std::optional<double> ImpliedSystemKelvin(double antennaKelvin, double measuredYDb) {
    if (!(measuredYDb > 0)) return std::nullopt;
    return antennaKelvin / (FromDecibels(measuredYDb) - 1);
}

CalibrationBand ComputeCalibrationBand(const CalibrationInputs& in, double frequencyMHz, double receiverKelvin,
                                       double coldSkyKelvin) {
    CalibrationBand band;
    band.frequency = frequencyMHz;
    band.beamwidth = Beamwidth(in.dish, frequencyMHz);
    band.systemKelvin = receiverKelvin + coldSkyKelvin;
    band.sunDiameter = SunRadioDiameter(frequencyMHz);
    band.sunK = BeamCorrection(band.sunDiameter, band.beamwidth);
    band.sunFlux = SolarFluxAt(in.solarFlux, frequencyMHz);
    if (band.sunFlux) {
        band.sunKelvin = AntennaTemperature(*band.sunFlux * kSolarFluxUnit, band.sunK, in.dish);
        band.sunY = YFactorDb(*band.sunKelvin, band.systemKelvin);
    }
    // Readings far apart in flux and close in frequency can carry the line beyond any number.
    if (!band.sunY || !std::isfinite(*band.sunY)) band.sunFlux = band.sunKelvin = band.sunY = std::nullopt;
    band.moonKelvin = MoonTemperature(in.moonBrightnessKelvin, MoonDiameter(in.moonDistanceKm), band.beamwidth);
    band.moonY = YFactorDb(band.moonKelvin, band.systemKelvin);
    for (const RadioSource source : kRadioSources) {
        SourceFigures& figures = band.sources[SourceIndex(source)];
        figures.fluxJansky = SourceFluxJansky(source, frequencyMHz, in.year);
        if (figures.fluxJansky)
            figures.yDb = YFactorDb(AntennaTemperature(*figures.fluxJansky * kJansky, 1, in.dish), band.systemKelvin);
    }
    return band;
}

std::array<CalibrationBand, kBandCount> ComputeCalibrationTable(const CalibrationInputs& inputs,
                                                                const BandValues& receiverKelvin,
                                                                const SkySurvey& survey) {
    std::array<CalibrationBand, kBandCount> table;
    for (std::size_t i = 0; i < kBandCount; ++i)
        table[i] = ComputeCalibrationBand(inputs, kEmeBandsMHz[i], receiverKelvin[i],
                                          ColdSkyTemperature(survey, kEmeBandsMHz[i]));
    return table;
}

std::optional<MeasuredSun> MeasuredOnSun(const CalibrationBand& band, double measuredYDb) {
    if (!band.sunFlux) return std::nullopt;
    return MeasuredSun{GOverTDb(measuredYDb, *band.sunFlux * kSolarFluxUnit, band.sunK, band.frequency),
                       ImpliedSystemKelvin(*band.sunKelvin, measuredYDb)};
}

}  // namespace nav
