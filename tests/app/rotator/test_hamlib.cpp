// The Hamlib layer: the device text, the rotator's limits and the pointing error as worked examples, the
// model list of the installed Hamlib and the module that reaches it, the rotator on its worker thread
// with Hamlib's dummy model in this process, and the program as a real process commanding Hamlib's own daemon.
#include <gtest/gtest.h>

#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <algorithm>
#include <cmath>
#include <memory>

#include "app/rotator/hamlibdevice.h"
#include "app/rotator/hamlibloader.h"
#include "app/rotator/hamlibmodels.h"
#include "app/endpoint/endpointserver.h"
#include "app/radio/radiofollower.h"
#include "app/rotator/hamlibrotator.h"
#include "app/rotator/rotatormotion.h"
#include "app/station/antennastatus.h"
#include "app/station/tracker.h"
#include "navlib/eme.h"
#include "navlib/observer.h"
#include "navlib/riseset.h"
#include "navlib/timecal.h"
#include "tests/support/fakerotatorport.h"
#include "tests/support/endpointclient.h"
#include "tests/support/gs232emulator.h"
#include "tests/support/rotatordaemon.h"
#include "tests/support/skyrelprocess.h"

namespace skyrel {
namespace {

// Waits tolerate a loaded machine; nothing here measures speed.
constexpr int kReportWaitMs = 15000;

// The sky over `site` at `utcDays` (day number and fraction), as the cycle computes it.
nav::SkyState SkyAt(const nav::ObserverSite& site, double utcDays) {
    nav::SkyState sky;
    nav::SetObserver(sky.observerFrame, site.latitude, site.longitude, site.height);
    sky.clock.utcDay = static_cast<int>(std::floor(utcDays));
    sky.clock.utcFraction = utcDays - sky.clock.utcDay;
    sky.clock.second = static_cast<int>(std::lround(sky.clock.utcFraction * 86400)) % 60;
    nav::ComputePositions(sky, site);
    nav::AddRefraction(sky);
    return sky;
}

// One cycle's tracking step, waiting for the rotator's answer to it.
bool SecondAnswered(Tracker& tracker, QSignalSpy& answers, const nav::SkyState& sky) {
    const qsizetype before = answers.size();
    tracker.SendTrackingOutput(sky);
    return QTest::qWaitFor([&] { return answers.size() > before; }, kReportWaitMs);
}

TEST(HamlibDevice, ReadsPathsAndAddressesAndRefusesTheRest) {
    struct Case {
        const char* text;
        HamlibLink link;
        bool valid;
        const char* pathname;
        int port;
    };
    const Case cases[] = {
        {"/dev/ttyUSB0", HamlibLink::Device, true, "/dev/ttyUSB0", 0},
        {"  /dev/serial/by-id/usb-FTDI_A1\t", HamlibLink::Device, true, "/dev/serial/by-id/usb-FTDI_A1", 0},
        {"ttyUSB0", HamlibLink::Device, false, "", 0},
        {"", HamlibLink::Device, false, "", 0},
        {"/dev/tty\nUSB0", HamlibLink::Device, false, "", 0},
        {"tty\nUSB0", HamlibLink::Device, false, "", 0},
        {"dish\n.local", HamlibLink::Network, false, "", 0},
        {"dish.local", HamlibLink::Network, true, "dish.local:4533", 4533},
        {"192.168.1.20:4600", HamlibLink::Network, true, "192.168.1.20:4600", 4600},
        {"[::1]", HamlibLink::Network, true, "[::1]:4533", 4533},
        {"[fe80::1]:1", HamlibLink::Network, true, "[fe80::1]:1", 1},
        {"host:65535", HamlibLink::Network, true, "host:65535", 65535},
        {"host:65536", HamlibLink::Network, false, "", 0},
        {"host:0", HamlibLink::Network, false, "", 0},
        {"host:-1", HamlibLink::Network, false, "", 0},
        {"host:+80", HamlibLink::Network, false, "", 0},
        {"host:80x", HamlibLink::Network, false, "", 0},
        {"host:", HamlibLink::Network, false, "", 0},
        {"host:0000080", HamlibLink::Network, false, "", 0},
        {":4533", HamlibLink::Network, false, "", 0},
        {"/dev/ttyS0", HamlibLink::Network, false, "", 0},
        {"::1", HamlibLink::Network, false, "", 0},
        {"[::1", HamlibLink::Network, false, "", 0},
        {"[::1]x", HamlibLink::Network, false, "", 0},
        {"[host]:80", HamlibLink::Network, false, "", 0},
        {"anything at all", HamlibLink::None, true, "", 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        const HamlibDevice device = ParseHamlibDevice(c.text, c.link);
        EXPECT_EQ(device.valid, c.valid);
        EXPECT_EQ(device.pathname, c.pathname);
        EXPECT_EQ(device.port, c.port);
        EXPECT_EQ(device.error.empty(), c.valid);
        EXPECT_EQ(device.error.find('\n'), std::string::npos) << "a refusal is one line";
    }
    // Hamlib's path field holds 511 characters and the zero.
    EXPECT_TRUE(ParseHamlibDevice("/" + std::string(510, 'd'), HamlibLink::Device).valid);
    EXPECT_FALSE(ParseHamlibDevice("/" + std::string(511, 'd'), HamlibLink::Device).valid);
    // A host without its port is given ":4533", which must fit as well.
    EXPECT_TRUE(ParseHamlibDevice(std::string(506, 'h'), HamlibLink::Network).valid);
    EXPECT_FALSE(ParseHamlibDevice(std::string(507, 'h'), HamlibLink::Network).valid);
}

TEST(HamlibRotator, LimitsTurnOrClampAndThePointingErrorIsAnAngleOnTheSky) {
    const RotatorLimits overlap{-180, 450, 0, 90};
    // 300 also exists as -60: the turn nearest the azimuth commanded before is taken, so a body followed
    // across north does not make the rotator unwind.
    EXPECT_DOUBLE_EQ(ClampToLimits({300, 10}, overlap, -50.0).position.azimuth, -60);
    EXPECT_DOUBLE_EQ(ClampToLimits({300, 10}, overlap, 280.0).position.azimuth, 300);
    EXPECT_DOUBLE_EQ(ClampToLimits({10, 10}, overlap, 350.0).position.azimuth, 370);
    EXPECT_DOUBLE_EQ(ClampToLimits({10, 10}, overlap, std::nullopt).position.azimuth, 10);
    EXPECT_FALSE(ClampToLimits({300, 10}, overlap, -50.0).clamped);
    // The endpoint's antenna item reads such a position in 0..360.
    EXPECT_EQ(AntennaItemText({.reported = ClampToLimits({300, 10}, overlap, -50.0).position}, {}), "AZ300.0 EL10.0");

    const RotatorLimits southStop{-180, 180, 5, 85};
    const LimitedPosition west = ClampToLimits({270, 95}, southStop, std::nullopt);
    EXPECT_DOUBLE_EQ(west.position.azimuth, -90);
    EXPECT_DOUBLE_EQ(west.position.elevation, 85);
    EXPECT_TRUE(west.clamped);
    EXPECT_DOUBLE_EQ(ClampToLimits({100, 2}, southStop, std::nullopt).position.elevation, 5);

    const RotatorLimits gap{0, 350, 0, 90};
    const LimitedPosition inGap = ClampToLimits({356, 30}, gap, std::nullopt);
    EXPECT_DOUBLE_EQ(inGap.position.azimuth, 0);  // 4 degrees from 0 (as 356 - 360), 6 from 350
    EXPECT_TRUE(inGap.clamped);

    // The user's limits: each clamped into the rotator's; the GS-232 family's minimum azimuth is 0 unless
    // the user sets one, since its driver folds a negative azimuth to the far end of the circle.
    HamlibSettings own;
    own.model = 601;
    EXPECT_DOUBLE_EQ(UserLimits(overlap, own).minAzimuth, 0);
    EXPECT_DOUBLE_EQ(UserLimits(overlap, own).maxAzimuth, 450);
    own.model = kHamlibDummyModel;
    EXPECT_DOUBLE_EQ(UserLimits(overlap, own).minAzimuth, -180);
    own.minAzimuth = -500;
    own.maxAzimuth = 400;
    own.minElevation = 10;
    EXPECT_DOUBLE_EQ(UserLimits(overlap, own).minAzimuth, -180);
    EXPECT_DOUBLE_EQ(UserLimits(overlap, own).maxAzimuth, 400);
    EXPECT_DOUBLE_EQ(UserLimits(overlap, own).minElevation, 10);

    // A pass from 70 across north to -110 (unwrapped) on 0..450 fits only on the upper turn; on -180..450
    // on both, and the one nearest the antenna is taken; on 0..360 on none, and the least outside wins.
    const std::vector<double> acrossNorth = {70, 30, -10, -60, -110};
    EXPECT_EQ(PlanPassTurn(acrossNorth, {0, 450, 0, 90}, 0.0), 430);
    EXPECT_EQ(PlanPassTurn(acrossNorth, overlap, 100.0), 70);
    EXPECT_EQ(PlanPassTurn(acrossNorth, overlap, 380.0), 430);
    EXPECT_EQ(PlanPassTurn(acrossNorth, {0, 360, 0, 90}, 0.0), 430);  // 70 outside against 110
    EXPECT_EQ(PlanPassTurn({}, overlap, 0.0), std::nullopt);
    // Once on its turn a planned pass follows on, past the limit, instead of swinging back.
    EXPECT_DOUBLE_EQ(ClampToLimits({5, 10}, {0, 360, 0, 90}, 358.0, TurnRule::Continuous).position.azimuth, 360);
    EXPECT_DOUBLE_EQ(ClampToLimits({5, 10}, {0, 360, 0, 90}, 358.0).position.azimuth, 5);

    // The move seconds: a range of each minute, also across the full minute; anything else is any second.
    EXPECT_TRUE(MayMoveAt(QStringLiteral("50-59"), 50));
    EXPECT_TRUE(MayMoveAt(QStringLiteral("50-59"), 59));
    EXPECT_FALSE(MayMoveAt(QStringLiteral("50-59"), 49));
    EXPECT_TRUE(MayMoveAt(QStringLiteral("55-5"), 2));
    EXPECT_FALSE(MayMoveAt(QStringLiteral("55-5"), 30));
    EXPECT_TRUE(MayMoveAt(QString(), 30));
    EXPECT_FALSE(ParseMoveSeconds(QStringLiteral("50-60")));
    EXPECT_FALSE(ParseMoveSeconds(QStringLiteral("1-2-3")));

    // The step and the stop short: a target inside the step is held; a rotator that stands still 3 s
    // short of its command gets it once more, and not again while it stays at the same place.
    RotatorMotion motion(0.1);
    const RotatorMotion::Clock::time_point t0{};
    const auto at = [&](int seconds) { return t0 + std::chrono::seconds(seconds); };
    EXPECT_TRUE(motion.due({100, 30}, at(0)));
    motion.commanded({100, 30}, at(0));
    motion.reported({90, 30}, at(1));
    EXPECT_FALSE(motion.due({100.05, 30}, at(2)));
    EXPECT_TRUE(motion.due({100.2, 30}, at(2)));
    EXPECT_FALSE(motion.due({100, 30}, at(3)));
    EXPECT_TRUE(motion.due({100, 30}, at(4)));
    motion.commanded({100, 30}, at(4));
    EXPECT_FALSE(motion.due({100, 30}, at(8)));
    motion.reported({95, 30}, at(9));
    EXPECT_TRUE(motion.due({100, 30}, at(12)));

    // Tolerances: 1e-9 degrees, rounding of the haversine form only.
    EXPECT_NEAR(PointingError({0, 0}, {90, 0}), 90, 1e-9);
    EXPECT_NEAR(PointingError({10, 89}, {190, 89}), 2, 1e-9);     // across the zenith
    EXPECT_NEAR(PointingError({359.5, 0}, {0.5, 0}), 1, 1e-9);    // across north
    EXPECT_NEAR(PointingError({120, 60}, {122, 60}), 1.0, 1e-3);  // 2 degrees of azimuth at 60 elevation
    EXPECT_NEAR(PointingError({45, 30}, {45, 30.001}), 0.001, 1e-9);
}

TEST(HamlibRotator, ModelListHoldsEveryInstalledModelWithItsLinkAndAModuleThatCannotLoadIsOneMessage) {
    ASSERT_EQ(HamlibModule().error, QString());
    const std::vector<HamlibModel>& models = HamlibModels();
    ASSERT_GT(models.size(), 20u);
    const HamlibModel* dummy = FindHamlibModel(kHamlibDummyModel);
    const HamlibModel* network = FindHamlibModel(kHamlibNetworkModel);
    ASSERT_TRUE(dummy && network);
    EXPECT_EQ(dummy->name, QStringLiteral("Dummy"));
    EXPECT_EQ(dummy->link, HamlibLink::None);
    EXPECT_EQ(network->name, QStringLiteral("NET rotctl"));
    EXPECT_EQ(network->link, HamlibLink::Network);
    EXPECT_EQ(HamlibModelText(*network), QStringLiteral("Hamlib / NET rotctl / 2"));
    EXPECT_EQ(FindHamlibModel(999999), nullptr);
    for (std::size_t i = 1; i < models.size(); ++i) EXPECT_LT(models[i - 1].number, models[i].number);

    // A missing module, a file that is no shared object and one without the entry point: each is one
    // line naming the file and the loader's reason (in the user's language, so only its presence is
    // checked), and nothing is called.
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    QFile text(folder.filePath(QStringLiteral("text.so")));
    ASSERT_TRUE(text.open(QIODevice::WriteOnly) && text.write("not a shared object\n") > 0);
    text.close();
    const QString noEntry = QStringLiteral("libm.so.6");
    for (const QString& path : {folder.filePath(QStringLiteral("missing.so")), text.fileName(), noEntry}) {
        SCOPED_TRACE(path.toStdString());
        const HamlibModuleLoad load = LoadHamlibModule(path);
        EXPECT_EQ(load.library, nullptr);
        const QString prefix = QStringLiteral("cannot load the Hamlib module %1: ").arg(path);
        EXPECT_TRUE(load.error.startsWith(prefix)) << load.error.toStdString();
        EXPECT_GT(load.error.size(), prefix.size());
        EXPECT_FALSE(load.error.contains(QLatin1Char('\n')));
    }
    EXPECT_TRUE(LoadHamlibModule(noEntry).error.contains(QLatin1String(kHamlibModuleEntry)));
}

TEST(HamlibRotator, DummyModelInThisProcessClampsReportsAndRefusesAnUnknownModel) {
    HamlibRotator rotator;
    QSignalSpy reports(&rotator, &HamlibRotator::reported);
    QSignalSpy failures(&rotator, &HamlibRotator::unreachable);
    HamlibSettings settings;
    settings.model = kHamlibDummyModel;
    rotator.start(settings);
    // The dummy's range is elevation 0..90: 93 goes out as 90.
    rotator.request({RotatorPosition{100, 93}});
    // The worker may open the rotator before the position arrives: that first report is a read only.
    const auto commandedReport = [&] {
        while (!reports.isEmpty() && !reports.first().at(0).value<RotatorReport>().commanded) reports.removeFirst();
        return !reports.isEmpty();
    };
    ASSERT_TRUE(QTest::qWaitFor(commandedReport, kReportWaitMs));
    const auto report = reports.takeFirst().at(0).value<RotatorReport>();
    ASSERT_TRUE(report.commanded && report.pointingError);
    EXPECT_DOUBLE_EQ(report.commanded->azimuth, 100);
    EXPECT_DOUBLE_EQ(report.commanded->elevation, 90);
    EXPECT_TRUE(report.clamped);
    // The dummy starts at 0/0 and turns a few degrees a second: it is still far from the target.
    EXPECT_NEAR(*report.pointingError, PointingError(*report.commanded, report.reported), 1e-9);
    EXPECT_GT(*report.pointingError, 45);
    EXPECT_TRUE(failures.isEmpty());

    settings.model = 999999;
    rotator.start(settings);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !failures.isEmpty(); }, kReportWaitMs));
    EXPECT_EQ(failures.takeFirst().at(0).toString(),
              QStringLiteral("Rotator not reachable: the installed Hamlib knows no rotator model 999999"));

