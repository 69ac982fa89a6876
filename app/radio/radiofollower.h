// The station's radio: the options in effect, the convention chosen, the planner's DX station, and each
// second the Moon's range rates from home and from the DX station handed to the Hamlib radio.
#pragma once

#include <QObject>
#include <QString>
#include <optional>

#include "app/radio/hamlibradio.h"
#include "app/radio/radiosettings.h"
#include "navlib/planner.h"
#include "navlib/skystate.h"

namespace skyrel {

inline const QString kRadioNotReachable = QStringLiteral("radio not reachable");
inline const QString kRadioOffText = QStringLiteral("Radio: Off");

class RadioFollower : public QObject {
    Q_OBJECT

public:
    explicit RadioFollower(QObject* parent = nullptr);

    // The options in effect, their mode chosen; the radio restarts with them, or closes when they are
    // disabled. The refusal of a DX mode without a DX station, if any (see choose()).
    std::optional<QString> setSettings(const RadioSettings& settings);
    const RadioSettings& settings() const { return settings_; }

    // The station the DX modes follow: the planner's current DX, or none.
    void setDxStation(std::optional<nav::PlannerSite> dx);

    // Follows `mode` from the next second; Off closes the radio, leaving its dials where they are. A DX
    // mode without a DX station is refused with the reason, and the radio is off.
    std::optional<QString> choose(nav::RadioMode mode);
    nav::RadioMode mode() const { return mode_; }
    // Whether a radio is driven: enabled, and a mode other than Off.
    bool running() const { return radio_.active(); }

    // The second the station just computed at `site`; nothing is computed while the radio is off.
    void follow(const nav::SkyState& sky, const nav::ObserverSite& site);
    // A program that keys the radio itself says so ("PTT_ON", "PTT_OFF").
    void setKeyed(bool keyed) { radio_.setKeyed(keyed); }

    // The radio's line as the windows and the web page show it: "Radio: Off", this second's dials
    // (RadioStatusText), or kRadioNotReachable with `statusLost`.
    const QString& statusText() const { return status_; }
    bool statusLost() const { return lost_; }

signals:
    void reported(const skyrel::RadioReport& report);
    void unreachable(const QString& message);
    // The mode in effect changed (also to Off on a refusal or when the options disable the radio).
    void modeChanged(nav::RadioMode mode);
    void statusChanged(const QString& text, bool lost);

private:
    void restart();
    void setStatus(const QString& text, bool lost);

    HamlibRadio radio_;
    RadioSettings settings_;
    nav::RadioMode mode_ = nav::RadioMode::Off;
    std::optional<nav::PlannerSite> dx_;
    QString status_ = kRadioOffText;
    bool lost_ = false;
};

// "Radio: RX 1296.101234 (+1234 Hz)  TX 1296.098766 (-1234 Hz)  Own Echo": the dials in MHz to the Hz
// and the corrections; "TX" shows the correction only, in brackets, when the transmit dial is not the
// radio's ("TX (-1234 Hz)").
QString RadioStatusText(const RadioReport& report);

// The radio item's line: "RX <Hz> TX <Hz> RXC <Hz> TXC <Hz> MODE <mode>", whole Hz, the corrections
// signed; TX is "-" when the transmit dial is not the radio's. "MODE Off" while off, and
// kRadioNotReachable while the radio is lost.
QByteArray RadioItemText(const RadioReport& report);
QByteArray RadioOffItemText();

// What the DX modes say when there is no DX station to follow.
QString NoDxStationMessage(nav::RadioMode mode);

}  // namespace skyrel
