// The figures of one cycle at sixty instants and sites, against an independent literal implementation.
#include <gtest/gtest.h>

#include <QJsonArray>
#include <QRegularExpression>

#include "navlib/anomaly.h"
#include "navlib/observer.h"
#include "navlib/timecal.h"
#include "tests/support/golden_data.h"
#include "tests/support/fakeclock.h"

namespace {

using skyrel::test::CloseTo;

// The cycle's order: clock, anomaly phase, positions, then refraction added to both elevations.
struct CycleResult {
    nav::SkyState sky;
    double sunGeometric = 0, moonGeometric = 0, anomalyPhase = 0;
};

CycleResult RunCycle(const QJsonObject& line) {
    const QStringList parts = line["utc"].toString().split(QRegularExpression(QStringLiteral("[-T:]")));
    const skyrel::test::FakeClock clock(parts[0].toInt(), parts[1].toInt(), parts[2].toInt(), parts[3].toInt(),
                                        parts[4].toInt(), parts[5].toInt());
    const nav::ObserverSite site{line["lat"].toDouble(), line["lon"].toDouble(), line["height"].toDouble(), ""};
    CycleResult r;
    nav::SetObserver(r.sky.observerFrame, site.latitude, site.longitude, site.height);
    nav::ReadClock(r.sky.clock, clock, true, 0);
    r.anomalyPhase = nav::AnomalyPhase(r.sky.clock.utcDay, r.sky.clock.utcFraction);
    nav::ComputePositions(r.sky, site);
    r.sunGeometric = r.sky.sun.elevation;
    r.moonGeometric = r.sky.moon.elevation;
    nav::AddRefraction(r.sky);
    return r;
}

void ExpectBody(const nav::BodyState& body, double geometric, const QJsonObject& e, const QString& where) {
    const std::string w = where.toStdString();
    EXPECT_PRED2(CloseTo, body.azimuth, e["azimuth"].toDouble()) << w;
    EXPECT_PRED2(CloseTo, body.elevation, e["elevation"].toDouble()) << w;
    EXPECT_PRED2(CloseTo, geometric, e["geometricElevation"].toDouble()) << w;
    EXPECT_PRED2(CloseTo, body.rightAscension, e["rightAscension"].toDouble()) << w;
    EXPECT_PRED2(CloseTo, body.declination, e["declination"].toDouble()) << w;
    EXPECT_PRED2(CloseTo, body.hourAngle, e["hourAngle"].toDouble()) << w;
    EXPECT_PRED2(CloseTo, body.distance, e["distance"].toDouble()) << w;
    EXPECT_PRED2(CloseTo, body.geoRightAscension, e["geoRightAscension"].toDouble()) << w;
    EXPECT_PRED2(CloseTo, body.geoDeclination, e["geoDeclination"].toDouble()) << w;
}

TEST(GoldenPositions, EveryInstantAgreesWithTheReferenceFigures) {
    const auto lines = skyrel::test::ReadJsonLines(QStringLiteral("golden-positions.jsonl"));
    ASSERT_EQ(lines.size(), 60u);
    for (const QJsonObject& line : lines) {
        const CycleResult r = RunCycle(line);
        const QJsonObject e = line["expect"].toObject();
        const QString where = line["utc"].toString() + QStringLiteral(" at ") +
                              QString::number(line["lat"].toDouble()) + QStringLiteral(", ") +
                              QString::number(line["lon"].toDouble());
        EXPECT_EQ(r.sky.clock.utcDay, e["utcDay"].toInt()) << where.toStdString();
        EXPECT_PRED2(CloseTo, r.sky.clock.utcFraction, e["utcFraction"].toDouble()) << where.toStdString();
        ExpectBody(r.sky.sun, r.sunGeometric, e["sun"].toObject(), where + QStringLiteral(" sun"));
        ExpectBody(r.sky.moon, r.moonGeometric, e["moon"].toObject(), where + QStringLiteral(" moon"));
        EXPECT_PRED2(CloseTo, r.sky.moonElongation, e["moonElongation"].toDouble()) << where.toStdString();
        EXPECT_PRED2(CloseTo, r.anomalyPhase, e["anomalyPhase"].toDouble()) << where.toStdString();
    }
}

}  // namespace
