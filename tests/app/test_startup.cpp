// Start-up as real processes: one copy per user, a second copy that hands over to the first, and a lock
// left behind by a killed copy that does not keep the program from starting.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QLocalSocket>
#include <QProcess>
#include <QSignalSpy>
#include <QTest>

#include "app/singleinstance.h"
#include "tests/support/testenv.h"

namespace skyrel {
namespace {

constexpr int kProcessTimeoutMs = 20000;

std::unique_ptr<QProcess> StartTracker() {
    auto process = std::make_unique<QProcess>();
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("QT_QPA_PLATFORM", "offscreen");
    env.insert("XDG_CONFIG_HOME", test::ConfigHome());
    env.insert("XDG_RUNTIME_DIR", test::RuntimeDir());
    process->setProcessEnvironment(env);
    process->setProcessChannelMode(QProcess::ForwardedErrorChannel);
    process->start(SKYREL_BINARY, {});
    EXPECT_TRUE(process->waitForStarted(kProcessTimeoutMs));
    return process;
}

// True once a running copy answers on its restore socket, i.e. it holds the lock and got through start-up.
bool AnswersRestoreRequests(const SingleInstance& instance) {
    QLocalSocket socket;
    socket.connectToServer(instance.socketPath());
    return socket.waitForConnected(200);
}

void Stop(QProcess& process) {
    process.kill();
    process.waitForFinished(kProcessTimeoutMs);
}

TEST(Startup, ASecondCopyAsksTheFirstToRestoreAndExitsWithZero) {
    SingleInstance first(test::RuntimeDir());
    ASSERT_TRUE(first.acquire());
    first.listenForRestoreRequests();
    QSignalSpy restore(&first, &SingleInstance::restoreRequested);

    auto second = StartTracker();
    ASSERT_TRUE(second->waitForFinished(kProcessTimeoutMs));
    EXPECT_EQ(second->exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(second->exitCode(), 0);
    ASSERT_TRUE(QTest::qWaitFor([&] { return restore.count() == 1; }, 5000));
    // It read no setting and so created no settings file.
    EXPECT_FALSE(QFile::exists(test::ConfigHome() + "/Brenlo Programs/Skyrel.conf"));
}

TEST(Startup, TwoRealCopiesLeaveOneRunning) {
    auto first = StartTracker();
    const SingleInstance probe(test::RuntimeDir());
    ASSERT_TRUE(QTest::qWaitFor([&] { return AnswersRestoreRequests(probe); }, kProcessTimeoutMs));

    auto second = StartTracker();
    ASSERT_TRUE(second->waitForFinished(kProcessTimeoutMs));
    EXPECT_EQ(second->exitCode(), 0);
    EXPECT_EQ(first->state(), QProcess::Running);
    Stop(*first);
}

TEST(Startup, ALockLeftByAKilledCopyDoesNotBlock) {
    auto killed = StartTracker();
    const SingleInstance probe(test::RuntimeDir());
    ASSERT_TRUE(QTest::qWaitFor([&] { return AnswersRestoreRequests(probe); }, kProcessTimeoutMs));
    Stop(*killed);
    ASSERT_TRUE(QFile::exists(probe.lockPath()));

    auto restarted = StartTracker();
    ASSERT_TRUE(QTest::qWaitFor([&] { return AnswersRestoreRequests(probe); }, kProcessTimeoutMs));
    EXPECT_EQ(restarted->state(), QProcess::Running);

    SingleInstance third(test::RuntimeDir());
    EXPECT_FALSE(third.acquire());
    Stop(*restarted);
    EXPECT_TRUE(third.acquire());
}

}  // namespace
}  // namespace skyrel