    // A daemon that hangs up at once is tried again every 5 seconds: in 7 seconds, at 0 and at 5.
    {
        test::FakeRotatorDaemon hangingUp(test::FakeRotatorDaemon::Mode::HangUp);
        rotator.start(hangingUp.settings());
        ASSERT_TRUE(QTest::qWaitFor([&] { return hangingUp.connections() > 0; }, kReportWaitMs));
        QTest::qWait(7000);
        EXPECT_EQ(hangingUp.connections(), 2);
    }

    // Positions asked for while a command is under way: only the newest is sent after it.
    test::FakeRotatorDaemon holding(test::FakeRotatorDaemon::Mode::HoldSets);
    rotator.start(holding.settings());
    rotator.request({RotatorPosition{10, 10}});
    ASSERT_TRUE(QTest::qWaitFor([&] { return holding.positionCommands().size() == 1; }, kReportWaitMs));
    rotator.request({RotatorPosition{20, 20}});
    rotator.request({RotatorPosition{30, 30}});
    holding.release();
    ASSERT_TRUE(QTest::qWaitFor([&] { return holding.positionCommands().size() == 2; }, kReportWaitMs));
    EXPECT_TRUE(holding.positionCommands()[1].startsWith("P 30.")) << holding.positionCommands()[1].toStdString();
}

