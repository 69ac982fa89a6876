// The Track menu on the main window with the serial output on real pseudo-terminals: a whole tracking
// second at the worked instant, the state table (ticks, titles, caption, height), a device that goes away
// and comes back, and a port that will not open.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QMessageBox>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <functional>
#include <memory>

#include <QElapsedTimer>

#include "app/rotator/hamlibsettings.h"
#include "app/settings/settingsstore.h"
#include "tests/support/fakeclock.h"
#include "tests/support/rotatordaemon.h"
#include "tests/support/uitest.h"
#include "tests/support/pseudoterminal.h"
#include "tests/support/stationfixture.h"
#include "ui/mainwindow.h"

namespace skyrel {
namespace {

using test::PseudoTerminal;

const QColor kRed(255, 0, 0);
const QColor kBlack(0, 0, 0);
using test::kEasyTail;
using test::VisibleBoxes;

QColor TitleColour(const QLabel* label) { return TextColour(*label); }


// The Moon stands at -20.69. The window's own timer is stopped.
class TrackingWindowTest : public test::StationOnPseudoTerminal {
protected:
    std::unique_ptr<TSMForm1> Open() {
        auto w = std::make_unique<TSMForm1>(station);
        w->Timer1().stop();
        return w;
    }

    // One second later, one cycle.
    void Tick(TSMForm1& w) {
        clock.advance(1);
        w.Timer1Timer();
    }

};

TEST_F(TrackingWindowTest, AWholeTrackingSecondSendsTheSunAndNothingForTheMoonBelowTheHorizon) {
    auto w = Open();
    EXPECT_EQ(w->OuterHeight(), TSMForm1::kIdleHeight);
    w->Sun1->trigger();
    EXPECT_EQ(w->OuterHeight(), TSMForm1::kTrackingHeight);
    EXPECT_EQ(w->GroupBox1->title(), "Tracking Active");
    EXPECT_TRUE(pty.readAvailable().isEmpty());  // opening sends nothing

    w->Timer1Timer();
    EXPECT_EQ(w->Label8->text(), "183.08");
    EXPECT_EQ(w->Label10->text(), "52.42");
    EXPECT_EQ(pty.readBytes(48), "AZ183.1 EL52.4" + kEasyTail);
    EXPECT_EQ(w->Label38->text(), "Az: 183.1");
    EXPECT_EQ(w->Label39->text(), "El: 52.4");

    w->Moon1->trigger();
    w->Timer1Timer();
    EXPECT_EQ(w->Label25->text(), "-20.69");
    QCoreApplication::processEvents();
    EXPECT_TRUE(pty.readAvailable(50).isEmpty());
    EXPECT_EQ(w->Label38->text(), "Az: 183.1");
    EXPECT_EQ(w->Label39->text(), "El: 52.4");
    EXPECT_EQ(w->OuterHeight(), TSMForm1::kTrackingHeight);
}

TEST_F(TrackingWindowTest, TheSunInEachFormat) {
    auto w = Open();
    w->Sun1Click();
    struct Case {
        const char* format;
        QByteArray line;
        const char* first;
        const char* second;
    };
    // Hour angle 1.88 on the meridian side: 181.9 commanded; declination 0.47 + 45.
    for (const Case& c : {Case{"Nova", "Sun AZ:183.1 EL:52.4\r\n", "Az: 183.1", "El: 52.4"},
                          Case{"EasyLHA", "AZ181.9 EL45.5" + kEasyTail, "LHA: 181.9", "Dec: 45.5"},
                          Case{"NovaLHA", "Sun AZ:181.9 EL:45.5\r\n", "LHA: 181.9", "Dec: 45.5"},
                          Case{"EasyComm1", "AZ183.1 EL52.4" + kEasyTail, "Az: 183.1", "El: 52.4"}}) {
        state.settings.outputFormat = QLatin1String(c.format);
        w->Timer1Timer();
        EXPECT_EQ(pty.readBytes(c.line.size()), c.line) << c.format;
        EXPECT_EQ(w->Label38->text(), c.first);
        EXPECT_EQ(w->Label39->text(), c.second);
    }
}

TEST_F(TrackingWindowTest, StateTableOfTheTrackMenu) {
    auto w = Open();
    const QColor systemText = TitleColour(w->Label6);
    EXPECT_EQ(TitleColour(w->Label21), systemText);
    EXPECT_TRUE(w->off1->isChecked());

    w->Sun1->trigger();
    EXPECT_TRUE(w->Sun1->isChecked());
    EXPECT_FALSE(w->Moon1->isChecked() || w->Park1->isChecked() || w->off1->isChecked());
    EXPECT_EQ(TitleColour(w->Label6), kRed);
    EXPECT_EQ(TitleColour(w->Label21), kBlack);
    EXPECT_TRUE(state.tracking.trackingActive);

    // Choosing the ticked item again keeps its tick.
    w->Sun1->trigger();
    EXPECT_TRUE(w->Sun1->isChecked());

    w->Park1->trigger();
    EXPECT_TRUE(w->Park1->isChecked());
    EXPECT_FALSE(w->Sun1->isChecked() || w->Moon1->isChecked() || w->off1->isChecked());
    EXPECT_EQ(w->GroupBox1->title(), "Parking Active");
    EXPECT_EQ(TitleColour(w->Label6), kBlack);
    EXPECT_EQ(TitleColour(w->Label21), kBlack);
    EXPECT_EQ(w->OuterHeight(), TSMForm1::kTrackingHeight);
    // The port stayed open: the park line goes out on the same device.
    w->Timer1Timer();
    const QByteArray park = "AZ0.0 EL0.0" + kEasyTail;
    EXPECT_EQ(pty.readBytes(park.size()), park);

    w->Moon1->trigger();
    EXPECT_EQ(w->GroupBox1->title(), "Tracking Active");
    EXPECT_EQ(TitleColour(w->Label21), kRed);
    EXPECT_EQ(TitleColour(w->Label6), kBlack);

    w->off1->trigger();
    EXPECT_EQ(w->OuterHeight(), TSMForm1::kIdleHeight);
    EXPECT_TRUE(w->off1->isChecked());
    EXPECT_FALSE(w->Sun1->isChecked() || w->Moon1->isChecked() || w->Park1->isChecked());
    EXPECT_EQ(TitleColour(w->Label21), kBlack);
    EXPECT_EQ(state.tracking.trackMode, TrackMode::Off);
    EXPECT_FALSE(state.tracking.trackingActive);
    const QString first = w->Label38->text();

    w->off1->trigger();
    EXPECT_TRUE(w->off1->isChecked());
    EXPECT_EQ(w->OuterHeight(), TSMForm1::kIdleHeight);
    EXPECT_EQ(w->GroupBox1->title(), "Tracking Active");
    EXPECT_EQ(w->Label38->text(), first);
    EXPECT_EQ(state.tracking.trackMode, TrackMode::Off);

    // Tracking off: the cycle sends nothing.
    w->Timer1Timer();
    EXPECT_TRUE(pty.readAvailable(50).isEmpty());
    w->Sun1->trigger();
    EXPECT_EQ(w->OuterHeight(), TSMForm1::kTrackingHeight);
}

TEST_F(TrackingWindowTest, EndpointOutputOpensNoPortAndHandsTheLineOn) {
    store.write(kOptionsGroup, QStringLiteral("Output Format"), QStringLiteral("Nova"));
    auto w = Open();
    state.tracking.ddeOutput = true;
    QByteArrayList lines;
    QObject::connect(&station.tracker(), &Tracker::lineForEndpoint, [&](const QByteArray& l) { lines.append(l); });
    pty.close();  // a port that cannot open would end the program
    w->Sun1Click();
    EXPECT_TRUE(state.tracking.trackingActive);
    EXPECT_TRUE(VisibleBoxes("PortFailureBox").isEmpty());
    w->Timer1Timer();
    EXPECT_EQ(lines, QByteArrayList{"Sun AZ:183.1 EL:52.4\r\n"});
    EXPECT_EQ(w->Label38->text(), "Az: 183.1");
}

TEST_F(TrackingWindowTest, ADeviceThatGoesAwayGivesOneErrorBoxAndTrackingResumesWhenItComesBack) {
    // Port 1 names a link to the device, removed and made again as an adapter is unplugged and plugged in.
    QTemporaryDir dir;
    const QString link = dir.filePath(QStringLiteral("ttyRotator"));
    auto device = std::make_unique<PseudoTerminal>();
    ASSERT_TRUE(QFile::link(device->devicePath(), link));
    store.write(kPortsGroup, QStringLiteral("1"), link);
    store.write(kOptionsGroup, QStringLiteral("Output Format"), QStringLiteral("Nova"));
    auto w = Open();
    state.settings.parkAz = 180;
    w->Park1Click();
    Tick(*w);
    EXPECT_EQ(device->readBytes(22), "Park AZ:180.0 EL:0.0\r\n");

    device.reset();
    QFile::remove(link);
    state.eme = {};
    Tick(*w);
    ASSERT_EQ(VisibleBoxes("WriteErrorBox").size(), 1);
    QMessageBox* box = VisibleBoxes("WriteErrorBox").front();
    EXPECT_EQ(box->icon(), QMessageBox::Critical);
    EXPECT_FALSE(box->text().isEmpty());
    // The rest of that cycle was skipped: no EME figures.
    EXPECT_EQ(state.eme.echoDelay, 0);

    // While the adapter stays away each second tries it again, silently, and the cycle runs to its end.
    for (int second = 0; second < 4; ++second) Tick(*w);
    EXPECT_EQ(VisibleBoxes("WriteErrorBox").size(), 1);
    EXPECT_GT(state.eme.echoDelay, 2.4);
    EXPECT_TRUE(state.tracking.trackingActive);
    EXPECT_EQ(w->OuterHeight(), TSMForm1::kTrackingHeight);
    EXPECT_TRUE(VisibleBoxes("PortFailureBox").isEmpty());

    // Back again, with the box still open: the next second drives it.
    auto back = std::make_unique<PseudoTerminal>();
    ASSERT_TRUE(QFile::link(back->devicePath(), link));
    state.settings.parkAz = 181;
    Tick(*w);
    EXPECT_EQ(back->readBytes(22), "Park AZ:181.0 EL:0.0\r\n");
    EXPECT_EQ(w->Label38->text(), "Az: 181.0");
    Tick(*w);
    EXPECT_EQ(back->readBytes(22), "Park AZ:181.0 EL:0.0\r\n");

    // A second failure while the first box is open adds no box; after it is closed a new one may come.
    back.reset();
    QFile::remove(link);
    Tick(*w);
    EXPECT_EQ(VisibleBoxes("WriteErrorBox").size(), 1);
    box->accept();
    ASSERT_TRUE(QTest::qWaitFor([] { return VisibleBoxes("WriteErrorBox").isEmpty(); }, 5000));
    auto third = std::make_unique<PseudoTerminal>();
    ASSERT_TRUE(QFile::link(third->devicePath(), link));
    Tick(*w);
    EXPECT_EQ(third->readBytes(22), "Park AZ:181.0 EL:0.0\r\n");
    third.reset();
    QFile::remove(link);
    Tick(*w);
    EXPECT_EQ(VisibleBoxes("WriteErrorBox").size(), 1);
}

// The end of this test's event loops: ctest runs every test in a process of its own.
TEST_F(TrackingWindowTest, APortThatWillNotOpenShowsTheMessageThenEndsTheEventLoopWithoutStoringThePosition) {
    QTemporaryDir dir;
    store.write(kPortsGroup, QStringLiteral("1"), dir.filePath(QStringLiteral("ttyMissing")));
    auto w = Open();
    w->show();
    w->Moon1->trigger();
    const QList<QMessageBox*> boxes = VisibleBoxes("PortFailureBox");
    ASSERT_EQ(boxes.size(), 1);
    QMessageBox* box = boxes.front();
    // The fixed text, then the device and the system's reason on a line of their own.
    EXPECT_EQ(box->text(), "Problem opening port!\nPort may already be in use!\n" + dir.filePath(QStringLiteral("ttyMissing")) +
                               ": No such file or directory");
    EXPECT_EQ(box->icon(), QMessageBox::Warning);
    EXPECT_EQ(box->windowTitle(), "Skyrel");
    EXPECT_EQ(box->windowModality(), Qt::ApplicationModal);
    EXPECT_FALSE(state.tracking.trackingActive);
    EXPECT_EQ(w->OuterHeight(), TSMForm1::kIdleHeight);

    QEventLoop loop;
    QTimer::singleShot(0, box, [box] { box->button(QMessageBox::Ok)->click(); });
    QTimer::singleShot(10000, &loop, [&loop] { loop.exit(99); });
    EXPECT_EQ(loop.exec(), 0);
    EXPECT_TRUE(store.read(kPositionsGroup, QStringLiteral("Form1.Top")).isEmpty());
    EXPECT_TRUE(store.read(kPositionsGroup, QStringLiteral("Form1.Left")).isEmpty());
}

}  // namespace
}  // namespace skyrel

