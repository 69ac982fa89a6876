#include "app/station/antennastatus.h"

#include "navlib/constants.h"

namespace skyrel {
namespace {

QString OneDecimal(double degrees) { return QString::number(degrees, 'f', 1); }

}  // namespace

AntennaStatus ReportStatus(const RotatorReport& report) {
    AntennaStatus status;
    status.position = QStringLiteral("Antenna: %1 / %2")
                          .arg(OneDecimal(nav::ReducedDegrees(report.reported.azimuth)),
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
    return "AZ" + OneDecimal(nav::ReducedDegrees(reported.azimuth)).toLatin1() + " EL" +
           OneDecimal(reported.elevation).toLatin1();
}

}  // namespace skyrel