// A reported position that is no angle (not finite, or beyond any rotator's turn) is a fault of the
// rotator: said once, and no figure of it reaches a display or the angle arithmetic.
TEST(HamlibRotator, APositionThatIsNoAngleIsRefusedAsAFault) {
    for (const QByteArray azimuth : {"inf", "-inf", "nan", "1e300", "-1e30", "1000.5"}) {
        test::FakeRotatorDaemon daemon(test::FakeRotatorDaemon::Mode::Answer, azimuth);
        HamlibRotator rotator;
        QSignalSpy reports(&rotator, &HamlibRotator::reported);
        QSignalSpy failures(&rotator, &HamlibRotator::unreachable);
        rotator.start(daemon.settings());
        rotator.request({RotatorPosition{100, 10}});
        ASSERT_TRUE(QTest::qWaitFor([&] { return !failures.isEmpty(); }, kReportWaitMs)) << azimuth.data();
        const QString message = failures.first().at(0).toString();
        EXPECT_TRUE(message.contains("rotator reports an invalid position")) << message.toStdString();
        EXPECT_TRUE(reports.isEmpty()) << azimuth.data();
    }
}

TEST(HamlibRotator, TrackDdeTrackSerAndTheDialogsSaveMoveTheOutputBetweenEndpointRotatorAndPort) {
    TrackingState tracking;
    Settings settings;
    settings.comPort = 1;
    settings.baudRate = 1200;
    settings.outputFormat = QStringLiteral("EasyComm1");
    settings.parkAz = 12;
    settings.parkEl = 34;
    test::FakeRotatorPort port;
    Tracker tracker(tracking, settings, port);
    QSignalSpy reports(&tracker, &Tracker::antennaPositionForEndpoint);
    QSignalSpy lines(&tracker, &Tracker::lineForEndpoint);
    QSignalSpy rows(&tracker, &Tracker::antennaStatusShown);
    HamlibSettings dummy;
    dummy.enabled = true;
    dummy.model = kHamlibDummyModel;
    tracker.setHamlibSettings(dummy);
    const nav::SkyState sky;
    const auto secondWithReport = [&] {
        const qsizetype before = reports.size();
        tracker.SendTrackingOutput(sky);
        return QTest::qWaitFor([&] { return reports.size() > before; }, kReportWaitMs);
    };

    tracker.choose(TrackMode::Park);
    EXPECT_TRUE(secondWithReport());
    EXPECT_EQ(rows.last().at(0).toBool(), true);

    tracker.UseEndpointOutput();  // TRACK_DDE
    EXPECT_EQ(rows.last().at(0).toBool(), false);
    tracker.SendTrackingOutput(sky);
    ASSERT_EQ(lines.size(), 1);
    EXPECT_EQ(lines.last().at(0).toByteArray(), "AZ12.0 EL34.0 UP000000000 UUU DN000000000 DDD\r\n");

    tracker.UseSerialOutput();  // TRACK_SER: the rotator again, not the serial port
    EXPECT_TRUE(secondWithReport());
    EXPECT_EQ(lines.size(), 1);
    EXPECT_EQ(port.openCalls, 0);

    dummy.enabled = false;  // saved in the dialog while tracking: the serial port takes over at once
    tracker.setHamlibSettings(dummy);
    EXPECT_EQ(port.openCalls, 1);
    EXPECT_EQ(rows.last().at(0).toBool(), false);
    tracker.SendTrackingOutput(sky);
    EXPECT_EQ(port.lines, QByteArrayList{"AZ12.0 EL34.0 UP000000000 UUU DN000000000 DDD\r\n"});

    tracker.setHamlibSettings(dummy);  // saved again unchanged: the serial port is left open
    EXPECT_EQ(port.openCalls, 1);

    // The serial lines go out every second, the same one as well, unless the user puts them on the step.
    tracker.SendTrackingOutput(sky);
    EXPECT_EQ(port.lines.size(), 2);
    dummy.stepSerialLines = true;
    tracker.setHamlibSettings(dummy);
    tracker.SendTrackingOutput(sky);
    EXPECT_EQ(port.lines.size(), 2);
}

