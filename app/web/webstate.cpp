#include "app/web/webstate.h"

#include <QDateTime>
#include <QStringList>
#include <string>

#include "app/radio/radiosettings.h"
#include "app/settings/plannersettings.h"
#include "app/station/station.h"
#include "navlib/commonwindow.h"
#include "navlib/constants.h"
#include "navlib/locator.h"
#include "navlib/planner.h"
#include "navlib/timecal.h"

namespace skyrel {
namespace {

constexpr long long kSecondsPerDay = 86400;

QJsonArray NumberList(const std::array<double, nav::kBandCount>& values) {
    QJsonArray list;
    for (const double value : values) list.append(value);
    return list;
}

QJsonArray NumberList(const std::vector<double>& values) {
    QJsonArray list;
    for (const double value : values) list.append(value);
    return list;
}

qint64 EpochSecondsOfDay(int utcDay) { return (utcDay - nav::DayNumber(1970, 1, 1)) * kSecondsPerDay; }

QString UtcText(qint64 epochSeconds) {
    return QDateTime::fromSecsSinceEpoch(epochSeconds, Qt::UTC).toString(QStringLiteral("yyyy-MM-ddTHH:mm:ss'Z'"));
}

QJsonObject BodyJson(const nav::BodyState& b) {
    return {{QStringLiteral("azimuth"), b.azimuth},
            {QStringLiteral("elevation"), b.elevation},
            {QStringLiteral("rightAscension"), nav::Degrees(b.rightAscension)},
            {QStringLiteral("declination"), nav::Degrees(b.declination)},
            {QStringLiteral("hourAngle"), b.hourAngle},
            {QStringLiteral("distance"), b.distance}};
}

QJsonObject SiteJson(const nav::ObserverSite& s) {
    return {{QStringLiteral("locator"), QString::fromStdString(nav::LocatorOf(s.latitude, s.longitude))},
            {QStringLiteral("latitude"), s.latitude},
            {QStringLiteral("longitude"), s.longitude},
            {QStringLiteral("height"), s.height}};
}

QJsonArray CaptionedText(const std::string& caption, const std::string& text) {
    return {QString::fromStdString(caption), QString::fromStdString(text)};
}

QJsonObject PanelJson(const nav::RiseSetPanel& p) {
    return {{QStringLiteral("rows"),
             QJsonArray{CaptionedText(p.row1Caption, p.row1Text), CaptionedText(p.row2Caption, p.row2Text)}},
            {QStringLiteral("transit"), CaptionedText(p.transitCaption, p.transitText)},
            {QStringLiteral("maxMin"), QString::fromStdString(p.maxMin)}};
}

QJsonObject EmeJson(const nav::EmeFigures& eme) {
    QJsonArray bands;
    for (const double band : nav::kEmeBandsMHz) bands.append(band);
    return {{QStringLiteral("bands"), bands},
            {QStringLiteral("rangeRate"), eme.moonRangeRate},
            {QStringLiteral("dopplerShift"), NumberList(eme.dopplerShift)},
            {QStringLiteral("pathLossVsPerigee"), eme.pathLossVsPerigee},
            {QStringLiteral("echoDelay"), eme.echoDelay}};
}

// Where the tracked body or the park position stands, when tracking runs.
QJsonValue TargetJson(const AppState& state) {
    if (!state.tracking.trackingActive) return QJsonValue::Null;
    const auto azEl = [](double az, double el) {
        return QJsonObject{{QStringLiteral("azimuth"), az}, {QStringLiteral("elevation"), el}};
    };
    if (const nav::BodyState* body = TrackedBody(state.tracking.trackMode, state.sky))
        return azEl(body->azimuth, body->elevation);
    if (state.tracking.trackMode == TrackMode::Park) return azEl(state.settings.parkAz, state.settings.parkEl);
    return QJsonValue::Null;
}

QString OutputName(Station& station) {
    if (station.state().tracking.ddeOutput) return QStringLiteral("endpoint");
    return station.tracker().hamlibOutput() ? QStringLiteral("hamlib") : QStringLiteral("serial");
}

QJsonObject AntennaJson(const AntennaSeen& a) {
    QJsonValue reported = QJsonValue::Null;
    if (a.reported)
        reported = QJsonObject{{QStringLiteral("azimuth"), a.reported->azimuth},
                               {QStringLiteral("elevation"), a.reported->elevation}};
    return {{QStringLiteral("commanded"), QJsonArray{a.commandedFirst, a.commandedSecond}},
            {QStringLiteral("reported"), reported},
            {QStringLiteral("error"), a.reportedError},
            {QStringLiteral("rotatorCommanded"), a.rotatorCommanded},
            {QStringLiteral("reason"), a.motionReason},
            {QStringLiteral("link"), QJsonObject{{QStringLiteral("lost"), a.linkLost},
                                                 {QStringLiteral("reason"), a.linkReason}}}};
}

nav::PlannerSite HomeSite(const Station& station) {
    const nav::ObserverSite& s = station.state().settings.site;
    return nav::MakePlannerSite(s.latitude, s.longitude, s.height, s);
}

std::optional<nav::DxStation> CurrentDx(Station& station) {
    const PlannerSettings planner = LoadPlannerSettings(station.store());
    if (planner.recentDx.isEmpty()) return std::nullopt;
    std::string error;
    return nav::ParseDxEntry(planner.recentDx.first().toStdString(), error);
}

}  // namespace

QJsonObject StateJson(Station& station, const AntennaSeen& antenna) {
    const AppState& state = station.state();
    const nav::ClockState& clock = state.sky.clock;
    const nav::RiseSetTexts& riseSet = station.riseSetTexts();
    QJsonObject tracking{{QStringLiteral("mode"), TrackModeName(state.tracking.trackMode)},
                         {QStringLiteral("active"), state.tracking.trackingActive},
                         {QStringLiteral("output"), OutputName(station)},
                         {QStringLiteral("target"), TargetJson(state)},
                         {QStringLiteral("source"), SourceName(state.settings.source)}};
    return {{QStringLiteral("utc"), UtcText(EpochSecondsOfDay(clock.utcDay) + nav::SecondOfDay(clock))},
            {QStringLiteral("date"), station.dateText()},
            {QStringLiteral("time"), station.timeText()},
            {QStringLiteral("showUtc"), state.showUtc},
            {QStringLiteral("site"), SiteJson(state.settings.site)},
            {QStringLiteral("sun"), BodyJson(state.sky.sun)},
            {QStringLiteral("moon"), BodyJson(state.sky.moon)},
            {QStringLiteral("moonElongation"), state.sky.moonElongation},
            {QStringLiteral("eme"), EmeJson(state.eme)},
            {QStringLiteral("riseSet"), QJsonObject{{QStringLiteral("sun"), PanelJson(riseSet.sun)},
                                                     {QStringLiteral("moon"), PanelJson(riseSet.moon)}}},
            {QStringLiteral("tracking"), tracking},
            {QStringLiteral("antenna"), AntennaJson(antenna)},
            {QStringLiteral("radio"), QJsonObject{{QStringLiteral("mode"), RadioModeText(station.radio().mode())},
                                                  {QStringLiteral("status"), station.radio().statusText()},
                                                  {QStringLiteral("lost"), station.radio().statusLost()}}}};
}

QJsonArray MoonPathJson(const Station& station) {
    nav::SkyState workspace = station.state().sky;
    const nav::PlannerSite home = HomeSite(station);
    const int day = station.state().sky.clock.utcDay;
    QJsonArray path;
    for (long long second = 0; second <= kSecondsPerDay; second += kMoonPathStepSeconds) {
        const nav::BodyState moon = nav::MoonAt(workspace, home, day, second);
        path.append(QJsonArray{moon.azimuth, moon.elevation});
    }
    return path;
}

QJsonObject WindowsJson(Station& station, int days) {
    const nav::PlannerSite home = HomeSite(station);
    const int firstDay = station.state().sky.clock.utcDay;
    const PlannerSettings planner = LoadPlannerSettings(station.store());
    QJsonObject report{{QStringLiteral("home"), SiteJson(home.site)},
                       {QStringLiteral("dx"), QJsonValue::Null},
                       {QStringLiteral("minElevation"), planner.minElevation},
                       {QStringLiteral("windows"), QJsonArray{}},
                       {QStringLiteral("day"), QJsonValue::Null}};
    const std::optional<nav::DxStation> dx = CurrentDx(station);
    if (!dx) return report;
    const nav::PlannerSite dxSite = nav::MakePlannerSite(dx->point.latitude, dx->point.longitude, dx->height, home.site);
    QJsonObject dxJson = SiteJson(dxSite.site);
    dxJson.insert(QStringLiteral("call"), QString::fromStdString(dx->callSign));
    report.insert(QStringLiteral("dx"), dxJson);

    nav::SkyState workspace = station.state().sky;
    const qint64 firstEpoch = EpochSecondsOfDay(firstDay);
    QJsonArray windows;
    for (const nav::CommonWindow& w : nav::FindCommonWindows(workspace, home, dxSite, firstDay, days, planner.minElevation))
        windows.append(QJsonObject{{QStringLiteral("start"), UtcText(firstEpoch + w.start)},
                                   {QStringLiteral("end"), UtcText(firstEpoch + w.end)},
                                   {QStringLiteral("minutes"), w.minutes()},
                                   {QStringLiteral("homeMaxElevation"), w.homeMaxElevation},
                                   {QStringLiteral("dxMaxElevation"), w.dxMaxElevation}});
    report.insert(QStringLiteral("windows"), windows);
    const nav::DayProfile profile =
        nav::ComputeDayProfile(workspace, home, dxSite, firstDay, kDayChartStepSeconds, ShippedSkySurvey());
    report.insert(QStringLiteral("day"), QJsonObject{{QStringLiteral("hours"), NumberList(profile.hours)},
                                                     {QStringLiteral("homeElevation"), NumberList(profile.homeElevation)},
                                                     {QStringLiteral("dxElevation"), NumberList(profile.dxElevation)}});
    return report;
}

}  // namespace skyrel
