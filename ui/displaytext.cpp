#include "ui/displaytext.h"

#include <cmath>

#include "navlib/constants.h"
#include "navlib/formatfixed.h"

namespace skyrel {
namespace {

// Puts ',' in front of each group of three digits from the right of an unsigned digit string.
QString GroupThousands(QString digits) {
    const int start = digits.startsWith(QLatin1Char('-')) ? 1 : 0;
    for (int i = digits.size() - 3; i > start; i -= 3) digits.insert(i, QLatin1Char(','));
    return digits;
}

}  // namespace

QString FixedText(double value, int significant, int decimals) {
    return QString::fromStdString(nav::formatFixed(value, significant, decimals));
}

QString FixedText(double value, int decimals) { return QString::fromStdString(nav::FixedDecimals(value, decimals)); }

QString RightAscensionText(double rightAscension) {
    const double degrees = nav::Degrees(rightAscension);
    const double s = degrees / 360 * 86400;
    const int h = static_cast<int>(std::trunc(s / 3600));
    const int m = static_cast<int>(std::trunc(s / 60)) - 60 * h;
    const int sec = static_cast<int>(std::trunc(s - 60.0 * m - 3600.0 * h + 0.5));
    return QString::asprintf("%02d:%02d:%02d", h, m, sec);
}

QString DistanceText(double kilometres, double factor) {
    return GroupThousands(FixedText(kilometres * factor, 0));
}

QString ElongationText(double elongation) {
    QString text = FixedText(std::fabs(elongation), 1);
    if (elongation < 0) text += QStringLiteral(" v");
    if (elongation > 0) text += QStringLiteral(" ^");
    // Truncation toward zero makes "new" cover -1.5 < v < 0.5.
    switch (static_cast<int>(std::trunc(elongation + 0.5))) {
        case 0: return QStringLiteral("new");
        case 90: return QStringLiteral("1st Q");
        case 180: return QStringLiteral("full");
        case -90: return QStringLiteral("3rd Q");
        default: return text;
    }
}

QColor ElevationColour(double elevation, const QColor& previous) {
    if (elevation > 0) return QColor(255, 0, 0);
    if (elevation > -6 && elevation < 0) return QColor(0, 0, 255);
    if (elevation < -6) return QColor(0, 0, 0);
    return previous;
}

QString AnomalyText(double phase) {
    return FixedText(phase, 3, 0) + QStringLiteral("/256");
}

}  // namespace skyrel