// The headless station, Hamlib's daemon and Hamlib's own client, all real processes.
TEST(HamlibRotator, HeadlessTrackParkReachesTheDaemonAndTheAntennaItemAndALostDaemonIsOneLine) {
    test::RotatorDaemon daemon;
    ASSERT_TRUE(daemon.start());
    {
        NativeSettingsStore store;
        // The dummy behind the daemon starts at 0/0 and turns a few degrees a second: a park position
        // near it is reached at once.
        store.write(kOptionsGroup, QStringLiteral("Park Azm"), QStringLiteral("4"));
        store.write(kOptionsGroup, QStringLiteral("Park Elev"), QStringLiteral("2"));
        SaveHamlibSettings(store, daemon.settings());
    }
    QProcess station;
    ASSERT_TRUE(test::StartHeadless(station));
    test::EndpointClient client;
    ASSERT_TRUE(QTest::qWaitFor([&] { return client.open(EndpointServer::DefaultPath()); }, test::kProcessWaitMs));
    ASSERT_TRUE(test::IsOk(client.ask(AdviseRequest(endpoint::kAntennaItemName))));
    ASSERT_TRUE(test::IsOk(client.ask(PokeRequest(endpoint::kItemName, "TRACK_PARK"))));

    // Hamlib's own client reads the park position from the daemon.
    std::optional<RotatorPosition> read;
    ASSERT_TRUE(QTest::qWaitFor(
        [&] {
            read = test::ReadPositionWithRotctl(daemon.address());
            return read && read->azimuth == 4 && read->elevation == 2;
        },
        kReportWaitMs));
    const QByteArray parked = "AZ4.0 EL2.0 TARGET AZ4.0 EL2.0 COMMANDED AZ4.0 EL2.0\r\n";
    ASSERT_TRUE(QTest::qWaitFor([&] { return client.notices().contains(parked); }, kReportWaitMs));
    const auto value = client.ask(RequestRequest(endpoint::kAntennaItemName));
    ASSERT_TRUE(value);
    EXPECT_EQ(value->payload, parked + QByteArray(1, '\0'));
    EXPECT_EQ(test::ErrorReason(client.ask(PokeRequest(endpoint::kAntennaItemName, "AZ1 EL1"))), "item is read-only");

    // The daemon goes away: one line on standard error, past a retry, and the station runs on.
    daemon.kill();
    QString errors;
    ASSERT_TRUE(QTest::qWaitFor(
        [&] {
            errors += QString::fromLocal8Bit(station.readAllStandardError());
            return errors.contains(QStringLiteral("Rotator not reachable"));
        },
        kReportWaitMs));
    QTest::qWait(7000);
    errors += QString::fromLocal8Bit(station.readAllStandardError());
    EXPECT_EQ(errors.count(QStringLiteral("Rotator not reachable")), 1) << errors.toStdString();
    EXPECT_EQ(station.state(), QProcess::Running);
    station.terminate();
    ASSERT_TRUE(station.waitForFinished(test::kProcessWaitMs));
    EXPECT_EQ(station.exitCode(), 0);
}

