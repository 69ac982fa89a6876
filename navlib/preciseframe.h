// The slow quantities of the precise ephemeris: the geocentric Moon (ERFA's Moon98), the Earth's orbit
// (Epv00), the bias-precession-nutation matrix of IAU 2000B (Pn00b) and the equation of the origins
// (S06, Eors). Evaluating them costs tens of microseconds an instant, Epv00 alone over thirty; yet over
// a day each is a smooth curve. So they are fitted once per day of TT as Chebyshev series and read off
// the series at each instant, while what moves fast with the observer (the Earth's rotation, parallax,
// light time, aberration) stays exact per instant (precise.cpp).
//
// A day is fitted when a second instant of it, or an instant next to a fitted day, is asked for; a lone
// instant (a single query, a copy of the sky computed once) is answered by ERFA directly, at ERFA's cost.
// The two answers differ by the interpolation error alone, a few hundred-thousandths of an arcsecond.
#pragma once

#include <array>

#include "navlib/chebyshev.h"

namespace nav {

// The quantities at one instant of TT, in the frames ERFA gives them. Vectors in the GCRS.
struct SlowQuantities {
    std::array<double, 3> moonPosition{};  // au, geocentric (Moon98)
    std::array<double, 3> moonVelocity{};  // au/day
    std::array<double, 3> earthHeliocentric{};         // au, the Earth from the Sun (Epv00); Sun only
    std::array<double, 3> earthBarycentricVelocity{};  // au/day, about the barycentre; Sun only
    std::array<double, 9> npb{};  // row-major, GCRS -> true equator and equinox of date
    double trueObliquity = 0;     // radians, mean obliquity plus nutation in obliquity
    double equationOfOrigins = 0;  // radians, Earth rotation angle minus apparent sidereal time
};

// Length of one fitted interval (days of TT) and the number of intervals the cache keeps of each
// kind: a week's window search, run once per station, finds the second station's days still kept.
inline constexpr double kPreciseSegmentDays = 1;
inline constexpr std::size_t kPreciseSegmentsKept = 16;

// Terms per component. Over a day the Moon sweeps 13 deg, its perturbations a few times that: seven terms
// leave millimetres. The Earth's year and its monthly wobble about the Earth-Moon barycentre (4700 km),
// and precession-nutation (largest short term 0.2" over 13.7 days), are near-cubic over a day: four.
inline constexpr std::size_t kMoonTerms = 7;
inline constexpr std::size_t kEarthTerms = 4;
inline constexpr std::size_t kFrameTerms = 4;

using MoonSegment = ChebyshevSegment<6, kMoonTerms>;    // position, velocity
using EarthSegment = ChebyshevSegment<6, kEarthTerms>;  // heliocentric position, barycentric velocity
using FrameSegment = ChebyshevSegment<11, kFrameTerms>;  // npb, true obliquity, equation of the origins

// One slot of the cache: the last day asked for in it and, once asked twice, that day's series.
template <typename Segment>
struct KeptDay {
    static constexpr long long kNoDay = -(1LL << 62);
    long long day = kNoDay;  // days of TT from 2000 January 1, 0h
    bool fitted = false;
    Segment series;
};

// The days kept from one position step to the next, each kind in its own slots: a day goes to slot
// (day mod kPreciseSegmentsKept), so consecutive days never evict each other.
struct PreciseFrameCache {
    std::array<KeptDay<MoonSegment>, kPreciseSegmentsKept> moon;
    std::array<KeptDay<EarthSegment>, kPreciseSegmentsKept> earth;
    std::array<KeptDay<FrameSegment>, kPreciseSegmentsKept> frame;
};

// DirectSlowQuantities - the quantities straight from ERFA.
//   in:  tt1 + tt2, TT as a two-part Julian date; withEarthOrbit (false: the Earth's vectors, needed for
//        the Sun only, stay zero and Epv00 is not run)
//   out: SlowQuantities, to ERFA's own accuracy (Moon98 a few arcseconds, Epv00 a few km, IAU 2000B 1 mas)
SlowQuantities DirectSlowQuantities(double tt1, double tt2, bool withEarthOrbit);

// InterpolatedSlowQuantities - the same from the day's Chebyshev series: from ERFA directly for a lone
// first instant of a day, as the file's head says, else from the series, fitted once (seven Moon98, four
// Pn00b and S06, and with the Earth's orbit four Epv00 runs: about 0.1 ms, 0.25 ms with the Earth).
//   in:  cache, tt1 + tt2 (TT, two-part Julian date), withEarthOrbit as for DirectSlowQuantities
//   out: SlowQuantities; cache updated
//   accuracy against DirectSlowQuantities, measured at 10,000 instants 1990-2040: the apparent Moon and
//   Sun within 0.00002" and the Moon's distance within 4 mm, sidereal time within 0.00001"
//   (tests/navlib/test_precise.cpp holds them to 0.1" and 10 m).
SlowQuantities InterpolatedSlowQuantities(PreciseFrameCache& cache, double tt1, double tt2, bool withEarthOrbit);

}  // namespace nav
