#include "ui/plannerchart.h"

#include <QAreaSeries>
#include <QLegend>
#include <QLegendMarker>
#include <QLineSeries>
#include <QValueAxis>
#include <algorithm>

namespace skyrel {
namespace {

constexpr double kLowestElevation = -90;
constexpr double kHighestElevation = 90;

const QColor kHomeColour(200, 30, 30);
const QColor kDxColour(30, 60, 200);
const QColor kWindowColour(60, 180, 60, 70);
const QColor kSkyColour(150, 100, 20);

QLineSeries* NamedLine(const QString& name, const QColor& colour, Qt::PenStyle style = Qt::SolidLine) {
    auto* series = new QLineSeries;
    series->setName(name);
    QPen pen(colour, 2);
    pen.setStyle(style);
    series->setPen(pen);
    return series;
}

QLineSeries* LineOf(const QString& name, const QColor& colour, const std::vector<double>& x,
                    const std::vector<double>& y) {
    QLineSeries* series = NamedLine(name, colour);
    for (std::size_t i = 0; i < x.size(); ++i) series->append(x[i], y[i]);
    return series;
}

QAreaSeries* ShadedWindow(const nav::CommonWindow& w) {
    const double start = w.start / nav::kSecondsPerHour, end = w.end / nav::kSecondsPerHour;
    auto* upper = new QLineSeries;
    upper->append(start, kHighestElevation);
    upper->append(end, kHighestElevation);
    auto* lower = new QLineSeries;
    lower->append(start, kLowestElevation);
    lower->append(end, kLowestElevation);
    auto* area = new QAreaSeries(upper, lower);
    // The area draws its bounds but does not own them: they go when the chart removes the area.
    upper->setParent(area);
    lower->setParent(area);
    area->setName(kWindowSeriesName);
    area->setColor(kWindowColour);
    area->setBorderColor(Qt::transparent);
    return area;
}

QValueAxis* Axis(const QString& title, double lowest, double highest, int ticks) {
    auto* axis = new QValueAxis;
    axis->setTitleText(title);
    axis->setRange(lowest, highest);
    axis->setTickCount(ticks);
    axis->setLabelFormat(QStringLiteral("%.0f"));
    return axis;
}

QLineSeries* FindLine(QChart& chart, const QString& name) {
    for (QAbstractSeries* s : chart.series())
        if (s->name() == name) return qobject_cast<QLineSeries*>(s);
    return nullptr;
}

}  // namespace

void BuildDayChart(QChart& chart, const nav::DayProfile& profile, const std::vector<nav::CommonWindow>& windows,
                   double minElevation, std::optional<double> nowHours) {
    chart.removeAllSeries();
    for (QAbstractAxis* axis : chart.axes()) {
        chart.removeAxis(axis);
        delete axis;
    }
    QValueAxis* hours = Axis(QStringLiteral("UTC (h)"), 0, nav::kHoursPerDay, 9);
    QValueAxis* elevation = Axis(QStringLiteral("Elevation (deg)"), kLowestElevation, kHighestElevation, 7);
    const double hottest = profile.skyTemperature.empty()
                               ? 1
                               : *std::max_element(profile.skyTemperature.begin(), profile.skyTemperature.end());
    QValueAxis* sky = Axis(kSkySeriesName, 0, hottest * 1.1, 7);
    sky->applyNiceNumbers();
    chart.addAxis(hours, Qt::AlignBottom);
    chart.addAxis(elevation, Qt::AlignLeft);
    chart.addAxis(sky, Qt::AlignRight);

    const auto add = [&](QAbstractSeries* series, QValueAxis* y) {
        chart.addSeries(series);
        series->attachAxis(hours);
        series->attachAxis(y);
    };
    for (const nav::CommonWindow& w : windows) {
        QAreaSeries* area = ShadedWindow(w);
        add(area, elevation);
        // One legend entry stands for all the windows.
        if (&w != &windows.front())
            for (QLegendMarker* marker : chart.legend()->markers(area)) marker->setVisible(false);
    }
    add(LineOf(kHomeSeriesName, kHomeColour, profile.hours, profile.homeElevation), elevation);
    add(LineOf(kDxSeriesName, kDxColour, profile.hours, profile.dxElevation), elevation);
    add(LineOf(kMinimumSeriesName, Qt::darkGreen, {0, nav::kHoursPerDay}, {minElevation, minElevation}), elevation);
    add(LineOf(kSkySeriesName, kSkyColour, profile.hours, profile.skyTemperature), sky);
    add(NamedLine(kNowSeriesName, Qt::black, Qt::DashLine), elevation);
    MoveNowLine(chart, nowHours);
}

void MoveNowLine(QChart& chart, std::optional<double> nowHours) {
    QLineSeries* now = FindLine(chart, kNowSeriesName);
    if (!now) return;
    if (!nowHours) {
        now->clear();
        return;
    }
    now->replace(QList<QPointF>{{*nowHours, kLowestElevation}, {*nowHours, kHighestElevation}});
}

}  // namespace skyrel
