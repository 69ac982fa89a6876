#include "app/station/station.h"

#include <QCoreApplication>

#include "app/rotator/hamlibsettings.h"
#include "app/settings/settings.h"
#include "app/settings/settingswriter.h"
#include "app/web/webserver.h"
#include "navlib/eme.h"
#include "navlib/observer.h"
#include "navlib/radiosource.h"
#include "navlib/timecal.h"

namespace skyrel {

Station::Station(const nav::ClockSource& clock, SettingsStore& store, QObject* parent)
    : Station(clock, store, std::make_unique<SerialRotatorPort>(store), nullptr, parent) {}

Station::Station(const nav::ClockSource& clock, SettingsStore& store, RotatorPort& port, QObject* parent)
    : Station(clock, store, nullptr, &port, parent) {}

Station::Station(const nav::ClockSource& clock, SettingsStore& store, std::unique_ptr<SerialRotatorPort> ownPort,
                 RotatorPort* port, QObject* parent)
    : QObject(parent),
      clock_(clock),
      store_(store),
      ownPort_(std::move(ownPort)),
      tracker_(state_.tracking, state_.settings, port ? *port : *ownPort_) {
    connect(&endpoint_, &EndpointServer::commandReceived, this, &Station::SkyrelItemPokeData);
    connect(&tracker_, &Tracker::lineForEndpoint, &endpoint_, &EndpointServer::setPointingLine);
    connect(&tracker_, &Tracker::antennaPositionForEndpoint, &endpoint_, &EndpointServer::setAntennaPosition);
}

Station::~Station() { tracker_.CloseRotatorPort(); }

QStringList Station::startWeb() {
    QString problem;
    const WebSettings settings = LoadWebSettingsWithToken(store_, problem);
    QStringList lines;
    if (!problem.isEmpty()) lines << problem;
    if (!settings.enabled) return lines;
    web_ = std::make_unique<WebServer>(*this, settings);
    if (!web_->start()) {
        lines << web_->errorString();
        web_.reset();
    } else if (const QString warning = web_->startWarning(); !warning.isEmpty()) {
        lines << warning;
    }
    return lines;
}

std::optional<QString> Station::loadSettings() {
    const LoadOutcome outcome = LoadSettings(store_, clock_, state_.settings);
    state_.tracking.ddeOutput = (state_.settings.comPort == 0);
    tracker_.setHamlibSettings(LoadHamlibSettings(store_));
    return outcome.error;
}

void Station::applySite() {
    const nav::ObserverSite& site = state_.settings.site;
    nav::SetObserver(state_.sky.observerFrame, site.latitude, site.longitude, site.height);
    emit siteApplied();
    // The rise/set rows belong to the site and the clock offset just applied: the cycle searches again.
    searchedDate_.clear();
    tick();
}

void Station::tick() {
    ++cycleCount_;
    nav::SkyState& sky = state_.sky;
    const Settings& s = state_.settings;
    nav::ReadClock(sky.clock, clock_, s.autoTime, s.clockOffset);
    clockText_ = QString::fromStdString(nav::ClockText(sky.clock, clock_, state_.showUtc, s.autoTime, s.clockOffset));
    emit clockRead();

    if (dateText() != searchedDate_) {
        findRiseSet();
        searchedDate_ = dateText();
    }

    nav::ComputePositions(sky, s.site);
    nav::AddRefraction(sky);
    nav::ComputeSourcePosition(sky, s.site, s.source);

    if (sky.clock.minute % 4 == 0 && sky.clock.second == 0) emit mapRedrawDue();

    // A line that could not be written ends this cycle here, as an error raised in it would.
    if (!tracker_.SendTrackingOutput(sky)) return;

    nav::ComputeEmeFigures(state_.eme, sky.clock.utcFraction, sky.moon.distance);
    emit cycleCompleted();
}

void Station::findRiseSet() {
    riseSetTexts_ = nav::FindRiseSet(state_.sky, state_.settings.site, state_.settings.clockOffset, state_.showUtc);
    emit riseSetChanged();
}

void Station::setShowUtc(bool showUtc) {
    state_.showUtc = showUtc;
    findRiseSet();
}

void Station::setEphemeris(nav::Ephemeris ephemeris) {
    SaveEphemeris(store_, state_.settings, ephemeris);
    nav::SkyState restated = state_.sky;
    nav::ComputePositions(restated, state_.settings.site);
    state_.eme.prevMoonDistance = restated.moon.distance;
    findRiseSet();
}

void Station::choose(TrackMode target) {
    tracker_.choose(target);
    emit trackingChanged(target, state_.tracking.trackingActive);
}

void Station::chooseSource(nav::RadioSource source) {
    SaveSource(store_, state_.settings, source);
    nav::ComputeSourcePosition(state_.sky, state_.settings.site, source);
    choose(TrackMode::Source);
}

bool Station::listen(const QString& path) { return endpoint_.listen(path); }

void Station::SkyrelItemPokeData(EndpointCommand command) {
    switch (command) {
        case EndpointCommand::TrackSun: choose(TrackMode::Sun); break;
        case EndpointCommand::TrackMoon: choose(TrackMode::Moon); break;
        case EndpointCommand::TrackPark: choose(TrackMode::Park); break;
        case EndpointCommand::TrackOff: choose(TrackMode::Off); break;
        case EndpointCommand::TrackSrc: choose(TrackMode::Source); break;
        // Only the running output changes; the stored port choice comes back at the next load or save.
        case EndpointCommand::TrackDde: tracker_.UseEndpointOutput(); break;
        case EndpointCommand::TrackSer: tracker_.UseSerialOutput(); break;
        case EndpointCommand::TrackShut: QCoreApplication::exit(0); break;
    }
}

}  // namespace skyrel
