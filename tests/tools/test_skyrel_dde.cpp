// skyrel-dde as a real process against an endpoint in this process: its four commands, the escapes a
// shell user types, the names it connects with, and its exit status for OK, ERR and no tracker.
#include <gtest/gtest.h>

#include <QProcess>
#include <QSignalSpy>
#include <QTest>

#include "app/endpoint/endpointserver.h"
#include "tests/support/endpointclient.h"
#include "tests/support/testenv.h"
#include "tests/support/toolrun.h"

namespace skyrel {
namespace {

constexpr int kWaitMs = 20000;
const QString kTool = QStringLiteral(SKYREL_TOOLS_DIR "/skyrel-dde/skyrel-dde");

using Outcome = test::ToolRun;

Outcome RunTool(const QStringList& args) { return test::RunTool(kTool, args); }

TEST(SkyrelDde, WithNoTrackerRunningItSaysWhereItLookedAndExitsWithTwo) {
    for (const QStringList& args : {QStringList{"request"}, QStringList{"poke", "TRACK_SUN"}}) {
        const Outcome outcome = RunTool(args);
        EXPECT_EQ(outcome.exitCode, 2);
        EXPECT_EQ(outcome.err, "no Skyrel endpoint at " + QFile::encodeName(test::RuntimeDir()) + "/Skyrel\n");
        EXPECT_TRUE(outcome.out.isEmpty());
    }
}

class SkyrelDdeTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(server.listen()) << server.errorString().toStdString(); }
    EndpointServer server;
};

TEST_F(SkyrelDdeTest, PokeSetsTheValueWithCEscapesAndCommandsTheTracker) {
    QSignalSpy commands(&server, &EndpointServer::commandReceived);
    Outcome outcome = RunTool({"poke", "TRACK_MOON\\r\\n"});
    EXPECT_EQ(outcome.exitCode, 0);
    EXPECT_TRUE(outcome.err.isEmpty());
    EXPECT_EQ(server.item().lines(), QList<QByteArray>{"TRACK_MOON"});
    ASSERT_TRUE(QTest::qWaitFor([&] { return commands.count() == 1; }, kWaitMs));
    EXPECT_EQ(commands.at(0).at(0).value<EndpointCommand>(), EndpointCommand::TrackMoon);

    // Tab, hexadecimal, octal, backslash and quote; a zero byte ends the value.
    outcome = RunTool({"poke", R"(A\tB\x41\101\\\"\nsecond\0third)"});
    EXPECT_EQ(outcome.exitCode, 0);
    EXPECT_EQ(server.item().lines(), (QList<QByteArray>{"A\tBAA\\\"", "second"}));

    for (const QString& broken : {QStringLiteral(R"(TRACK_SUN\q)"), QStringLiteral("TRACK_SUN\\"),
                                  QStringLiteral(R"(\xZZ)")}) {
        outcome = RunTool({"poke", broken});
        EXPECT_EQ(outcome.exitCode, 3) << broken.toStdString();
        EXPECT_FALSE(outcome.err.isEmpty());
    }
    EXPECT_EQ(server.item().lines(), (QList<QByteArray>{"A\tBAA\\\"", "second"}));
}

TEST_F(SkyrelDdeTest, RequestPrintsTheTextFormWithoutTheZeroByte) {
    Outcome outcome = RunTool({"request"});
    EXPECT_EQ(outcome.exitCode, 0);
    EXPECT_EQ(outcome.out, QByteArray());
    server.setPointingLine("Moon AZ:5.0 EL:7.3\r\n");
    outcome = RunTool({"request"});
    EXPECT_EQ(outcome.exitCode, 0);
    EXPECT_EQ(outcome.out, "Moon AZ:5.0 EL:7.3\r\n\r\n");

    // The second item, the Hamlib rotator's reported position, by name.
    server.setAntennaPosition("AZ40.0 EL25.0");
    outcome = RunTool({"--item", "AntennaItem", "request"});
    EXPECT_EQ(outcome.exitCode, 0);
    EXPECT_EQ(outcome.out, "AZ40.0 EL25.0\r\n");
}

