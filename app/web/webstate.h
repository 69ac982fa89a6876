// What the web page and its API show, as JSON: the station's second (the same names and units as
// skyrel-ephem --json where they overlap), its tracking and antenna, today's Moon path, and the planner's
// common windows with the current DX.
#pragma once

#include <QJsonArray>
#include <QJsonObject>
#include <QString>
#include <optional>

#include "app/rotator/hamlibmodule.h"

namespace skyrel {

class Station;

// What the tracker last told about the antenna: the pointing it commanded (as the status box shows it),
// the position the rotator reported, and whether the output link is lost.
struct AntennaSeen {
    QString commandedFirst, commandedSecond;  // e.g. "Az: 183.1" / "El: 52.4"; empty before a command
    std::optional<RotatorPosition> reported;            // degrees, the azimuth in [0, 360)
    QString reportedError;                              // "Error: 0.12°", or why the rotator is silent
    QString rotatorCommanded;  // the Hamlib rotator's last command, "Commanded: 120.2 / 44.0"; empty without one
    QString motionReason;      // why it does not move: "waiting for the rise at 21:14", "holding: inside the step"
    bool linkLost = false;
    QString linkReason;
};

// The state of the station's last second: time, site, Sun, Moon, EME figures, the day's rise/set texts,
// tracking, antenna and radio. Without the Moon path, which changes once a day (MoonPathJson).
QJsonObject StateJson(Station& station, const AntennaSeen& antenna);

// Today's (UTC) Moon from the station's site every kMoonPathStepSeconds, [[azimuth, elevation], ...] in
// degrees, refraction included, from 00:00 to 24:00.
inline constexpr int kMoonPathStepSeconds = 600;
QJsonArray MoonPathJson(const Station& station);

// The common Moon windows with the current DX (the planner's latest) over `days` UTC days from today, as
// skyrel-ephem --windows writes them, plus the first day's elevations of both stations every
// kDayChartStepSeconds ("day"); "dx" is null and the lists empty when no DX is stored.
inline constexpr int kDayChartStepSeconds = 600;
inline constexpr int kMaxWindowDays = 7;
QJsonObject WindowsJson(Station& station, int days);

}  // namespace skyrel
