// The station: everything the one-second cycle owns and does, with no window. It holds the settings in
// effect, the sky state, the clock, the tracker and its rotator output, the EME figures, the day's
// rise/set texts and the local endpoint. Whoever drives it (the main window's timer, the headless
// service's timer, or a test by hand) calls tick() once a second; the listeners learn what changed from
// the signals and read the figures through the accessors.
//
// A start-up, in order: loadSettings() (its message, if any, is for the user), applySite() (which runs
// the first cycle), then tick() once a second. Tracking is chosen with choose(); the endpoint's commands
// arrive through SkyrelItemPokeData() once listen() succeeded.
#pragma once

#include <QObject>
#include <QString>
#include <QStringList>
#include <memory>
#include <optional>

#include "app/station/appstate.h"
#include "app/endpoint/endpointcommand.h"
#include "app/endpoint/endpointserver.h"
#include "app/radio/radiofollower.h"
#include "app/rotator/rotatorport.h"
#include "app/settings/settingsstore.h"
#include "app/station/tracker.h"
#include "navlib/clocksource.h"
#include "navlib/riseset.h"

namespace skyrel {

class WebServer;

class Station : public QObject {
    Q_OBJECT

public:
    // The program's station: the rotator output goes to the serial device of the port number in effect
    // (the store's "Ports" group names the devices). `clock` and `store` must outlive the station.
    Station(const nav::ClockSource& clock, SettingsStore& store, QObject* parent = nullptr);
    // A station whose rotator output goes to `port` instead, which must outlive it.
    Station(const nav::ClockSource& clock, SettingsStore& store, RotatorPort& port, QObject* parent = nullptr);
    // Stops tracking output: the port is closed, the endpoint withdrawn.
    ~Station() override;

    // Reads the stored options into the settings in effect; output goes to the endpoint when the stored
    // port is 0; the radio starts as its options say, following the planner's last DX station. Returns,
    // for the user, one message naming every stored value that failed and the default it holds instead,
    // and why the radio's DX mode stays off when there is no DX station.
    std::optional<QString> loadSettings();

    // Puts the observer at the site in effect and runs one cycle, which searches the day again for the
    // new site and clock offset. siteApplied is emitted before that cycle.
    void applySite();

    // The one-second cycle, in its order: read the clock (clockRead), search the day when the date shown
    // changed (riseSetChanged), compute the positions with refraction (the stored source's too), ask for
    // the map's redraw every fourth minute (mapRedrawDue), send the tracking output, compute the EME
    // figures and report the completed second (cycleCompleted). A line that could not be written ends the
    // cycle before the EME figures, and cycleCompleted is not emitted for that second.
    void tick();

    // The rise/set/transit search of the day shown (UTC or local); emits riseSetChanged.
    void findRiseSet();

    // Dates, times and the rise/set rows in UTC (true) or local time; searches the day again at once.
    void setShowUtc(bool showUtc);
    bool showUtc() const { return state_.showUtc; }

    // The ephemeris of every position from now on (the menu's "Precise Ephemeris"), stored at once; the
    // day is searched again. The next cycle's range rate is taken against this second restated in the
    // new ephemeris, so that the two ephemerides' few hundred km never show as one second's motion.
    void setEphemeris(nav::Ephemeris ephemeris);

    // A Track menu choice: Sun, Moon, Park, Off or the stored source. A port that will not open ends in
    // portOpenFailed.
    void choose(TrackMode target);
    // The Track menu's Source submenu: stores `source` as the one to follow ("Source"), brings it to this
    // second, and tracks it.
    void chooseSource(nav::RadioSource source);

    // Starts the local endpoint at `path`; false (with endpoint().errorString()) when it cannot listen.
    bool listen(const QString& path = EndpointServer::DefaultPath());

    // Starts the web page when the "Web" settings enable it. Returns the lines for the log: why it did not
    // start, or that its token crosses the network in clear. Its later lines come from web()->message.
    QStringList startWeb();
    // The running web page, or nullptr.
    WebServer* web() { return web_.get(); }

    // A command poked into the endpoint's item: the Track choices, the output channel (TRACK_DDE and
    // TRACK_SER change the running output only, never the stored port), TRACK_SHUT, which ends the
    // event loop with status 0 (no window is closed, so none stores its position), the radio's
    // convention (RADIO_OFF, RADIO_ECHO, RADIO_MOON, RADIO_DX: Full To DX) and PTT_ON/PTT_OFF.
    void SkyrelItemPokeData(EndpointCommand command);

    // The state of the cycle. Windows that edit options (the setup dialog) write into state().settings
    // and then call applySite().
    AppState& state() { return state_; }
    const AppState& state() const { return state_; }
    const nav::EmeFigures& eme() const { return state_.eme; }
    // The day's rise/set/transit rows as last searched.
    const nav::RiseSetTexts& riseSetTexts() const { return riseSetTexts_; }
    // The date shown, "2005 Sep 21 [Wed]" (17 characters), and the time, "17:15:00", of the last cycle;
    // UTC or local as showUtc() says.
    QString dateText() const { return clockText_.left(17); }
    QString timeText() const { return clockText_.mid(19, 8); }
    // Cycles run since the station was made.
    int cycleCount() const { return cycleCount_; }

    Tracker& tracker() { return tracker_; }
    RadioFollower& radio() { return radio_; }
    // The radio's convention as a menu or the endpoint chooses it; a refusal goes out as radioRefused.
    void chooseRadio(nav::RadioMode mode);
    // --radio: the radio of the stored options driven in `mode` for this run, whether or not they enable
    // it; a refusal goes out as radioRefused.
    void startRadio(nav::RadioMode mode);
    // The planner's current DX station (the last one applied), as the radio's DX modes follow it.
    std::optional<nav::PlannerSite> PlannerDxStation() const;
    EndpointServer& endpoint() { return endpoint_; }
    SettingsStore& store() { return store_; }
    const nav::ClockSource& clock() const { return clock_; }

signals:
    // The clock of this second was read: dateText(), timeText() and state().sky.clock are new.
    void clockRead();
    // riseSetTexts() were searched again (a new day, a new site or offset, UTC/local switched).
    void riseSetChanged();
    // The observer stands at state().settings.site now.
    void siteApplied();
    // The map's picture is due for its redraw (every fourth minute, at second 0).
    void mapRedrawDue();
    // This second's positions and EME figures are computed.
    void cycleCompleted();
    // Tracking was chosen: Sun, Moon or Park with `active` true once the output runs, or Off.
    void trackingChanged(skyrel::TrackMode mode, bool active);
    // A radio convention could not be followed (a DX one without a DX station); the radio is off.
    void radioRefused(const QString& message);

private:
    Station(const nav::ClockSource& clock, SettingsStore& store, std::unique_ptr<SerialRotatorPort> ownPort,
            RotatorPort* port, QObject* parent);

    const nav::ClockSource& clock_;
    SettingsStore& store_;
    AppState state_;
    std::unique_ptr<SerialRotatorPort> ownPort_;
    Tracker tracker_;
    RadioFollower radio_;
    EndpointServer endpoint_;
    std::unique_ptr<WebServer> web_;
    nav::RiseSetTexts riseSetTexts_;
    // The whole clock line of the last cycle; the date part tells when the day changes.
    QString clockText_;
    QString searchedDate_;
    int cycleCount_ = 0;
};

}  // namespace skyrel
