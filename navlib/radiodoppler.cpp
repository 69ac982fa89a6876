#include "navlib/radiodoppler.h"

#include <cmath>

#include "navlib/eme.h"

namespace nav {

bool NeedsDxStation(RadioMode mode) {
    return mode == RadioMode::FullToDx || mode == RadioMode::OnDxEcho || mode == RadioMode::CallDx;
}

MoonDoppler MoonDopplerAt(double skyHz, double homeRangeRate, double dxRangeRate) {
    MoonDoppler d;
    d.ownOneWay = -skyHz * homeRangeRate / kSpeedOfLightKmPerS;
    d.ownEcho = 2 * d.ownOneWay;
    d.dxOneWay = -skyHz * dxRangeRate / kSpeedOfLightKmPerS;
    d.cross = d.ownOneWay + d.dxOneWay;
    return d;
}

double ReceiveCorrection(RadioMode mode, const MoonDoppler& d) {
    switch (mode) {
        case RadioMode::Off: return 0;
        case RadioMode::OwnEcho: return d.ownEcho;
        case RadioMode::ConstantOnMoon: return d.ownOneWay;
        case RadioMode::FullToDx: return d.cross;
        case RadioMode::OnDxEcho: return d.cross;
        case RadioMode::CallDx: return 0;
    }
    return 0;
}

double TransmitCorrection(RadioMode mode, const MoonDoppler& d) {
    switch (mode) {
        case RadioMode::Off: return 0;
        case RadioMode::OwnEcho: return 0;
        case RadioMode::ConstantOnMoon: return -d.ownOneWay;
        case RadioMode::FullToDx: return -d.cross;
        case RadioMode::OnDxEcho: return d.cross - d.ownEcho;
        case RadioMode::CallDx: return -d.ownEcho;
    }
    return 0;
}

double DialOf(double skyHz, double correctionHz, const Converter& converter, double stepHz) {
    const double corrected = skyHz + correctionHz;
    const double dial = converter.inverting ? converter.loHz - corrected : corrected - converter.loHz;
    return stepHz > 0 ? std::round(dial / stepHz) * stepHz : dial;
}

double SkyOfDial(double dialHz, double correctionHz, const Converter& converter) {
    const double corrected = converter.inverting ? converter.loHz - dialHz : dialHz + converter.loHz;
    return corrected - correctionHz;
}

RadioDials RadioDialsAt(RadioMode mode, double rxSkyHz, double txSkyHz, double homeRangeRate, double dxRangeRate,
                        const Converter& rx, const Converter& tx, double stepHz) {
    RadioDials d;
    d.rxCorrection = ReceiveCorrection(mode, MoonDopplerAt(rxSkyHz, homeRangeRate, dxRangeRate));
    d.txCorrection = TransmitCorrection(mode, MoonDopplerAt(txSkyHz, homeRangeRate, dxRangeRate));
    d.rxDial = DialOf(rxSkyHz, d.rxCorrection, rx, stepHz);
    d.txDial = DialOf(txSkyHz, d.txCorrection, tx, stepHz);
    return d;
}

}  // namespace nav