// The headless station drives the radio from --radio, and a program on the endpoint chooses the
// convention and keys the radio: all real processes and sockets.
TEST(HamlibRadio, HeadlessRadioFollowsTheEndpointsConventionAndHoldsWhileKeyed) {
    test::RadioDaemon daemon;
    ASSERT_TRUE(daemon.start());
    {
        NativeSettingsStore store;
        RadioSettings settings = daemon.settings();
        settings.enabled = false;  // --radio drives it all the same
        settings.rxSky = settings.txSky = 1296.05e6;
        settings.step = 1;
        SaveRadioSettings(store, settings);
    }
    QProcess station;
    ASSERT_TRUE(test::StartHeadless(station, {QStringLiteral("--radio"), QStringLiteral("moon")}));
    test::EndpointClient client;
    ASSERT_TRUE(QTest::qWaitFor([&] { return client.open(EndpointServer::DefaultPath()); }, test::kProcessWaitMs));
    ASSERT_TRUE(test::IsOk(client.ask(AdviseRequest(endpoint::kRadioItemName))));
    // The item's receive dial is the daemon's, and the two corrections of Constant On Moon cancel.
    const auto radioLine = [&](const char* mode) -> QByteArray {
        for (const QByteArray& notice : client.notices())
            if (notice.contains(QByteArray("MODE ") + mode)) return notice.trimmed();
        return {};
    };
    ASSERT_TRUE(QTest::qWaitFor([&] { return !radioLine("Constant On Moon").isEmpty(); }, kReportWaitMs));
    QList<QByteArray> fields = radioLine("Constant On Moon").split(' ');
    ASSERT_GE(fields.size(), 10) << radioLine("Constant On Moon").toStdString();
    EXPECT_EQ(fields[1].toDouble(), *daemon.receiveDial());
    EXPECT_EQ(fields[5].toLongLong(), -fields[7].toLongLong());

    // PTT_ON: the radio item goes on, the dial stays while another convention is chosen.
    const double keyedDial = *daemon.receiveDial();
    ASSERT_TRUE(test::IsOk(client.ask(PokeRequest(endpoint::kItemName, "PTT_ON"))));
    ASSERT_TRUE(test::IsOk(client.ask(PokeRequest(endpoint::kItemName, "RADIO_ECHO"))));
    ASSERT_TRUE(QTest::qWaitFor([&] { return !radioLine("Own Echo").isEmpty(); }, kReportWaitMs));
    QTest::qWait(1500);
    EXPECT_EQ(*daemon.receiveDial(), keyedDial);
    // PTT_OFF: the own echo's dial, twice the one-way correction away from the sky frequency.
    ASSERT_TRUE(test::IsOk(client.ask(PokeRequest(endpoint::kItemName, "PTT_OFF"))));
    ASSERT_TRUE(QTest::qWaitFor([&] { return *daemon.receiveDial() != keyedDial; }, kReportWaitMs));
    const double oneWay = keyedDial - 1296.05e6;
    EXPECT_NEAR(*daemon.receiveDial() - 1296.05e6, 2 * oneWay, 3) << "the Doppler changes a little in the seconds between";

    // A DX convention without a DX station: refused in the log, the radio off.
    ASSERT_TRUE(test::IsOk(client.ask(PokeRequest(endpoint::kItemName, "RADIO_DX"))));
    ASSERT_TRUE(QTest::qWaitFor([&] { return client.notices().contains("MODE Off\r\n"); }, kReportWaitMs));
    QString errors;
    ASSERT_TRUE(QTest::qWaitFor(
        [&] {
            errors += QString::fromLocal8Bit(station.readAllStandardError());
            return errors.contains(NoDxStationMessage(nav::RadioMode::FullToDx));
        },
        kReportWaitMs))
        << errors.toStdString();
    EXPECT_EQ(test::ErrorReason(client.ask(PokeRequest(endpoint::kRadioItemName, "RX 1"))), "item is read-only");
    station.terminate();
    ASSERT_TRUE(station.waitForFinished(test::kProcessWaitMs));
    EXPECT_EQ(station.exitCode(), 0);
}

