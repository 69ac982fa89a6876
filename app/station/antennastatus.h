// What the status box and the endpoint's antenna item say about a Hamlib rotator's answers: where the
// antenna points, how far that is from the commanded position, and whether that needs attention.
#pragma once

#include <QByteArray>
#include <QString>

#include "app/rotator/hamlibrotator.h"

namespace skyrel {

// A pointing error above this (degrees) is shown in the warning colour.
inline constexpr double kPointingErrorWarning = 1.0;

inline const QString kRotatorNotReachable = QStringLiteral("rotator not reachable");

struct AntennaStatus {
    QString position;  // "Antenna: 120.3 / 44.0" (azimuth 0..360 / elevation, degrees); empty when unknown
    QString error;     // "Error: 0.12°", with " (limits)" when the command was clamped; or "rotator not reachable"
    bool warning = false;  // the error exceeds kPointingErrorWarning, or the rotator is not reachable
};

// The status of one answered command.
AntennaStatus ReportStatus(const RotatorReport& report);
// The status while the rotator does not answer: the last position is no longer known.
AntennaStatus UnreachableStatus();

// The antenna item's value: "AZ<azimuth> EL<elevation>", each with one decimal, azimuth in 0..360.
QByteArray AntennaItemText(RotatorPosition reported);

}  // namespace skyrel
