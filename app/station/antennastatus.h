// What the status box and the endpoint's antenna item say about a Hamlib rotator's answers: where the
// antenna is wanted, where it was last commanded, where it points, how far that is from the command, and
// why it does not move when that is on purpose.
#pragma once

#include <QByteArray>
#include <QMetaType>
#include <QString>
#include <optional>

#include "app/rotator/hamlibrotator.h"

namespace skyrel {

// A pointing error above this (degrees) is shown in the warning colour.
inline constexpr double kPointingErrorWarning = 1.0;

inline const QString kRotatorNotReachable = QStringLiteral("rotator not reachable");
inline const QString kHoldingInsideStep = QStringLiteral("holding: inside the step");
inline const QString kHoldingForMoveSeconds = QStringLiteral("holding: outside the move seconds");

// Each position as azimuth 0..360 / elevation in degrees with one decimal; empty when unknown.
struct AntennaStatus {
    QString target;     // "Target: 120.3 / 44.0"
    QString commanded;  // "Commanded: 120.2 / 44.0"
    QString position;   // "Antenna: 120.3 / 44.0", as reported
    // The reported position as figures for the web page: the azimuth as `position` shows it, in [0, 360).
    std::optional<RotatorPosition> reported;
    QString error;      // "Error: 0.12°", with " (limits)" when the command was clamped; or "rotator not reachable"
    QString reason;     // why nothing moves: "waiting for the rise at 21:14", "holding: inside the step", ...
    bool warning = false;  // the error exceeds kPointingErrorWarning, or the rotator is not reachable
};

// The status of one answered second; `waiting` (the rise wait's text, or empty) is the reason unless
// the rotator holds back a move.
AntennaStatus ReportStatus(const RotatorReport& report, const QString& waiting = {});
// The status while the rotator does not answer: the last position is no longer known.
AntennaStatus UnreachableStatus();
// "waiting for the rise at HH:MM" for the instant `utcDays` (day number and fraction, UTC).
QString RiseWaitText(double utcDays);

// The antenna item's value: "AZ<az> EL<el>" as reported, then " TARGET AZ<az> EL<el>" and
// " COMMANDED AZ<az> EL<el>" when known, then the reason in parentheses when there is one; each angle
// with one decimal, azimuth in 0..360.
QByteArray AntennaItemText(const RotatorReport& report, const AntennaStatus& status);

}  // namespace skyrel

Q_DECLARE_METATYPE(skyrel::AntennaStatus)
