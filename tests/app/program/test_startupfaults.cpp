// What a user met at start-up: values typed by hand into the settings file (read by the real file
// format), a clock offset beyond a day, an empty, garbled or blocked lock, and something other than a
// socket at the endpoint's path. The blocked lock is tried on the tracker as a real process.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QProcess>
#include <QTest>

#include "app/endpoint/endpointserver.h"
#include "app/settings/settings.h"
#include "app/settings/settingsstore.h"
#include "app/settings/settingswriter.h"
#include "app/program/singleinstance.h"
#include "tests/support/endpointclient.h"
#include "tests/support/fakeclock.h"
#include "tests/support/skyrelprocess.h"
#include "tests/support/testenv.h"

namespace skyrel {
namespace {

// The options group as a user types it into the settings file, read by a fresh store as at a start.
LoadOutcome LoadHandTypedOptions(const QByteArray& lines, Settings& settings) {
    const QString dir = test::ConfigHome() + "/Brenlo Programs";
    EXPECT_TRUE(QDir().mkpath(dir));
    QFile file(dir + "/Skyrel.conf");
    EXPECT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("[Startup]\n" + lines);
    file.close();
    const NativeSettingsStore store;
    return LoadSettings(store, test::FakeClock(), settings);
}

TEST(HandTypedSettings, ACommaKeepsANameFailsANumberAndAnUnlistedSpeedIs1200) {
    Settings s;
    const LoadOutcome outcome =
        LoadHandTypedOptions("Observer Name=Smith, John\nBaud Rate=7\nPark Azm=12,5\n", s);
    EXPECT_EQ(s.site.name, "Smith, John");
    EXPECT_TRUE(outcome.error.value_or("").endsWith("Skyrel.conf: '12, 5' is not a valid floating point value; using 0"))
        << outcome.error.value_or("").toStdString();
    EXPECT_EQ(s.comPort, 1);
    EXPECT_EQ(s.baudRate, 1200);  // index 7 lies beyond the list's 76800
}

TEST(HandTypedSettings, AClockOffsetOrSiteOutOfRangeIsRefusedAtLoadAndOnSave) {
    Settings s;
    const LoadOutcome outcome = LoadHandTypedOptions("Auto Time=false\nTimeOff=1e12\nCom Port=3\n", s);
    EXPECT_TRUE(outcome.error.value_or("").endsWith(
        "'1e12' is out of range: the clock offset must be from -24 to 24 hours; using 0"));
    EXPECT_EQ(s.clockOffset, 0);
    EXPECT_EQ(s.comPort, 3);

    SetupForm form;
    form.autoTime = false;
    form.parkAz = form.parkEl = "0";
    form.offsetAz.fill("0");
    form.offsetEl.fill("0");
    for (const char* good : {"24", "-24", "5.5"}) {
        form.clockOffset = good;
        EXPECT_FALSE(CheckSetupForm(form)) << good;
    }
    for (const char* bad : {"24.1", "-1e12", "1e308"}) {
        form.clockOffset = bad;
        const auto error = CheckSetupForm(form);
        ASSERT_TRUE(error) << bad;
        EXPECT_EQ(error->field, SetupField::ClockOffset);
        EXPECT_TRUE(error->message.contains("from -24 to 24 hours")) << error->message.toStdString();
    }
    form.clockOffset = "0";
    struct SiteBox {
        QString SetupForm::*box;
        SetupField field;
        const char* good;
        const char* bad;
        const char* range;
    };
    for (const SiteBox& site : {SiteBox{&SetupForm::latitude, SetupField::Latitude, "-90", "1000", "from -90 to 90 degrees"},
                                SiteBox{&SetupForm::longitude, SetupField::Longitude, "180", "1e10", "from -180 to 180 degrees"},
                                SiteBox{&SetupForm::height, SetupField::Height, "-500", "20001", "from -500 to 20000 m"}}) {
        form.*site.box = site.good;
        EXPECT_FALSE(CheckSetupForm(form)) << site.good;
        form.*site.box = site.bad;
        const auto error = CheckSetupForm(form);
        ASSERT_TRUE(error) << site.bad;
        EXPECT_EQ(error->field, site.field);
        EXPECT_TRUE(error->message.startsWith(QStringLiteral("'%1' is out of range: ").arg(site.bad)));
        EXPECT_TRUE(error->message.endsWith(QStringLiteral(" must be ") + site.range)) << error->message.toStdString();
        form.*site.box = "";
    }
}

TEST(SingleInstanceLock, AnEmptyOrGarbledLockIsTakenOver) {
    const SingleInstance probe(test::RuntimeDir());
    for (const QByteArray& content : {QByteArray(), QByteArray("garbage\n\x01\x02")}) {
        QFile file(probe.lockPath());
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(content);
        file.close();
        SingleInstance instance(test::RuntimeDir());
        ASSERT_EQ(instance.acquire(), SingleInstance::Lock::Ours) << content.toStdString();
        qint64 owner = 0;
        QString host, application;
        EXPECT_TRUE(QLockFile(probe.lockPath()).getLockInfo(&owner, &host, &application));
        EXPECT_EQ(owner, QCoreApplication::applicationPid());
    }
}

TEST(SingleInstanceLock, ALockThatCannotBeMadeNamesItsPathAndWhy) {
    ASSERT_TRUE(QDir().mkdir(SingleInstance(test::RuntimeDir()).lockPath()));
    SingleInstance blocked(test::RuntimeDir());
    EXPECT_EQ(blocked.acquire(), SingleInstance::Lock::Unavailable);
    EXPECT_TRUE(blocked.unavailableMessage().contains(blocked.lockPath() + " cannot be made: a directory"))
        << blocked.unavailableMessage().toStdString();

    // A runtime directory that is a file stands for one that cannot be written (the tests may run as root).
    const QString notADirectory = test::RuntimeDir() + "/plain-file";
    QFile file(notADirectory);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.close();
    SingleInstance unwritable(notADirectory);
    EXPECT_EQ(unwritable.acquire(), SingleInstance::Lock::Unavailable);
    const QString message = unwritable.unavailableMessage();
    EXPECT_TRUE(message.contains(unwritable.lockPath() + " cannot be made: it cannot be written"))
        << message.toStdString();
}

TEST(SingleInstanceLock, TheTrackerRunsWithoutTheLockWhenNoneCanBeMade) {
    ASSERT_TRUE(QDir().mkdir(SingleInstance(test::RuntimeDir()).lockPath()));
    QProcess tracker;
    ASSERT_TRUE(test::StartSkyrel(tracker));
    // The endpoint answering a conversation shows the program past its start and in its event loop.
    const auto answers = [] {
        test::EndpointClient client;
        return client.open(EndpointServer::DefaultPath());
    };
    EXPECT_TRUE(QTest::qWaitFor([&] { return tracker.state() != QProcess::Running || answers(); }, test::kProcessWaitMs));
    EXPECT_EQ(tracker.state(), QProcess::Running);
    EXPECT_TRUE(answers());
    test::StopSkyrel(tracker);
}

TEST(EndpointPath, OnlyASocketFileIsEverReplaced) {
    const QString path = EndpointServer::DefaultPath();
    const QString target = test::RuntimeDir() + "/notes.txt";
    QFile file(target);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("73");
    file.close();

    for (const bool symlink : {false, true}) {
        if (symlink) ASSERT_TRUE(QFile::link(target, path));
        else ASSERT_TRUE(QFile::copy(target, path));
        EndpointServer server;
        EXPECT_FALSE(server.listen());
        const QString expected = path + (symlink ? ": a symbolic link" : ": a file");
        EXPECT_TRUE(server.errorString().contains(expected)) << server.errorString().toStdString();
        EXPECT_EQ(QFileInfo(path).isSymLink(), symlink);
        QFile left(path);
        ASSERT_TRUE(left.open(QIODevice::ReadOnly));
        EXPECT_EQ(left.readAll(), "73");
        ASSERT_TRUE(QFile::remove(path));
    }

    const QString tooLong = test::RuntimeDir() + "/" + QString(120, 'x');
    EndpointServer server;
    EXPECT_FALSE(server.listen(tooLong));
    EXPECT_TRUE(server.errorString().contains(tooLong + ": the path is")) << server.errorString().toStdString();
    EXPECT_TRUE(server.errorString().contains("at most 107")) << server.errorString().toStdString();

    // A directory that is a file (or read-only, or missing) is said in words, not as Qt's "Name error".
    const QString underAFile = target + "/Skyrel";
    EXPECT_FALSE(server.listen(underAFile));
    EXPECT_TRUE(server.errorString().contains(underAFile + ": its directory is missing, read-only or not a directory"))
        << server.errorString().toStdString();
}

}  // namespace
}  // namespace skyrel
