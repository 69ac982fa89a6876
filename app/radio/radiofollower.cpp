#include "app/radio/radiofollower.h"

#include <cmath>

#include "navlib/timecal.h"

namespace skyrel {
namespace {

constexpr double kHzPerMHz = 1e6;

QString MegahertzText(double hz) { return QString::number(hz / kHzPerMHz, 'f', 6); }

QString CorrectionText(double hz) {
    const long long whole = std::llround(hz);
    return QStringLiteral("(%1%2 Hz)").arg(whole > 0 ? QStringLiteral("+") : QString()).arg(whole);
}

}  // namespace

RadioFollower::RadioFollower(QObject* parent) : QObject(parent) {
    connect(&radio_, &HamlibRadio::reported, this, [this](const RadioReport& report) {
        setStatus(RadioStatusText(report), false);
        emit reported(report);
    });
    connect(&radio_, &HamlibRadio::unreachable, this, [this](const QString& message) {
        setStatus(kRadioNotReachable, true);
        emit unreachable(message);
    });
}

void RadioFollower::setStatus(const QString& text, bool lost) {
    if (text == status_ && lost == lost_) return;
    status_ = text;
    lost_ = lost;
    emit statusChanged(status_, lost_);
}

std::optional<QString> RadioFollower::setSettings(const RadioSettings& settings) {
    if (!(settings == settings_)) radio_.stop();  // a radio that stays on opens again with the new options
    settings_ = settings;
    return choose(settings.enabled ? settings.mode : nav::RadioMode::Off);
}

void RadioFollower::setDxStation(std::optional<nav::PlannerSite> dx) {
    dx_ = std::move(dx);
    if (!dx_ && nav::NeedsDxStation(mode_)) choose(mode_);
}

std::optional<QString> RadioFollower::choose(nav::RadioMode mode) {
    std::optional<QString> refusal;
    if (nav::NeedsDxStation(mode) && !dx_) {
        refusal = NoDxStationMessage(mode);
        mode = nav::RadioMode::Off;
    }
    if (!settings_.enabled) mode = nav::RadioMode::Off;
    const bool wasOff = mode_ == nav::RadioMode::Off;
    const bool changed = mode != mode_;
    mode_ = mode;
    if (mode_ == nav::RadioMode::Off) {
        radio_.stop();
        setStatus(kRadioOffText, false);
    } else if (wasOff || !radio_.active()) {
        restart();
    }
    if (changed) emit modeChanged(mode_);
    return refusal;
}

void RadioFollower::restart() { radio_.start(settings_); }

void RadioFollower::follow(const nav::SkyState& sky, const nav::ObserverSite& site) {
    if (mode_ == nav::RadioMode::Off) return;
    const nav::PlannerSite home = nav::MakePlannerSite(site.latitude, site.longitude, site.height, site);
    nav::SkyState workspace = sky;
    const long long second = nav::SecondOfDay(sky.clock);
    const double homeRate = nav::StationMoonAt(workspace, home, sky.clock.utcDay, second).rangeRate;
    const double dxRate = dx_ && nav::NeedsDxStation(mode_)
                              ? nav::StationMoonAt(workspace, *dx_, sky.clock.utcDay, second).rangeRate
                              : 0;
    radio_.request(mode_, homeRate, dxRate);
}

QString RadioStatusText(const RadioReport& report) {
    const nav::RadioDials& s = report.step.dials;
    const QString transmit = report.split ? MegahertzText(s.txDial) + QLatin1Char(' ') + CorrectionText(s.txCorrection)
                                          : CorrectionText(s.txCorrection);
    return QStringLiteral("Radio: RX %1 %2  TX %3  %4")
        .arg(MegahertzText(s.rxDial), CorrectionText(s.rxCorrection), transmit, RadioModeText(report.mode));
}

QByteArray RadioItemText(const RadioReport& report) {
    const nav::RadioDials& s = report.step.dials;
    const auto hertz = [](double hz) { return QByteArray::number(std::llround(hz)); };
    const auto signedHertz = [&](double hz) { return (std::llround(hz) > 0 ? QByteArray("+") : QByteArray()) + hertz(hz); };
    return "RX " + hertz(s.rxDial) + " TX " + (report.split ? hertz(s.txDial) : QByteArray("-")) + " RXC " +
           signedHertz(s.rxCorrection) + " TXC " + signedHertz(s.txCorrection) + " MODE " +
           RadioModeText(report.mode).toLatin1();
}

QByteArray RadioOffItemText() { return "MODE " + RadioModeText(nav::RadioMode::Off).toLatin1(); }

QString NoDxStationMessage(nav::RadioMode mode) {
    return QStringLiteral("%1 needs a DX station: choose one in the EME planner; the radio stays off")
        .arg(RadioModeText(mode));
}

}  // namespace skyrel
