#include "skycharts.h"

#include <QPainter>
#include <algorithm>
#include <cmath>

#include "colour.h"
#include "ui/mapprojection.h"

namespace skyrel::assets {
namespace {

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

QImage MakeCelestialGrid() {
    QImage chart(kSkyChartWidth, kSkyChartHeight, QImage::Format_RGB32);
    chart.fill(Qt::black);
    // The map window is tall enough in this view to show the grid picture to its last row.
    DrawGrid(chart, QColor(0, 0, 255), Qt::white, QStringLiteral(" h"), kSkyChartHeight - 3);
    return chart;
}

QImage MakeSkyNoiseChart(const nav::SkySurvey& survey) {
    QImage chart(kSkyChartWidth, kSkyChartHeight, QImage::Format_RGB32);
    const double logLowest = std::log10(survey.minimum());
    const double logRange = std::log10(survey.maximum()) - logLowest;
    for (int r = 0; r < kSkyChartHeight; ++r) {
        const double declination = SkyDeclinationOfRow(r);
        for (int c = 0; c < kSkyChartWidth; ++c) {
            const double rightAscension = SkyRightAscensionOfColumn(c);
            const double kelvin = survey.temperature(nav::EquatorialToGalactic(rightAscension, declination));
            chart.setPixel(c, r, TemperatureColour((std::log10(kelvin) - logLowest) / logRange));
        }
    }
    // The map window shows only the top 254 rows in this view: the hour labels sit above that edge.
    DrawGrid(chart, QColor(40, 8, 4), QColor(24, 4, 2), QStringLiteral("h"), 250);
    return chart;
}

}  // namespace skyrel::assets
