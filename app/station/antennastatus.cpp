#include "app/station/antennastatus.h"

#include <cmath>

#include "navlib/constants.h"

namespace skyrel {
namespace {

constexpr int kMinutesPerDay = 1440;
constexpr int kMinutesPerHour = 60;

QString OneDecimal(double degrees) { return QString::number(degrees, 'f', 1); }

// The azimuth to one decimal in [0, 360): rounded before it is reduced, so that -0.04 and 359.96 both
// show 0.0 rather than 360.0 (adding 0.0 turns a negative zero into a plain one).
double ShownAzimuth(double degrees) { return nav::ReducedDegrees(std::round(degrees * 10) / 10) + 0.0; }

QString AzimuthText(double degrees) { return OneDecimal(ShownAzimuth(degrees)); }

QString PairText(RotatorPosition position) {
    return QStringLiteral("%1 / %2").arg(AzimuthText(position.azimuth), OneDecimal(position.elevation));
}

QByteArray ItemPair(RotatorPosition position) {
    return "AZ" + AzimuthText(position.azimuth).toLatin1() + " EL" +
           OneDecimal(position.elevation).toLatin1();
}

QString HoldText(MotionHold hold) {
    switch (hold) {
        case MotionHold::None: return {};
        case MotionHold::InsideStep: return kHoldingInsideStep;
        case MotionHold::MoveSeconds: return kHoldingForMoveSeconds;
    }
    return {};
}

}  // namespace

AntennaStatus ReportStatus(const RotatorReport& report, const QString& waiting) {
    AntennaStatus status;
    if (report.target) status.target = QStringLiteral("Target: ") + PairText(*report.target);
    if (report.commanded) status.commanded = QStringLiteral("Commanded: ") + PairText(*report.commanded);
    status.position = QStringLiteral("Antenna: ") + PairText(report.reported);
    status.reported = RotatorPosition{ShownAzimuth(report.reported.azimuth), report.reported.elevation};
    if (report.pointingError) {
        status.error = QStringLiteral("Error: %1°").arg(QString::number(*report.pointingError, 'f', 2));
        if (report.clamped) status.error += QStringLiteral(" (limits)");
        status.warning = *report.pointingError > kPointingErrorWarning;
    }
    status.reason = waiting.isEmpty() || report.hold == MotionHold::MoveSeconds ? HoldText(report.hold) : waiting;
    return status;
}

AntennaStatus UnreachableStatus() {
    AntennaStatus status;
    status.error = kRotatorNotReachable;
    status.warning = true;
    return status;
}

QString RiseWaitText(double utcDays) {
    const int minuteOfDay = static_cast<int>(std::floor((utcDays - std::floor(utcDays)) * kMinutesPerDay));
    return QStringLiteral("waiting for the rise at %1:%2")
        .arg(minuteOfDay / kMinutesPerHour, 2, 10, QLatin1Char('0'))
        .arg(minuteOfDay % kMinutesPerHour, 2, 10, QLatin1Char('0'));
}

QByteArray AntennaItemText(const RotatorReport& report, const AntennaStatus& status) {
    QByteArray text = ItemPair(report.reported);
    if (report.target) text += " TARGET " + ItemPair(*report.target);
    if (report.commanded) text += " COMMANDED " + ItemPair(*report.commanded);
    if (!status.reason.isEmpty()) text += " (" + status.reason.toLatin1() + ")";
    return text;
}

}  // namespace skyrel
