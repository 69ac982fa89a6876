// Commands poked into the local endpoint acting on the running window: tracking started and stopped as
// the Track menu shows it, and the program ended by TRACK_SHUT as a real process. (The output's moves
// between the port and the item are the station's: tests/app/station/test_station.cpp.)
#include <gtest/gtest.h>

#include <QFile>
#include <QProcess>
#include <QTest>

#include "app/endpoint/endpointserver.h"
#include "app/settings/settingsstore.h"
#include "tests/support/endpointclient.h"
#include "tests/support/fakeclock.h"
#include "tests/support/pseudoterminal.h"
#include "tests/support/skyrelprocess.h"
#include "tests/support/stationfixture.h"
#include "tests/support/testenv.h"
#include "ui/mainwindow.h"

namespace skyrel {
namespace {

const QByteArray kSunLine = "AZ183.1 EL52.4 UP000000000 UUU DN000000000 DDD\r\n";

// 2005-09-21 17:15 UT at the default site: the Sun is up at 183.08 / 52.42. Port 1 is a pseudo-terminal.
class EndpointCommandTest : public test::StationOnPseudoTerminal {
protected:
    void SetUp() override {
        StationOnPseudoTerminal::SetUp();
        ASSERT_FALSE(HasFatalFailure());
        ASSERT_TRUE(endpoint.listen());
        window = std::make_unique<TSMForm1>(station);
        window->Timer1().stop();
        ASSERT_TRUE(client.open(endpoint.path()));
    }

    void Poke(const QByteArray& text) { ASSERT_TRUE(client.pokeCommand(endpoint, text)) << text.constData(); }

    void Tick() {
        clock.advance(1);
        window->Timer1Timer();
    }

    EndpointServer& endpoint = station.endpoint();
    std::unique_ptr<TSMForm1> window;
    test::EndpointClient client;
};

TEST_F(EndpointCommandTest, CommandsActAsTheTrackMenu) {
    Poke("TRACK_SUN\r\n");
    EXPECT_TRUE(window->Sun1->isChecked());
    EXPECT_FALSE(window->off1->isChecked());
    EXPECT_EQ(window->OuterHeight(), TSMForm1::kTrackingHeight);
    Tick();
    EXPECT_EQ(pty.readBytes(kSunLine.size()), kSunLine);

    EXPECT_TRUE(client.pokeNoCommand(endpoint, "track_off"));  // lower case is no command
    EXPECT_TRUE(state.tracking.trackingActive);
    Poke(" TRACK_PARK");  // eleven characters: the blank is trimmed
    EXPECT_EQ(state.tracking.trackMode, TrackMode::Park);
    EXPECT_EQ(window->GroupBox1->title(), "Parking Active");
    Poke("TRACK_OFF");
    EXPECT_FALSE(state.tracking.trackingActive);
    EXPECT_TRUE(window->off1->isChecked());
    EXPECT_EQ(window->OuterHeight(), TSMForm1::kIdleHeight);
    EXPECT_EQ(client.requestItem(), QByteArray("TRACK_OFF\r\n") + '\0');
}

TEST(EndpointShutdown, TrackShutEndsTheProgramWithoutStoringItsPosition) {
    QProcess tracker;
    ASSERT_TRUE(test::StartSkyrel(tracker));

    const QString socketPath = test::RuntimeDir() + "/Skyrel";
    test::EndpointClient client;
    ASSERT_TRUE(QTest::qWaitFor([&] { return client.open(socketPath); }, 20000));
    ASSERT_TRUE(test::IsOk(client.ask(PokeRequest(endpoint::kItemName, "TRACK_SHUT\r\n"))));
    ASSERT_TRUE(tracker.waitForFinished(20000));
    EXPECT_EQ(tracker.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(tracker.exitCode(), 0);
    EXPECT_FALSE(QFile::exists(socketPath));  // withdrawn at the end
    NativeSettingsStore store;
    EXPECT_EQ(store.read(kPositionsGroup, "Form1.Top"), "");
    EXPECT_EQ(store.read(kPositionsGroup, "Form1.Left"), "");
}

}  // namespace
}  // namespace skyrel
