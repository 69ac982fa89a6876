#include "app/station/station.h"

#include <QCoreApplication>

#include "app/radio/radiosettings.h"
#include "app/rotator/hamlibsettings.h"
#include "app/settings/plannersettings.h"
#include "app/settings/settings.h"
#include "app/settings/settingswriter.h"
#include "app/web/webserver.h"
#include "navlib/eme.h"
#include "navlib/locator.h"
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
    connect(&radio_, &RadioFollower::reported, this,
            [this](const RadioReport& report) { endpoint_.setRadioState(RadioItemText(report)); });
    connect(&radio_, &RadioFollower::unreachable, this,
            [this] { endpoint_.setRadioState(kRadioNotReachable.toLatin1()); });
    connect(&radio_, &RadioFollower::modeChanged, this, [this](nav::RadioMode mode) {
        if (mode == nav::RadioMode::Off) endpoint_.setRadioState(RadioOffItemText());
    });
}

Station::~Station() { tracker_.CloseRotatorPort(); }

QStringList Station::startWeb() {
    QStringList lines;
    const WebSettings settings = LoadWebSettingsWithToken(store_, lines);
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
    OptionReader hamlibReader(store_, kHamlibGroup);
    tracker_.setHamlibSettings(ReadHamlibSettings(hamlibReader));
    OptionReader radioReader(store_, kRadioGroup);
    const RadioSettings radio = ReadRadioSettings(radioReader);
    // The planner's values are read where they are used; a bad one is named here, once a start.
    OptionReader plannerReader(store_, kPlannerGroup);
    ReadPlannerSettings(plannerReader);
    radio_.setDxStation(PlannerDxStation());
    QStringList lines;
    for (const std::optional<QString>& line : {outcome.error, hamlibReader.message(), radioReader.message(),
                                               plannerReader.message(), radio_.setSettings(radio)})
        if (line) lines << *line;
    if (lines.isEmpty()) return std::nullopt;
    return lines.join(QLatin1Char('\n'));
}

std::optional<nav::PlannerSite> Station::PlannerDxStation() const {
    const QStringList recent = LoadPlannerSettings(store_).recentDx;
    if (recent.isEmpty()) return std::nullopt;
    std::string error;
    const std::optional<nav::DxStation> dx = nav::ParseDxEntry(recent.first().toStdString(), error);
    if (!dx) return std::nullopt;
    const nav::ObserverSite& home = state_.settings.site;
    return nav::MakePlannerSite(dx->point.latitude, dx->point.longitude, dx->height, home);
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
    radio_.follow(sky, s.site);
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
        case EndpointCommand::RadioOff: chooseRadio(nav::RadioMode::Off); break;
        case EndpointCommand::RadioEcho: chooseRadio(nav::RadioMode::OwnEcho); break;
        case EndpointCommand::RadioMoon: chooseRadio(nav::RadioMode::ConstantOnMoon); break;
        case EndpointCommand::RadioDx: chooseRadio(nav::RadioMode::FullToDx); break;
        case EndpointCommand::PttOn: radio_.setKeyed(true); break;
        case EndpointCommand::PttOff: radio_.setKeyed(false); break;
    }
}

void Station::startRadio(nav::RadioMode mode) {
    RadioSettings settings = radio_.settings();
    settings.enabled = true;
    settings.mode = mode;
    if (const std::optional<QString> refusal = radio_.setSettings(settings)) emit radioRefused(*refusal);
}

void Station::chooseRadio(nav::RadioMode mode) {
    if (const std::optional<QString> refusal = radio_.choose(mode)) emit radioRefused(*refusal);
}

}  // namespace skyrel
