#include "navlib/preciseframe.h"

#include <erfa.h>
#include <erfam.h>

#include <algorithm>
#include <cmath>

namespace nav {
namespace {

// The series take time as days of TT from 2000 January 1, 0h, so that their days begin at midnight: to a
// few nanoseconds over the centuries the tracker spans, far finer than anything the quantities do then.
constexpr double kSeriesEpochJd = ERFA_DJ00 - 0.5;

double DaysFromEpoch(double tt1, double tt2) { return (tt1 - kSeriesEpochJd) + tt2; }

MoonSegment::Values MoonAt(double days) {
    double pv[2][3];
    eraMoon98(kSeriesEpochJd, days, pv);
    return {pv[0][0], pv[0][1], pv[0][2], pv[1][0], pv[1][1], pv[1][2]};
}

void SetMoon(const MoonSegment::Values& v, SlowQuantities& q) {
    q.moonPosition = {v[0], v[1], v[2]};
    q.moonVelocity = {v[3], v[4], v[5]};
}

EarthSegment::Values EarthAt(double days) {
    double heliocentric[2][3], barycentric[2][3];
    eraEpv00(kSeriesEpochJd, days, heliocentric, barycentric);
    return {heliocentric[0][0], heliocentric[0][1], heliocentric[0][2],
            barycentric[1][0],  barycentric[1][1],  barycentric[1][2]};
}

void SetEarth(const EarthSegment::Values& v, SlowQuantities& q) {
    q.earthHeliocentric = {v[0], v[1], v[2]};
    q.earthBarycentricVelocity = {v[3], v[4], v[5]};
}

// The matrix (row-major), the true obliquity and the equation of the origins as Gst06 forms it: apparent
// sidereal time is the Earth rotation angle less the equation of the origins, which needs the CIO
// locator s of the pole's X, Y.
FrameSegment::Values FrameAt(double days) {
    double dpsi, deps, epsa, rb[3][3], rp[3][3], rbp[3][3], rn[3][3], npb[3][3];
    eraPn00b(kSeriesEpochJd, days, &dpsi, &deps, &epsa, rb, rp, rbp, rn, npb);
    double x, y;
    eraBpn2xy(npb, &x, &y);
    FrameSegment::Values v;
    std::copy(&npb[0][0], &npb[0][0] + 9, v.begin());
    v[9] = epsa + deps;
    v[10] = eraEors(npb, eraS06(kSeriesEpochJd, days, x, y));
    return v;
}

void SetFrame(const FrameSegment::Values& v, SlowQuantities& q) {
    std::copy(v.begin(), v.begin() + 9, q.npb.begin());
    q.trueObliquity = v[9];
    q.equationOfOrigins = v[10];
}

std::size_t SlotOf(long long day) {
    const long long kept = static_cast<long long>(kPreciseSegmentsKept);
    return static_cast<std::size_t>(((day % kept) + kept) % kept);
}

template <typename Segment>
bool IsFitted(const std::array<KeptDay<Segment>, kPreciseSegmentsKept>& slots, long long day) {
    const KeptDay<Segment>& kept = slots[SlotOf(day)];
    return kept.day == day && kept.fitted;
}

// One kind's values at `days`: from `read` (ERFA) the first time the day is asked for in its slot,
// from the day's series after, fitted from `read` at the second time. A day next to a fitted one is
// fitted at once: the caller is stepping through time, and a cycle's range rate across midnight would
// otherwise take one distance from ERFA and the next from the series.
template <typename Segment, typename Read>
typename Segment::Values KeptOrRead(std::array<KeptDay<Segment>, kPreciseSegmentsKept>& slots, double days,
                                    Read read) {
    const long long day = static_cast<long long>(std::floor(days / kPreciseSegmentDays));
    const double start = double(day) * kPreciseSegmentDays;
    KeptDay<Segment>& kept = slots[SlotOf(day)];
    if (kept.day != day && !IsFitted(slots, day - 1) && !IsFitted(slots, day + 1)) {
        kept.day = day;
        kept.fitted = false;
        return read(days);
    }
    if (kept.day != day || !kept.fitted) {
        kept.day = day;
        FitChebyshev(kept.series, start, kPreciseSegmentDays, read);
        kept.fitted = true;
    }
    return EvaluateChebyshev(kept.series, 2 * (days - start) / kPreciseSegmentDays - 1);
}

}  // namespace

SlowQuantities DirectSlowQuantities(double tt1, double tt2, bool withEarthOrbit) {
    const double days = DaysFromEpoch(tt1, tt2);
    SlowQuantities q;
    SetMoon(MoonAt(days), q);
    SetFrame(FrameAt(days), q);
    if (withEarthOrbit) SetEarth(EarthAt(days), q);
    return q;
}

SlowQuantities InterpolatedSlowQuantities(PreciseFrameCache& cache, double tt1, double tt2, bool withEarthOrbit) {
    const double days = DaysFromEpoch(tt1, tt2);
    SlowQuantities q;
    SetMoon(KeptOrRead(cache.moon, days, MoonAt), q);
    SetFrame(KeptOrRead(cache.frame, days, FrameAt), q);
    if (withEarthOrbit) SetEarth(KeptOrRead(cache.earth, days, EarthAt), q);
    return q;
}

}  // namespace nav