TEST_F(SkyrelDdeTest, ServiceAndTopicMatchWhateverTheirCaseAndAnErrIsExitOne) {
    server.setPointingLine("Park AZ:180.0 EL:0.0\r\n");
    Outcome outcome = RunTool({"--service", "SKYREL", "--topic", "skyrelserv", "request"});
    EXPECT_EQ(outcome.exitCode, 0);
    EXPECT_EQ(outcome.out, "Park AZ:180.0 EL:0.0\r\n\r\n");

    outcome = RunTool({"--topic", "Other", "poke", "TRACK_OFF"});
    EXPECT_EQ(outcome.exitCode, 1);
    EXPECT_EQ(outcome.err, "ERR no such topic\n");
    EXPECT_EQ(server.item().lines(), QList<QByteArray>{"Park AZ:180.0 EL:0.0\r\n"});
}

TEST_F(SkyrelDdeTest, ExecuteIsAcceptedAndChangesNothing) {
    server.setPointingLine("AZ1.0 EL2.0 UP000000000 UUU DN000000000 DDD\r\n");
    const Outcome outcome = RunTool({"execute", "TRACK_SHUT"});
    EXPECT_EQ(outcome.exitCode, 0);
    EXPECT_EQ(server.item().lines(), QList<QByteArray>{"AZ1.0 EL2.0 UP000000000 UUU DN000000000 DDD\r\n"});
}

TEST_F(SkyrelDdeTest, AdvisePrintsEveryNewValueUntilTheTrackerGoesAway) {
    QProcess process;
    process.start(kTool, {"advise"});
    ASSERT_TRUE(process.waitForStarted(kWaitMs));
    // The subscription stands once a change reaches the tool's output.
    ASSERT_TRUE(QTest::qWaitFor(
        [&] {
            server.setPointingLine("first\r\n");
            return process.bytesAvailable() > 0;
        },
        kWaitMs));
    server.setPointingLine("Moon AZ:120.0 EL:30.0\r\n");
    test::EndpointClient poker;
    ASSERT_TRUE(poker.open(server.path()));
    ASSERT_TRUE(test::IsOk(poker.ask(PokeRequest(endpoint::kItemName, "TRACK_OFF"))));
    const QByteArray expectedEnd = "Moon AZ:120.0 EL:30.0\r\n\r\nTRACK_OFF\r\n";
    QByteArray out;
    ASSERT_TRUE(QTest::qWaitFor(
        [&] {
            out += process.readAllStandardOutput();
            return out.endsWith(expectedEnd);
        },
        kWaitMs));
    EXPECT_TRUE(out.startsWith("first\r\n\r\n"));

    server.withdraw();
    ASSERT_TRUE(QTest::qWaitFor([&] { return process.state() == QProcess::NotRunning; }, kWaitMs));
    EXPECT_EQ(process.exitCode(), 2);
    EXPECT_TRUE(process.readAllStandardError().contains("went away"));
}

TEST_F(SkyrelDdeTest, ABusyEndpointIsAnErrAndAWrongCommandLineIsExitThree) {
    std::vector<std::unique_ptr<test::EndpointClient>> clients;
    for (int i = 0; i < endpoint::kMaxConversations; ++i) {
        clients.push_back(std::make_unique<test::EndpointClient>());
        ASSERT_TRUE(clients.back()->open(server.path()));
    }
    Outcome outcome = RunTool({"request"});
    EXPECT_EQ(outcome.exitCode, 1);
    EXPECT_EQ(outcome.err, "ERR busy\n");

    for (const QStringList& args : {QStringList{}, QStringList{"frobnicate"}, QStringList{"poke"},
                                    QStringList{"request", "extra"}, QStringList{"--colour", "request"}}) {
        outcome = RunTool(args);
        EXPECT_EQ(outcome.exitCode, 3) << args.join(' ').toStdString();
        EXPECT_FALSE(outcome.err.isEmpty());
    }
    outcome = RunTool({"--help"});
    EXPECT_EQ(outcome.exitCode, 0);
    EXPECT_TRUE(outcome.out.contains("TRACK_MOON"));
}

}  // namespace
}  // namespace skyrel
