// Start-up as real processes: one copy per user, a second copy that hands over to the first, and a lock
// left behind by a killed copy that does not keep the program from starting.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QSignalSpy>
#include <QTest>

#include "app/program/singleinstance.h"
#include "tests/support/skyrelprocess.h"
#include "tests/support/testenv.h"

namespace skyrel {
namespace {

using test::kProcessWaitMs;

std::unique_ptr<QProcess> StartTracker() {
    auto process = std::make_unique<QProcess>();
    EXPECT_TRUE(test::StartSkyrel(*process));
    return process;
}

TEST(Startup, ASecondCopyAsksTheFirstToRestoreAndExitsWithZero) {
    SingleInstance first(test::RuntimeDir());
    ASSERT_EQ(first.acquire(), SingleInstance::Lock::Ours);
    first.listenForRestoreRequests();
    QSignalSpy restore(&first, &SingleInstance::restoreRequested);

    auto second = StartTracker();
    ASSERT_TRUE(second->waitForFinished(kProcessWaitMs));
    EXPECT_EQ(second->exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(second->exitCode(), 0);
    ASSERT_TRUE(QTest::qWaitFor([&] { return restore.count() == 1; }, 5000));
    // It read no setting and so created no settings file.
    EXPECT_FALSE(QFile::exists(test::ConfigHome() + "/Brenlo Programs/Skyrel.conf"));
}

TEST(Startup, TwoRealCopiesLeaveOneRunning) {
    auto first = StartTracker();
    ASSERT_TRUE(QTest::qWaitFor(test::SkyrelAnswers, kProcessWaitMs));

    auto second = StartTracker();
    ASSERT_TRUE(second->waitForFinished(kProcessWaitMs));
    EXPECT_EQ(second->exitCode(), 0);
    EXPECT_EQ(first->state(), QProcess::Running);
    test::StopSkyrel(*first);
}

TEST(Startup, ALockLeftByAKilledCopyDoesNotBlock) {
    auto killed = StartTracker();
    const SingleInstance probe(test::RuntimeDir());
    ASSERT_TRUE(QTest::qWaitFor(test::SkyrelAnswers, kProcessWaitMs));
    test::StopSkyrel(*killed);
    ASSERT_TRUE(QFile::exists(probe.lockPath()));

    auto restarted = StartTracker();
    ASSERT_TRUE(QTest::qWaitFor(test::SkyrelAnswers, kProcessWaitMs));
    EXPECT_EQ(restarted->state(), QProcess::Running);

    SingleInstance third(test::RuntimeDir());
    EXPECT_EQ(third.acquire(), SingleInstance::Lock::AnotherCopyRuns);
    test::StopSkyrel(*restarted);
    EXPECT_EQ(third.acquire(), SingleInstance::Lock::Ours);
}

}  // namespace
}  // namespace skyrel
