// Commands poked into the local endpoint acting on the running window: tracking started and stopped,
// the output switched between the serial port (a pseudo-terminal) and the endpoint's item, and the
// program ended by TRACK_SHUT as a real process.
#include <gtest/gtest.h>

#include <QFile>
#include <QProcess>
#include <QSignalSpy>
#include <QTest>

#include "app/endpointserver.h"
#include "app/settingsstore.h"
#include "tests/support/endpointclient.h"
#include "tests/support/fakeclock.h"
#include "tests/support/pseudoterminal.h"
#include "tests/support/skyrelprocess.h"
#include "tests/support/testenv.h"
#include "ui/mainwindow.h"

namespace skyrel {
namespace {

const QByteArray kSunLine = "AZ183.1 EL52.4 UP000000000 UUU DN000000000 DDD\r\n";

// 2005-09-21 17:15 UT at the default site: the Sun is up at 183.08 / 52.42. Port 1 is a pseudo-terminal.
class EndpointCommandTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(pty.isOpen());
        store.write(kPortsGroup, "1", pty.devicePath());
        ASSERT_TRUE(endpoint.listen());
        window = std::make_unique<TSMForm1>(station);
        window->Timer1().stop();
        ASSERT_TRUE(client.open(endpoint.path()));
    }

    // Pokes a text naming a command and waits until the window has acted on it.
    void Poke(const QByteArray& text) {
        QSignalSpy commands(&endpoint, &EndpointServer::commandReceived);
        ASSERT_TRUE(test::IsOk(client.ask(PokeRequest(endpoint::kItemName, text))));
        ASSERT_TRUE(QTest::qWaitFor([&] { return commands.count() == 1; }, 5000)) << text.constData();
    }

    // Pokes a text that names no command: the poke is answered, and nothing follows.
    void PokeNoCommand(const QByteArray& text) {
        QSignalSpy commands(&endpoint, &EndpointServer::commandReceived);
        ASSERT_TRUE(test::IsOk(client.ask(PokeRequest(endpoint::kItemName, text))));
        QTest::qWait(50);
        EXPECT_EQ(commands.count(), 0) << text.constData();
    }

    QByteArray RequestItem() {
        const auto reply = client.ask(RequestRequest(endpoint::kItemName));
        return reply ? reply->payload : QByteArray("(no reply)");
    }

    void Tick() {
        clock.advance(1);
        window->Timer1Timer();
    }

    test::FakeClock clock{2005, 9, 21, 17, 15, 0};
    MemorySettingsStore store;
    Station station{clock, store};
    AppState& state = station.state();
    test::PseudoTerminal pty;
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

    PokeNoCommand("track_off");  // lower case is no command
    EXPECT_TRUE(state.tracking.trackingActive);
    Poke(" TRACK_PARK");  // eleven characters: the blank is trimmed
    EXPECT_EQ(state.tracking.trackMode, TrackMode::Park);
    EXPECT_EQ(window->GroupBox1->title(), "Parking Active");
    Poke("TRACK_OFF");
    EXPECT_FALSE(state.tracking.trackingActive);
    EXPECT_TRUE(window->off1->isChecked());
    EXPECT_EQ(window->OuterHeight(), TSMForm1::kIdleHeight);
    EXPECT_EQ(RequestItem(), QByteArray("TRACK_OFF\r\n") + '\0');
}

TEST_F(EndpointCommandTest, OutputMovesFromTheSerialPortToTheItemAndBack) {
    Poke("TRACK_SUN");
    Tick();
    EXPECT_EQ(pty.readBytes(kSunLine.size()), kSunLine);

    Poke("TRACK_DDE");
    EXPECT_TRUE(state.tracking.ddeOutput);
    EXPECT_TRUE(state.tracking.trackingActive);
    EXPECT_EQ(RequestItem(), QByteArray("TRACK_DDE\r\n") + '\0');  // the poke stands until the next line
    Tick();
    EXPECT_EQ(RequestItem(), kSunLine + "\r\n" + '\0');
    EXPECT_TRUE(pty.readAvailable(200).isEmpty());
    EXPECT_EQ(state.settings.comPort, 1);  // the stored choice is untouched

    Poke("TRACK_SER");
    EXPECT_FALSE(state.tracking.ddeOutput);
    Tick();
    EXPECT_EQ(pty.readBytes(kSunLine.size()), kSunLine);
    PokeNoCommand("TRACK_SUN and more");
    EXPECT_EQ(RequestItem(), QByteArray("TRACK_SUN and more\r\n") + '\0');
    Tick();
    EXPECT_EQ(RequestItem(), QByteArray("TRACK_SUN and more\r\n") + '\0');  // serial output leaves it alone
}

TEST_F(EndpointCommandTest, AdvisedClientsSeeEveryLineWhileOutputGoesToTheEndpoint) {
    test::EndpointClient listener;
    ASSERT_TRUE(listener.open(endpoint.path()));
    ASSERT_TRUE(test::IsOk(listener.ask(AdviseRequest(endpoint::kItemName))));
    Poke("TRACK_DDE");
    Poke("TRACK_SUN");
    Tick();
    Tick();
    ASSERT_TRUE(listener.waitForNotices(4));
    EXPECT_EQ(listener.notices()[0], "TRACK_DDE\r\n");
    EXPECT_EQ(listener.notices()[1], "TRACK_SUN\r\n");
    EXPECT_EQ(listener.notices()[2], kSunLine + "\r\n");
    EXPECT_TRUE(listener.notices()[3].startsWith("AZ183.1 EL52.4"));
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