namespace skyrel {
namespace {

// Waits for a rotator in the background; generous, for a loaded machine. Nothing here measures speed.
constexpr int kRotatorWaitMs = 20000;
// A tick that waited on a rotator would take seconds (Hamlib's timeouts); the cycle's own work is
// milliseconds.
constexpr qint64 kTickBoundMs = 500;


TEST_F(TrackingWindowTest, DummyRotatorInThisProcessIsClampedAndItsErrorShowsInTheStatusBox) {
    HamlibSettings dummy;
    dummy.enabled = true;
    dummy.model = kHamlibDummyModel;
    SaveHamlibSettings(store, dummy);
    store.write(kOptionsGroup, QStringLiteral("Park Azm"), QStringLiteral("10"));
    store.write(kOptionsGroup, QStringLiteral("Park Elev"), QStringLiteral("93"));
    auto w = Open();
    w->Park1->trigger();
    EXPECT_EQ(w->OuterHeight(), TSMForm1::kAntennaTrackingHeight);
    w->Timer1Timer();
    // The park line's rules let 93 through; the dummy's own limit is 90, so the command is clamped.
    EXPECT_EQ(w->Label38->text(), "Az: 10.0");
    EXPECT_EQ(w->Label39->text(), "El: 93.0");
    ASSERT_TRUE(QTest::qWaitFor([&] { return w->Label42->text().endsWith(" (limits)"); }, kRotatorWaitMs));
    EXPECT_TRUE(w->Label41->text().startsWith("Antenna: "));
    // The dummy starts at 0/0 and turns a few degrees a second: far more than a degree off.
    EXPECT_EQ(TextColour(*w->Label42), kRed);
    EXPECT_TRUE(pty.readAvailable(50).isEmpty());  // nothing on the serial line

    w->off1->trigger();
    EXPECT_EQ(w->OuterHeight(), TSMForm1::kIdleHeight);
}

TEST_F(TrackingWindowTest, RotatorDaemonGetsTheSunWithItsOffsetsLosesItsDaemonAndGetsItBack) {
    test::RotatorDaemon daemon;
    ASSERT_TRUE(daemon.start());
    SaveHamlibSettings(store, daemon.settings());
    store.write(kOptionsGroup, QStringLiteral("Static Offset Az"), QStringLiteral("1.5"));
    store.write(kOptionsGroup, QStringLiteral("Static Offset El"), QStringLiteral("-0.5"));
    store.write(kOptionsGroup, QStringLiteral("L Offset El"), QStringLiteral("0.3"));
    auto w = Open();
    QList<qint64> tickMs;
    // The Sun plus the static offset, and the L feed's elevation offset (no azimuth offset, so no
    // cross-elevation term), for each second.
    QList<RotatorPosition> wanted;
    const auto tick = [&] {
        QElapsedTimer timer;
        timer.start();
        Tick(*w);
        tickMs.append(timer.elapsed());
        wanted.append({state.sky.sun.azimuth + 1.5, state.sky.sun.elevation - 0.5 + 0.3});
    };
    const auto tickUntil = [&](const std::function<bool()>& done) {
        QElapsedTimer waited;
        waited.start();
        while (!done() && waited.elapsed() < kRotatorWaitMs) {
            tick();
            QTest::qWait(1000);
        }
        return done();
    };

    w->Sun1->trigger();
    ASSERT_TRUE(tickUntil([&] { return !daemon.commandedPositions().isEmpty(); }));
    // The first command is one of the seconds so far (a newer second may have replaced an older one on
    // its way), on whichever turn of the dummy's -180..450 the pass was planned on. The daemon logs two
    // decimals: 0.006 covers its rounding.
    const RotatorPosition sent = daemon.commandedPositions().constFirst();
    EXPECT_TRUE(std::any_of(wanted.begin(), wanted.end(), [&](const RotatorPosition& p) {
        return std::abs(std::remainder(sent.azimuth - p.azimuth, 360.0)) < 0.006 &&
               std::abs(sent.elevation - p.elevation) < 0.006;
    })) << sent.azimuth << " " << sent.elevation << " first wanted " << wanted.front().azimuth << " "
        << wanted.front().elevation;
    ASSERT_TRUE(tickUntil([&] { return w->Label42->text().startsWith("Error: "); }));
    EXPECT_TRUE(w->Label41->text().startsWith("Antenna: "));
    EXPECT_TRUE(pty.readAvailable(50).isEmpty());

    QSignalSpy unreachable(&station.tracker(), &Tracker::rotatorUnreachable);
    daemon.kill();
    ASSERT_TRUE(tickUntil([&] { return w->Label42->text() == kRotatorNotReachable; }));
    for (int second = 0; second < 6; ++second) {  // past a retry: still one message
        tick();
        QTest::qWait(1000);
    }
    EXPECT_EQ(unreachable.count(), 1);  // told once, not once a retry
    EXPECT_EQ(VisibleBoxes("RotatorErrorBox").size(), 1);
    EXPECT_TRUE(VisibleBoxes("RotatorErrorBox").front()->text().startsWith("Rotator not reachable: "));
    EXPECT_EQ(w->Label42->text(), kRotatorNotReachable);
    // The endpoint's clients no longer read the last position as if the antenna still stood there.
    EXPECT_EQ(station.endpoint().antennaItem().firstLine(), kRotatorNotReachable.toLatin1());
    EXPECT_TRUE(state.tracking.trackingActive);

    // Answering again closes the box that says it does not.
    ASSERT_TRUE(daemon.start());
    ASSERT_TRUE(tickUntil([&] { return w->Label42->text().startsWith("Error: "); }));
    EXPECT_TRUE(QTest::qWaitFor([] { return VisibleBoxes("RotatorErrorBox").isEmpty(); }, 1000));
    EXPECT_TRUE(station.endpoint().antennaItem().firstLine().startsWith("AZ"));
    for (const qint64 ms : tickMs) EXPECT_LT(ms, kTickBoundMs);
}

}  // namespace
}  // namespace skyrel