// How a real antenna is moved: Hamlib's own daemon with its dummy rotator (range -180..450, 6 degrees a
// second) and a GS-232A controller emulated on a pseudo-terminal behind Hamlib's model 601, each driven by
// the tracker as the cycle drives it.
TEST(HamlibRotator, MotionCommandsOnlyMovesStopsWhenToldNeverSwingsTheLongWayAndWaitsAtTheRise) {
    test::RotatorDaemon daemon;
    ASSERT_TRUE(daemon.start());
    TrackingState tracking;
    Settings settings;
    settings.parkAz = 40;
    settings.parkEl = 25;
    // Sydney in the southern summer: the Sun rises in the south-east, passes north of the zenith and sets
    // in the south-west, so its azimuth crosses north at noon.
    settings.site.latitude = -33.87;
    settings.site.longitude = 151.21;
    test::FakeRotatorPort port;
    auto tracker = std::make_unique<Tracker>(tracking, settings, port);
    auto answers = std::make_unique<QSignalSpy>(tracker.get(), &Tracker::antennaStatusChanged);
    tracker->setHamlibSettings(daemon.settings());
    const double solstice = nav::DayNumber(2026, 12, 21);
    const nav::SkyState noon = SkyAt(settings.site, solstice + 2.0 / 24);

    // Parking from 0/0: 40 degrees at 6 a second is 6.7 s of slew. Allowed: the slew and 3 cycles more
    // (the connection's opening and the once-a-second read).
    tracker->choose(TrackMode::Park);
    constexpr int kSlewSeconds = 7;
    constexpr int kCycleAllowance = 3;
    int seconds = 0;
    for (; seconds < kSlewSeconds + kCycleAllowance; ++seconds) {
        ASSERT_TRUE(SecondAnswered(*tracker, *answers, noon));
        if (answers->last().at(0).value<AntennaStatus>().position == QStringLiteral("Antenna: 40.0 / 25.0")) break;
        QTest::qWait(1000);
    }
    EXPECT_LT(seconds, kSlewSeconds + kCycleAllowance) << "the dummy never reached the park position";
    // The same park position for three seconds more: nothing is sent again.
    for (int more = 0; more < 3; ++more) ASSERT_TRUE(SecondAnswered(*tracker, *answers, noon));
    const QList<RotatorPosition> parkSets = daemon.commandedPositions();
    ASSERT_EQ(parkSets.size(), 1);
    EXPECT_DOUBLE_EQ(parkSets[0].azimuth, 40);
    EXPECT_DOUBLE_EQ(parkSets[0].elevation, 25);

    // Track off halts the rotator before it is closed.
    tracker->choose(TrackMode::Off);
    EXPECT_TRUE(QTest::qWaitFor([&] { return daemon.stopCount() == 1; }, kReportWaitMs));

    // Waiting at the rise: before sunrise the rotator goes to the azimuth of the rise at elevation 0.
    // The day's search (geometric, -0.83 degrees) gives the minute of the rise; the rotator's rise is
    // where the refracted centre clears 0, a minute or two off, when the Sun's azimuth moves about 0.2
    // degrees a minute: tolerance 1 degree.
    nav::SkyState dawn = SkyAt(settings.site, solstice - 1 + 17.5 / 24);
    const nav::RiseSetTexts day = nav::FindRiseSet(dawn, settings.site, 0, true);
    const std::string riseText = day.sun.row1Caption.starts_with("Rise") ? day.sun.row1Text : day.sun.row2Text;
    const QStringList riseClock = QString::fromStdString(riseText).trimmed().split(QLatin1Char(':'));
    ASSERT_EQ(riseClock.size(), 2) << riseText;
    const nav::SkyState sunrise =
        SkyAt(settings.site, solstice - 1 + (riseClock[0].toInt() * 60 + riseClock[1].toInt()) / 1440.0);
    ASSERT_LT(dawn.sun.elevation, 0);
    tracker->choose(TrackMode::Sun);
    ASSERT_TRUE(SecondAnswered(*tracker, *answers, dawn));
    ASSERT_TRUE(QTest::qWaitFor([&] { return daemon.commandedPositions().size() == 2; }, kReportWaitMs));
    const RotatorPosition riseSet = daemon.commandedPositions().last();
    EXPECT_NEAR(riseSet.azimuth, sunrise.sun.azimuth, 1.0);
    EXPECT_DOUBLE_EQ(riseSet.elevation, 0);
    EXPECT_TRUE(answers->last().at(0).value<AntennaStatus>().reason.startsWith(QStringLiteral("waiting for the rise at ")));

    // Across north at noon, from an hour before the transit to an hour after, three minutes a cycle: on
    // the dummy's -180..450 and on the GS-232A, whose driver folds a negative azimuth to the far end of
    // the circle (so its default range starts at 0), no two commands lie more than 180 degrees apart.
    const auto crossNorth = [&](test::Gs232Emulator* controller) {
        tracker->choose(TrackMode::Off);
        tracker->setHamlibSettings(controller ? controller->settings() : daemon.settings());
        tracker->choose(TrackMode::Sun);
        bool east = false, west = false;
        for (int minute = 60; minute <= 180; minute += 3) {
            const nav::SkyState sky = SkyAt(settings.site, solstice + minute / 1440.0);
            ASSERT_GT(sky.sun.elevation, 0);
            east = east || sky.sun.azimuth < 90;
            west = west || sky.sun.azimuth > 270;
            ASSERT_TRUE(SecondAnswered(*tracker, *answers, sky));
        }
        EXPECT_TRUE(east && west) << "the Sun did not cross north";
    };
    const auto largestJump = [](const QList<double>& azimuths) {
        double largest = 0;
        for (qsizetype i = 1; i < azimuths.size(); ++i) largest = std::max(largest, std::abs(azimuths[i] - azimuths[i - 1]));
        return largest;
    };
    crossNorth(nullptr);
    QList<double> dummyAzimuths;
    for (const RotatorPosition& p : daemon.commandedPositions().mid(2)) dummyAzimuths.append(p.azimuth);
    ASSERT_GT(dummyAzimuths.size(), 20);
    EXPECT_LE(largestJump(dummyAzimuths), 180);
    // The dummy stands east, near the rise: of the two turns the pass fits on, it takes the one nearest,
    // which runs below 0.
    EXPECT_LT(*std::min_element(dummyAzimuths.begin(), dummyAzimuths.end()), 0);

    test::Gs232Emulator controller;
    ASSERT_TRUE(controller.isOpen());
    crossNorth(&controller);
    QList<double> controllerAzimuths;
    for (const int azimuth : controller.commandedAzimuths()) controllerAzimuths.append(azimuth);
    ASSERT_GT(controllerAzimuths.size(), 20);
    EXPECT_LE(largestJump(controllerAzimuths), 180);
    // The whole pass fits on the upper turn (about 430 down to 250): it crosses north as 360.
    EXPECT_GT(controllerAzimuths.front(), 360);
    EXPECT_LT(controllerAzimuths.back(), 360);
    EXPECT_LE(*std::max_element(controllerAzimuths.begin(), controllerAzimuths.end()), 450);

    // Closing the program halts the rotator: the tracker's end on the GS-232A, SIGTERM on a real station.
    answers.reset();
    tracker.reset();
    EXPECT_EQ(controller.commands().last(), "S");
    test::RotatorDaemon stationDaemon;
    ASSERT_TRUE(stationDaemon.start());
    {
        NativeSettingsStore store;
        SaveHamlibSettings(store, stationDaemon.settings());
    }
    QProcess station;
    ASSERT_TRUE(test::StartSkyrel(station, test::HeadlessEnvironment(), {QStringLiteral("--headless")}));
    test::EndpointClient client;
    ASSERT_TRUE(QTest::qWaitFor([&] { return client.open(EndpointServer::DefaultPath()); }, test::kProcessWaitMs));
    ASSERT_TRUE(test::IsOk(client.ask(PokeRequest(endpoint::kItemName, "TRACK_PARK"))));
    ASSERT_TRUE(QTest::qWaitFor([&] { return !stationDaemon.commandedPositions().isEmpty(); }, kReportWaitMs));
    station.terminate();
    ASSERT_TRUE(station.waitForFinished(test::kProcessWaitMs));
    EXPECT_EQ(station.exitCode(), 0);
    EXPECT_TRUE(QTest::qWaitFor([&] { return stationDaemon.stopCount() == 1; }, kReportWaitMs));
}

