#include "app/station/antennastatus.h"

#include <cmath>

#include "navlib/constants.h"

namespace skyrel {
namespace {

QString OneDecimal(double degrees) { return QString::number(degrees, 'f', 1); }

// The azimuth with one decimal in [0, 360): rounded before it is reduced, so that -0.04 and 359.96 both
// show 0.0 rather than 360.0 (adding 0.0 turns a negative zero into a plain one).
QString AzimuthText(double degrees) { return OneDecimal(nav::ReducedDegrees(std::round(degrees * 10) / 10) + 0.0); }

}  // namespace

AntennaStatus ReportStatus(const RotatorReport& report) {
    AntennaStatus status;
    status.position = QStringLiteral("Antenna: %1 / %2")
                          .arg(AzimuthText(report.reported.azimuth),
                               OneDecimal(report.reported.elevation));
    if (report.pointingError) {
        status.error = QStringLiteral("Error: %1°").arg(QString::number(*report.pointingError, 'f', 2));
        if (report.clamped) status.error += QStringLiteral(" (limits)");
        status.warning = *report.pointingError > kPointingErrorWarning;
    }
    return status;
}

AntennaStatus UnreachableStatus() { return {QString(), kRotatorNotReachable, true}; }

QByteArray AntennaItemText(RotatorPosition reported) {
    return "AZ" + AzimuthText(reported.azimuth).toLatin1() + " EL" +
           OneDecimal(reported.elevation).toLatin1();
}

}  // namespace skyrel
