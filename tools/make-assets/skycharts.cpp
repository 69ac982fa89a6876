#include "skycharts.h"

#include <QPainter>
#include <QtEndian>
#include <algorithm>
#include <cmath>

#include "colour.h"
#include "ui/mapprojection.h"

namespace skyrel::assets {
namespace {

constexpr double kDegree = 3.14159265358979323846 / 180;

// North galactic pole and the galactic longitude of the north celestial pole (J2000).
constexpr double kPoleRightAscension = 192.85948;
constexpr double kPoleDeclination = 27.12825;
constexpr double kCelestialPoleLongitude = 122.93192;

constexpr int kSurveyColumns = 360;
constexpr int kSurveyRows = 180;

struct GridLine {
    double degrees;
    const char* label;
};
constexpr GridLine kDeclinationLines[] = {{30, "30"}, {15, "15"}, {0, "0"}, {-15, "-15"}, {-30, "-30"}};
constexpr double kRightAscensionLines[] = {270, 180, 90};  // 18 h, 12 h, 6 h

QFont LabelFont() {
    QFont font(QStringLiteral("Liberation Sans"));
    font.setPixelSize(10);
    return font;
}

// Dashed lines at the projected rows and columns of the grid, labels at the left edge and, on `hourRow`,
// along the bottom.
void DrawGrid(QImage& chart, const QColor& lineColour, const QColor& labelColour, const QString& hourSuffix,
              int hourRow) {
    QPainter painter(&chart);
    QPen pen(lineColour, 1);
    pen.setDashPattern({4, 3});
    painter.setPen(pen);
    for (const GridLine& line : kDeclinationLines) {
        const int row = MapRow(Projection::Sky, line.degrees);
        painter.drawLine(0, row, chart.width() - 1, row);
    }
    for (double rightAscension : kRightAscensionLines) {
        const int column = MapColumn(Projection::Sky, rightAscension);
        painter.drawLine(column, 0, column, chart.height() - 1);
    }
    painter.setRenderHint(QPainter::TextAntialiasing);
    painter.setFont(LabelFont());
    painter.setPen(labelColour);
    for (const GridLine& line : kDeclinationLines)
        painter.drawText(3, MapRow(Projection::Sky, line.degrees) - 2, QString::fromLatin1(line.label));
    for (double rightAscension : kRightAscensionLines)
        painter.drawText(MapColumn(Projection::Sky, rightAscension) + 3, hourRow,
                         QString::number(int(rightAscension / 15)) + hourSuffix);
}

// Quietest sky dark brownish red, through orange, to yellow for the brightest.
QRgb TemperatureColour(double fraction) {
    static constexpr struct {
        double at;
        Rgb colour;
    } kStops[] = {{0.0, {56, 12, 6}}, {0.2, {128, 34, 12}}, {0.45, {214, 92, 20}}, {0.7, {250, 170, 36}},
                  {1.0, {255, 250, 120}}};
    fraction = std::clamp(fraction, 0.0, 1.0);
    for (size_t i = 1; i < std::size(kStops); ++i) {
        if (fraction > kStops[i].at) continue;
        const double t = (fraction - kStops[i - 1].at) / (kStops[i].at - kStops[i - 1].at);
        const Rgb c = Mix(kStops[i - 1].colour, kStops[i].colour, t);
        return qRgb(int(c.r), int(c.g), int(c.b));
    }
    return qRgb(255, 250, 120);
}

}  // namespace

GalacticAngles EquatorialToGalactic(double rightAscension, double declination) {
    const double delta = declination * kDegree;
    const double poleDelta = kPoleDeclination * kDegree;
    const double hourDifference = (rightAscension - kPoleRightAscension) * kDegree;
    const double sinLatitude = std::sin(delta) * std::sin(poleDelta) +
                               std::cos(delta) * std::cos(poleDelta) * std::cos(hourDifference);
    const double y = std::cos(delta) * std::sin(hourDifference);
    const double x = std::sin(delta) * std::cos(poleDelta) - std::cos(delta) * std::sin(poleDelta) * std::cos(hourDifference);
    double longitude = kCelestialPoleLongitude - std::atan2(y, x) / kDegree;
    longitude = std::fmod(longitude, 360.0);
    if (longitude < 0) longitude += 360;
    return {longitude, std::asin(std::clamp(sinLatitude, -1.0, 1.0)) / kDegree};
}

std::optional<SkySurvey> SkySurvey::FromBytes(const QByteArray& data) {
    if (data.size() != 2 * kSurveyColumns * kSurveyRows) return std::nullopt;
    SkySurvey survey(data);
    // The colour scale is logarithmic: every temperature must be positive and the sky not all one value.
    if (survey.minimum() <= 0 || survey.maximum() <= survey.minimum()) return std::nullopt;
    return survey;
}

SkySurvey::SkySurvey(const QByteArray& data) : data_(data) {
    const auto* samples = reinterpret_cast<const uchar*>(data_.constData());
    int lowest = INT16_MAX, highest = INT16_MIN;
    for (int i = 0; i < kSurveyColumns * kSurveyRows; ++i) {
        const int sample = qFromLittleEndian<qint16>(samples + 2 * i);
        lowest = std::min(lowest, sample);
        highest = std::max(highest, sample);
    }
    minimum_ = lowest * 0.1;
    maximum_ = highest * 0.1;
}

double SkySurvey::temperature(GalacticAngles at) const {
    int l = int(std::lround(at.longitude));
    if (l < 0) l += 360;
    if (l >= 360) l -= 360;
    const int b = std::min(int(std::lround(at.latitude)), 89);
    const auto* samples = reinterpret_cast<const uchar*>(data_.constData());
    return qFromLittleEndian<qint16>(samples + 2 * (l + kSurveyColumns * (b + 90))) * 0.1;
}

QImage MakeCelestialGrid() {
    QImage chart(kSkyChartWidth, kSkyChartHeight, QImage::Format_RGB32);
    chart.fill(Qt::black);
    // The map window is tall enough in this view to show the grid picture to its last row.
    DrawGrid(chart, QColor(0, 0, 255), Qt::white, QStringLiteral(" h"), kSkyChartHeight - 3);
    return chart;
}

QImage MakeSkyNoiseChart(const SkySurvey& survey) {
    QImage chart(kSkyChartWidth, kSkyChartHeight, QImage::Format_RGB32);
    const double logLowest = std::log10(survey.minimum());
    const double logRange = std::log10(survey.maximum()) - logLowest;
    for (int r = 0; r < kSkyChartHeight; ++r) {
        const double declination = SkyDeclinationOfRow(r);
        for (int c = 0; c < kSkyChartWidth; ++c) {
            const double rightAscension = SkyRightAscensionOfColumn(c);
            const double kelvin = survey.temperature(EquatorialToGalactic(rightAscension, declination));
            chart.setPixel(c, r, TemperatureColour((std::log10(kelvin) - logLowest) / logRange));
        }
    }
    // The map window shows only the top 254 rows in this view: the hour labels sit above that edge.
    DrawGrid(chart, QColor(40, 8, 4), QColor(24, 4, 2), QStringLiteral("h"), 250);
    return chart;
}

}  // namespace skyrel::assets