// Whether the daemon's dial reads `hz` within `tolerance`. The dummy radio answers a query of the split
// frequency from whichever VFO Hamlib last selected for it, so a read right after a set may show the other
// VFO's: the reading is repeated until it holds or the wait ends.
::testing::AssertionResult DialReads(test::RadioDaemon& daemon, std::optional<double> (test::RadioDaemon::*read)(),
                                     double hz, double tolerance) {
    std::optional<double> last;
    const bool held = QTest::qWaitFor(
        [&] {
            last = (daemon.*read)();
            return last && std::fabs(*last - hz) <= tolerance;
        },
        kReportWaitMs);
    if (held) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "the dial reads " << (last ? std::to_string(*last) : "nothing")
                                         << ", not " << std::to_string(hz);
}

// The radio through Hamlib's own daemon and its dummy radio. At one fixed second each convention's dials,
// read back from the daemon, are the definitions worked out here from navlib's range rates of the two
// stations: the rounding to the 1 Hz step is the only tolerance (the second never changes, so the
// Doppler does not move between the set and the reading).
TEST(HamlibRadio, ModesKnobConvertersPttAndALostDaemonThroughRigctld) {
    test::RadioDaemon daemon;
    ASSERT_TRUE(daemon.start());
    nav::ObserverSite home;
    home.latitude = 52.37;
    home.longitude = 4.90;
    home.height = 10;
    const nav::PlannerSite homeSite = nav::MakePlannerSite(home.latitude, home.longitude, home.height, home);
    const nav::PlannerSite dxSite = nav::MakePlannerSite(-33.87, 151.21, 50, home);
    // Any second will do as long as the Moon moves against both stations: its height does not matter here.
    const nav::SkyState sky = SkyAt(home, nav::DayNumber(2026, 12, 21) + 3.0 / 24);
    nav::SkyState workspace = sky;
    const long long second = nav::SecondOfDay(sky.clock);
    const double homeRate = nav::StationMoonAt(workspace, homeSite, sky.clock.utcDay, second).rangeRate;
    const double dxRate = nav::StationMoonAt(workspace, dxSite, sky.clock.utcDay, second).rangeRate;
    ASSERT_GT(std::fabs(homeRate), 0.01) << "a second without Doppler would prove nothing";

    RadioSettings settings = daemon.settings();
    settings.step = 1;
    RadioFollower radio;
    QSignalSpy reports(&radio, &RadioFollower::reported);
    QSignalSpy failures(&radio, &RadioFollower::unreachable);
    // One second: the follower's request, then the worker's report of it.
    const auto follow = [&]() -> std::optional<RadioReport> {
        reports.clear();
        radio.follow(sky, home);
        if (!QTest::qWaitFor([&] { return !reports.isEmpty(); }, kReportWaitMs)) return std::nullopt;
        return reports.takeLast().at(0).value<RadioReport>();
    };
    const auto expectedDials = [&](nav::RadioMode mode, double rxSky, double txSky, const RadioSettings& s) {
        const double rx = nav::ReceiveCorrection(mode, nav::MoonDopplerAt(rxSky, homeRate, dxRate));
        const double tx = nav::TransmitCorrection(mode, nav::MoonDopplerAt(txSky, homeRate, dxRate));
        return std::pair{nav::DialOf(rxSky, rx, s.rx, 0), nav::DialOf(txSky, tx, s.tx, 0)};
    };

    // Without a DX station the DX conventions refuse and the radio stays off.
    settings.mode = nav::RadioMode::FullToDx;
    EXPECT_EQ(radio.setSettings(settings), NoDxStationMessage(nav::RadioMode::FullToDx));
    EXPECT_EQ(radio.mode(), nav::RadioMode::Off);
    EXPECT_FALSE(radio.running());
    radio.setDxStation(dxSite);

    settings.mode = nav::RadioMode::OwnEcho;
    EXPECT_EQ(radio.setSettings(settings), std::nullopt);
    for (const nav::RadioMode mode : {nav::RadioMode::OwnEcho, nav::RadioMode::ConstantOnMoon, nav::RadioMode::FullToDx,
                                      nav::RadioMode::OnDxEcho, nav::RadioMode::CallDx}) {
        SCOPED_TRACE(RadioModeText(mode).toStdString());
        EXPECT_EQ(radio.choose(mode), std::nullopt);
        // The first second may meet a radio still opening; the dials are read once one was reported.
        ASSERT_TRUE(follow());
        const std::optional<RadioReport> report = follow();
        ASSERT_TRUE(report);
        const auto [rx, tx] = expectedDials(mode, settings.rxSky, settings.txSky, settings);
        EXPECT_TRUE(DialReads(daemon, &test::RadioDaemon::receiveDial, rx, 0.5 * settings.step));
        EXPECT_TRUE(DialReads(daemon, &test::RadioDaemon::transmitDial, tx, 0.5 * settings.step));
        EXPECT_NEAR(report->step.dials.rxDial, rx, 0.5 * settings.step);
    }

    // The operator turns the knob 5 kHz up: the new receive sky frequency is adopted, the transmit one
    // follows by as much, and the radio is not turned back.
    const double turned = *daemon.receiveDial() + 5000;
    ASSERT_TRUE(daemon.turnKnob(turned));
    std::optional<RadioReport> report = follow();
    ASSERT_TRUE(report);
    EXPECT_TRUE(report->step.knobTurned);
    EXPECT_NEAR(report->rxSky, settings.rxSky + 5000, 0.5);
    EXPECT_NEAR(report->txSky, settings.txSky + 5000, 0.5);
    ASSERT_TRUE(follow());
    EXPECT_EQ(*daemon.receiveDial(), turned);
    EXPECT_TRUE(DialReads(daemon, &test::RadioDaemon::transmitDial,
                          expectedDials(nav::RadioMode::CallDx, report->rxSky, report->txSky, settings).second, 0.5));

    // 10368 MHz through converters to a 144 MHz radio: receive below a 10224 MHz LO, transmit through an
    // inverting one at 10512 MHz (the band turned over).
    settings.rxSky = settings.txSky = 10368.1e6;
    settings.rx = {.loHz = 10224e6, .inverting = false};
    settings.tx = {.loHz = 10512e6, .inverting = true};
    settings.mode = nav::RadioMode::ConstantOnMoon;
    EXPECT_EQ(radio.setSettings(settings), std::nullopt);
    ASSERT_TRUE(follow());
    ASSERT_TRUE(follow());
    const auto [rx, tx] = expectedDials(settings.mode, settings.rxSky, settings.txSky, settings);
    EXPECT_TRUE(DialReads(daemon, &test::RadioDaemon::receiveDial, rx, 0.5));
    EXPECT_TRUE(DialReads(daemon, &test::RadioDaemon::transmitDial, tx, 0.5));
    EXPECT_NEAR(rx, 144.1e6 - homeRate / nav::kSpeedOfLightKmPerS * 10368.1e6, 1);
    EXPECT_NEAR(tx, 143.9e6 - homeRate / nav::kSpeedOfLightKmPerS * 10368.1e6, 1);

    // While the radio transmits neither dial moves; after it, both follow the new convention.
    const double beforeKey = *daemon.receiveDial();
    ASSERT_TRUE(daemon.key(true));
    radio.choose(nav::RadioMode::OwnEcho);
    report = follow();
    ASSERT_TRUE(report);
    EXPECT_TRUE(report->transmitting);
    EXPECT_EQ(*daemon.receiveDial(), beforeKey);
    ASSERT_TRUE(daemon.key(false));
    ASSERT_TRUE(follow());
    EXPECT_NEAR(*daemon.receiveDial(), expectedDials(nav::RadioMode::OwnEcho, settings.rxSky, settings.txSky, settings).first,
                0.5);
    // A program keying the radio itself holds the dials the same way.
    radio.setKeyed(true);
    radio.choose(nav::RadioMode::ConstantOnMoon);
    report = follow();
    ASSERT_TRUE(report);
    EXPECT_TRUE(report->transmitting);
    EXPECT_NEAR(*daemon.receiveDial(), expectedDials(nav::RadioMode::OwnEcho, settings.rxSky, settings.txSky, settings).first,
                0.5);
    radio.setKeyed(false);

    // The daemon dies: one message; it comes back on the same port: the dials flow again at the next try.
    EXPECT_TRUE(failures.isEmpty());
    daemon.kill();
    radio.follow(sky, home);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !failures.isEmpty(); }, kReportWaitMs));
    EXPECT_TRUE(failures.first().at(0).toString().startsWith(QStringLiteral("Radio not reachable: ")));
    ASSERT_TRUE(daemon.start());
    reports.clear();
    const auto dialsBack = [&] {
        radio.follow(sky, home);
        QTest::qWait(200);
        return !reports.isEmpty() && daemon.receiveDial() == reports.last().at(0).value<RadioReport>().step.dials.rxDial;
    };
    EXPECT_TRUE(QTest::qWaitFor(dialsBack, kReportWaitMs));
    EXPECT_EQ(failures.size(), 1);
}

}  // namespace
}  // namespace skyrel
