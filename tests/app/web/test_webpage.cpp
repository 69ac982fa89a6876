// The page in a real browser (Debian's chromium, headless): it logs in with the address skyrel
// --web-url prints, shows the live state, and drives the antenna through its buttons.
#include <gtest/gtest.h>

#include <QTest>
#include <QTimer>
#include <cmath>

#include "app/station/pointing.h"
#include "app/web/webserver.h"
#include "tests/support/headlessbrowser.h"
#include "tests/app/web/stationwithpage.h"

namespace skyrel {
namespace {

constexpr int kCycleMs = 1000;

class WebPageTest : public test::StationWithPage {
protected:
    void SetUp() override {
        StationWithPage::SetUp();
        StartPage();
        // The clock stands still: every cycle is the same second, so the page's figures are fixed.
        QObject::connect(&cycle, &QTimer::timeout, &station, &Station::tick);
        cycle.start(kCycleMs);
        ASSERT_TRUE(browser.start()) << browser.error().toStdString();
        ASSERT_TRUE(browser.navigate(WebLoginUrl(settings)));
    }

    QTimer cycle;
    test::HeadlessBrowser browser;
};

TEST_F(WebPageTest, TheLiveValuesAppearAsTheStateHasThem) {
    // The page's text is the state's number with two decimals and a degree sign.
    const QString moonAz = browser.waitForText(QStringLiteral("document.getElementById('moon-az').textContent"));
    EXPECT_EQ(moonAz, QString::number(station.state().sky.moon.azimuth, 'f', 2) + QChar(0x00B0));
    EXPECT_EQ(browser.waitForText(QStringLiteral("document.getElementById('sun-el').textContent")),
              QString::number(station.state().sky.sun.elevation, 'f', 2) + QChar(0x00B0));
    EXPECT_EQ(browser.waitForText(QStringLiteral("document.getElementById('time').textContent")), QStringLiteral("17:15:00"));
    EXPECT_EQ(browser.waitForText(QStringLiteral("document.getElementById('link').textContent")), QStringLiteral("live"));
    // The login cookie is out of the script's reach, and the token left the address bar.
    EXPECT_EQ(browser.evaluate(QStringLiteral("document.cookie"))->toString(), QString());
    EXPECT_EQ(browser.evaluate(QStringLiteral("location.href"))->toString(),
              QStringLiteral("http://127.0.0.1:%1/").arg(server->port()));
    // The Sun stands at 183.08 / 52.42: its mark in the sky plot sits at r = 100 (90 - el) / 90 in the
    // plot's units, south of the centre (tolerance 0.1, the marks' rounding).
    const double r = 100 * (90 - station.state().sky.sun.elevation) / 90;
    const double cy = browser.waitForText(QStringLiteral("document.getElementById('sun-mark').getAttribute('cy')")).toDouble();
    EXPECT_NEAR(cy, r * -std::cos(station.state().sky.sun.azimuth * M_PI / 180), 0.1);
}

TEST_F(WebPageTest, ParkThroughThePageSendsTheParkLine) {
    ASSERT_EQ(browser.waitForText(QStringLiteral("document.getElementById('moon-az').textContent")),
              QString::number(station.state().sky.moon.azimuth, 'f', 2) + QChar(0x00B0));
    browser.evaluate(QStringLiteral("document.querySelector('button[data-target=park]').click()"));
    const QByteArray line = MakePointing(station.state().settings.parkAz, station.state().settings.parkEl,
                                         TrackMode::Park, station.state().settings, station.state().sky)
                                .line;
    // The next cycle (within a second) writes the line; the page asked first.
    EXPECT_TRUE(QTest::qWaitFor([&] { return station.state().tracking.trackingActive; }, 5000));
    EXPECT_EQ(station.state().tracking.trackMode, TrackMode::Park);
    QByteArray written;
    EXPECT_TRUE(QTest::qWaitFor([&] {
        written += pty.readAvailable();
        return written.size() >= line.size();
    }, 5000));
    EXPECT_EQ(written.left(line.size()), line);
    EXPECT_EQ(browser.dialogsAccepted(), 1);
    EXPECT_EQ(browser.waitForText(QStringLiteral(
                  "document.querySelector('button.active') && document.querySelector('button.active').dataset.target")),
              QStringLiteral("park"));
}

}  // namespace
}  // namespace skyrel
