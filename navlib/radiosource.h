// The strong radio sources EME stations calibrate on: Cas A, Cyg A, Tau A and Vir A, their J2000
// positions brought to the date and seen from the site, and their flux densities from a published fit.
#pragma once

#include <array>
#include <cstddef>
#include <optional>
#include <string_view>

#include "navlib/skystate.h"

namespace nav {

enum class RadioSource { CasA, CygA, TauA, VirA };
inline constexpr std::size_t kRadioSourceCount = 4;
inline constexpr std::array<RadioSource, kRadioSourceCount> kRadioSources{RadioSource::CasA, RadioSource::CygA,
                                                                        RadioSource::TauA, RadioSource::VirA};

struct RadioSourceData {
    const char* key;        // "casa": what the command line and the settings store take
    const char* name;       // "Cas A"
    double rightAscension;  // degrees, J2000
    double declination;     // degrees, J2000
    // log10(S / Jy) = sum a[i] log10(f / GHz)^i, valid from lowestMHz to highestMHz
    std::array<double, 5> coefficients;
    double lowestMHz, highestMHz;
    double epoch;          // decimal year the fit holds for
    double fadingPerYear;  // fraction the flux density loses each year after the epoch (0: steady)
};

const RadioSourceData& SourceData(RadioSource source);
inline std::size_t SourceIndex(RadioSource source) { return static_cast<std::size_t>(source); }

// The source a key names ("casa", "cyga", "taua", "vira"), or nothing.
std::optional<RadioSource> RadioSourceOfKey(std::string_view key);

// SourceFluxJansky - the source's flux density (Jy) at a frequency (MHz) in a decimal year: the fit,
// faded by (1 - rate)^(year - epoch). Nothing outside the fit's frequency range. Accuracy: the fit's few
// per cent, and for the fading sources a further per cent a decade of uncertain rate.
std::optional<double> SourceFluxJansky(RadioSource source, double frequencyMHz, double year);

// DecimalYear - the year of a UTC day number and fraction (Julian years of 365.25 days from J2000).
double DecimalYear(int utcDay, double utcFraction);

// RadioSourceAt - the source as the station sees it at the instant a ComputePositions just brought `sky`
// to (its clock, sidereal time and earthRotation, and sky.observerFrame).
//   in:  site (longitude, ephemeris), source
//   out: azimuth, elevation (geometric, degrees), hour angle (degrees [0, 360)), rightAscension and
//        declination (radians, of date: mean equator and equinox for Ephemeris::Standard, true ones for
//        Precise, as the Sun and the Moon of that ephemeris), geoEquatorialDir and earthFixedDir; the
//        distances stay 0 (a source has no parallax). The J2000 position is precessed to the date by the
//        inverse of ToJ2000's matrix; proper motion and aberration (20") are left out.
//   accuracy: 0.005 deg against astronomy-engine's position without aberration (the precise ephemeris
//   to 0.003 deg), the aberration on top.
BodyState RadioSourceAt(const SkyState& sky, const ObserverSite& site, RadioSource source);

// RefractedSourceAt - RadioSourceAt with refraction added to its elevation (RefractionForTrue), as the
// cycle adds it to the Sun and the Moon: where the antenna is pointed.
BodyState RefractedSourceAt(const SkyState& sky, const ObserverSite& site, RadioSource source);

// ComputeSourcePosition - the cycle's step for the tracked source: sky.source = RefractedSourceAt.
void ComputeSourcePosition(SkyState& sky, const ObserverSite& site, RadioSource source);

}  // namespace nav
