// The endpoint on real local sockets: where it listens and who may reach it, a stale socket file, the
// command language as another program pokes it, the protocol faults a client can commit, the limits on
// clients and on what a client may cost, and a bounded stress run.
#include <gtest/gtest.h>

#include <QFile>
#include <QCryptographicHash>
#include <QFileInfo>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <algorithm>
#include <map>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include "app/endpoint/endpointserver.h"
#include "tests/support/endpointclient.h"
#include "tests/support/testenv.h"

namespace skyrel {
namespace {

using test::EndpointClient;
using test::ErrorReason;
using test::IsOk;

constexpr int kWaitMs = 10000;

// A socket file whose listener is gone, as a killed process leaves it.
void LeaveStaleSocketFile(const QString& path) {
    const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    const QByteArray native = QFile::encodeName(path);
    std::copy(native.begin(), native.end(), address.sun_path);
    ASSERT_EQ(::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof(address)), 0);
    ASSERT_EQ(::listen(fd, 1), 0);
    ::close(fd);
    ASSERT_TRUE(QFileInfo::exists(path));
}

QList<EndpointCommand> Commands(const QSignalSpy& spy) {
    QList<EndpointCommand> commands;
    for (const QList<QVariant>& arguments : spy) commands.append(arguments.at(0).value<EndpointCommand>());
    return commands;
}

TEST(EndpointServer, ListensInTheRuntimeDirectoryForTheUserAloneAndIsWithdrawnAtTheEnd) {
    const QString path = test::RuntimeDir() + "/Skyrel";
    EXPECT_EQ(EndpointServer::DefaultPath(), path);
    {
        EndpointServer server;
        ASSERT_TRUE(server.listen()) << server.errorString().toStdString();
        EXPECT_EQ(server.path(), path);
        const QFileInfo socket(path);
        ASSERT_TRUE(socket.exists());
        EXPECT_EQ(socket.permissions() & (QFile::ReadGroup | QFile::WriteGroup | QFile::ExeGroup | QFile::ReadOther |
                                          QFile::WriteOther | QFile::ExeOther),
                  QFile::Permissions());
        EndpointClient client;
        EXPECT_TRUE(client.open(path));
    }
    EXPECT_FALSE(QFileInfo::exists(path));
}

TEST(EndpointServer, AStaleSocketFileIsReplacedButALivingEndpointKeepsItsName) {
    const QString path = EndpointServer::DefaultPath();
    LeaveStaleSocketFile(path);
    EndpointServer server;
    ASSERT_TRUE(server.listen()) << server.errorString().toStdString();

    EndpointServer second;
    EXPECT_FALSE(second.listen());
    EXPECT_FALSE(second.errorString().isEmpty());
    second.withdraw();
    EndpointClient client;
    EXPECT_TRUE(client.open(path));
    EXPECT_EQ(server.conversationCount(), 1);
}

class EndpointServerTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(server.listen()) << server.errorString().toStdString(); }
    std::unique_ptr<EndpointClient> openClient() {
        auto client = std::make_unique<EndpointClient>();
        EXPECT_TRUE(client->open(server.path()));
        return client;
    }
    EndpointServer server;
};

TEST_F(EndpointServerTest, PokedCommandsFollowTheLanguagesEdgeCases) {
    QSignalSpy commands(&server, &EndpointServer::commandReceived);
    auto client = openClient();
    const QList<QByteArray> pokes = {"TRACK_SUN\r\n", "  TRACK_SUN", " TRACK_PARK", "  TRACK_PARK", "   TRACK_SUN",
                                     "track_moon", "TRACK_MOONX", "TRACK_SUNNY", "status\r\nTRACK_SUN\r\n",
                                     "TRACK_DDE\t", "TRACK_SER", "TRACK_SHUT\r\n"};
    for (const QByteArray& poke : pokes)
        EXPECT_TRUE(IsOk(client->ask(PokeRequest(endpoint::kItemName, poke)))) << poke.constData();
    // The commands come in order, each after its poke was answered, so once the last has come every earlier
    // one has too; the ignored texts leave no trace.
    ASSERT_TRUE(QTest::qWaitFor([&] { return commands.count() >= 6; }, kWaitMs));
    using enum EndpointCommand;
    EXPECT_EQ(Commands(commands), (QList<EndpointCommand>{TrackSun, TrackSun, TrackPark, TrackDde, TrackSer, TrackShut}));
}

TEST_F(EndpointServerTest, ARequestReturnsThePokedTextUntilTheNextPointingLine) {
    auto client = openClient();
    const QByteArray request = RequestRequest(endpoint::kItemName);
    ASSERT_TRUE(IsOk(client->ask(PokeRequest(endpoint::kItemName, "TRACK_OFF\r\n"))));
    for (int i = 0; i < 2; ++i) {
        const auto reply = client->ask(request);
        ASSERT_TRUE(reply);
        EXPECT_EQ(reply->payload, QByteArray("TRACK_OFF\r\n\0", 12));
    }
    server.setPointingLine("Moon AZ:5.0 EL:7.3\r\n");
    const auto reply = client->ask(request);
    ASSERT_TRUE(reply);
    EXPECT_EQ(reply->payload, QByteArray("Moon AZ:5.0 EL:7.3\r\n\r\n\0", 23));
}

TEST_F(EndpointServerTest, ProtocolFaultsAreAnsweredAndTheConversationGoesOn) {
    auto client = openClient();
    EXPECT_EQ(ErrorReason(client->ask("FETCH SkyrelItem\n")), "unknown request");
    EXPECT_EQ(ErrorReason(client->ask("REQUEST SkyrelItem CF_TEXT\n")), "format not supported");
    EXPECT_EQ(ErrorReason(client->ask("POKE SkyrelItem UNICODE 3\nabc")), "format not supported");
    EXPECT_EQ(server.item().lines(), QList<QByteArray>());
    const auto reply = client->ask(RequestRequest(endpoint::kItemName));
    ASSERT_TRUE(reply);
    EXPECT_EQ(reply->kind, EndpointReply::Kind::Data);
    EXPECT_EQ(server.conversationCount(), 1);
}

TEST_F(EndpointServerTest, AnOversizedPokeIsRefusedAndItsConnectionClosedWhileOthersCarryOn) {
    auto bystander = openClient();
    auto client = openClient();
    client->send("POKE SkyrelItem TEXT 65537\n" + QByteArray(65537, 'x'));
    EXPECT_EQ(ErrorReason(client->reply()), "too large");
    EXPECT_TRUE(client->waitForClose());
    ASSERT_TRUE(QTest::qWaitFor([&] { return server.conversationCount() == 1; }, kWaitMs));
    EXPECT_EQ(server.item().lines(), QList<QByteArray>());
    EXPECT_TRUE(IsOk(bystander->ask(PokeRequest(endpoint::kItemName, "still here"))));
}

TEST_F(EndpointServerTest, AClientThatDisconnectsWhileAdvisedIsForgotten) {
    auto staying = openClient();
    auto leaving = openClient();
    ASSERT_TRUE(IsOk(staying->ask(AdviseRequest(endpoint::kItemName))));
    ASSERT_TRUE(IsOk(leaving->ask(AdviseRequest(endpoint::kItemName))));
    server.setPointingLine("Sun AZ:1.0 EL:2.0\r\n");
    ASSERT_TRUE(leaving->waitForNotices(1));
    leaving->socket().abort();
    leaving.reset();
    server.setPointingLine("Sun AZ:1.1 EL:2.0\r\n");
    ASSERT_TRUE(QTest::qWaitFor([&] { return server.conversationCount() == 1; }, kWaitMs));
    server.setPointingLine("Sun AZ:1.2 EL:2.0\r\n");
    ASSERT_TRUE(staying->waitForNotices(3));
    EXPECT_EQ(staying->notices(), (QList<QByteArray>{"Sun AZ:1.0 EL:2.0\r\n\r\n", "Sun AZ:1.1 EL:2.0\r\n\r\n",
                                                     "Sun AZ:1.2 EL:2.0\r\n\r\n"}));
}

TEST_F(EndpointServerTest, SixtyFourAdvisedClientsReceiveEveryLineAndASixtyFifthIsBusy) {
    std::vector<std::unique_ptr<EndpointClient>> clients;
    for (int i = 0; i < endpoint::kMaxConversations; ++i) {
        clients.push_back(openClient());
        ASSERT_TRUE(IsOk(clients.back()->ask(AdviseRequest(endpoint::kItemName))));
    }
    EndpointClient refused;
    ASSERT_TRUE(refused.connectTo(server.path()));
    EXPECT_EQ(ErrorReason(refused.reply()), "busy");
    EXPECT_TRUE(refused.waitForClose());
    EXPECT_EQ(server.conversationCount(), endpoint::kMaxConversations);

    QList<QByteArray> expected;
    for (int second = 0; second < 10; ++second) {
        const QByteArray line = "Moon AZ:" + QByteArray::number(100 + second) + ".0 EL:30.0\r\n";
        server.setPointingLine(line);
        expected.append(line + "\r\n");
    }
    for (const auto& client : clients) {
        ASSERT_TRUE(client->waitForNotices(expected.size()));
        EXPECT_EQ(client->notices(), expected);
    }

    // A place that comes free can be taken again.
    clients.back()->socket().abort();
    ASSERT_TRUE(QTest::qWaitFor(
        [&] { return server.conversationCount() == endpoint::kMaxConversations - 1; }, kWaitMs));
    EndpointClient late;
    EXPECT_TRUE(late.open(server.path()));
}

TEST_F(EndpointServerTest, AClientThatStopsReadingIsDroppedOnceItsBacklogPassesOneMebibyte) {
    // A raw socket with a small receive buffer that never reads.
    const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    const int small = 4096;
    ::setsockopt(fd, SOL_SOCKET, SO_RCVBUF, &small, sizeof(small));
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    const QByteArray native = QFile::encodeName(server.path());
    std::copy(native.begin(), native.end(), address.sun_path);
    ASSERT_EQ(::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof(address)), 0);
    const QByteArray hello =
        ConnectRequest(endpoint::kServiceName, endpoint::kTopicName) + AdviseRequest(endpoint::kItemName);
    ASSERT_EQ(::write(fd, hello.constData(), hello.size()), hello.size());

    auto poker = openClient();
    ASSERT_TRUE(QTest::qWaitFor([&] { return server.conversationCount() == 2; }, kWaitMs));
    const QByteArray big(endpoint::kMaxPayload, 'p');
    qint64 mostQueued = 0;
    int pokes = 0;
    while (server.conversationCount() == 2 && pokes < 100) {
        ASSERT_TRUE(IsOk(poker->ask(PokeRequest(endpoint::kItemName, big))));
        mostQueued = std::max(mostQueued, server.queuedBytes());
        ++pokes;
    }
    EXPECT_EQ(server.conversationCount(), 1);
    EXPECT_LE(mostQueued, endpoint::kMaxUnsentBytes + endpoint::kMaxPayload + 64);
    ::close(fd);
    const auto reply = poker->ask(RequestRequest(endpoint::kItemName));
    ASSERT_TRUE(reply);
    EXPECT_EQ(reply->payload.size(), big.size() + 3);
}

// Many clients at once, each advised, poking and requesting as fast as the endpoint answers while a
// one-second cycle sets pointing lines. Every client must hear every change in the same order, none may
// be dropped, what the endpoint holds for them must stay within its fixed bounds, and once they leave it
// holds nothing for them. Ten cycles; SKYREL_ENDPOINT_STRESS_SECONDS sets another length.
TEST_F(EndpointServerTest, StressSixtyFourClientsPokingAndRequestingWhileTheCycleRuns) {
    const int seconds = qEnvironmentVariableIsSet("SKYREL_ENDPOINT_STRESS_SECONDS")
                            ? qEnvironmentVariableIntValue("SKYREL_ENDPOINT_STRESS_SECONDS")
                            : 10;
    struct StressClient {
        QLocalSocket socket;
        EndpointReplyReader reader;
        // The first client keeps every notice; the others a count and a digest of the same sequence, so
        // that the test's own memory stays small however long it runs.
        bool keepsNotices = false;
        QList<QByteArray> notices;
        qsizetype noticeCount = 0;
        QCryptographicHash noticeDigest{QCryptographicHash::Sha1};
        QList<QByteArray> acknowledgedPokes;
        // The requests sent and not answered yet, oldest first: 'c'onnect, 'a'dvise, 'p'oke, 'r'equest.
        QByteArray awaited;
        int sentPokes = 0;
        int requestReplies = 0;
        bool failed = false;
    };
    const qsizetype clientCount = endpoint::kMaxConversations;
    std::vector<std::unique_ptr<StressClient>> clients;
    bool running = true;
    const QByteArray filler(1000, '.');

    auto pokeText = [&filler](int client, int n) {
        return "P" + QByteArray::number(client) + "-" + QByteArray::number(n) + filler;
    };
    auto sendRound = [&](int index) {
        StressClient& c = *clients[index];
        c.socket.write(PokeRequest(endpoint::kItemName, pokeText(index, c.sentPokes)) +
                       RequestRequest(endpoint::kItemName));
        ++c.sentPokes;
        c.awaited += "pr";
    };
    for (int i = 0; i < clientCount; ++i) {
        auto client = std::make_unique<StressClient>();
        StressClient* c = client.get();
        QObject::connect(&c->socket, &QLocalSocket::readyRead, &c->socket, [&, c, i] {
            c->reader.receive(c->socket.readAll());
            while (auto reply = c->reader.next()) {
                if (reply->kind == EndpointReply::Kind::Data && !reply->payload.endsWith('\0')) {
                    if (c->keepsNotices) c->notices.append(reply->payload);
                    ++c->noticeCount;
                    c->noticeDigest.addData(QByteArray::number(reply->payload.size()) + ':' + reply->payload);
                    continue;
                }
                if (reply->kind == EndpointReply::Kind::Error || c->awaited.isEmpty()) {
                    c->failed = true;
                    continue;
                }
                const char answered = c->awaited.front();
                c->awaited.remove(0, 1);
                if (answered == 'p') c->acknowledgedPokes.append(pokeText(i, c->sentPokes - 1) + "\r\n");
                if (answered == 'r') {
                    ++c->requestReplies;
                    if (running) sendRound(i);
                }
            }
        });
        c->keepsNotices = (i == 0);
        clients.push_back(std::move(client));
    }
    auto allAnswered = [&clients] {
        return std::all_of(clients.begin(), clients.end(), [](const auto& c) { return c->awaited.isEmpty(); });
    };
    for (auto& c : clients) {
        c->socket.connectToServer(server.path());
        c->socket.write(ConnectRequest(endpoint::kServiceName, endpoint::kTopicName) +
                        AdviseRequest(endpoint::kItemName));
        c->awaited = "ca";
    }
    ASSERT_TRUE(QTest::qWaitFor([&] { return server.conversationCount() == clientCount; }, kWaitMs));
    ASSERT_TRUE(QTest::qWaitFor(allAnswered, kWaitMs));
    for (int i = 0; i < clientCount; ++i) sendRound(i);

    QList<QByteArray> lines;
    qint64 mostQueued = 0;
    QTimer cycle;
    QObject::connect(&cycle, &QTimer::timeout, [&] {
        const QByteArray line = "Moon AZ:" + QByteArray::number(lines.size()) + ".0 EL:45.0\r\n";
        server.setPointingLine(line);
        lines.append(line + "\r\n");
        mostQueued = std::max(mostQueued, server.queuedBytes());
    });
    cycle.start(1000);
    ASSERT_TRUE(QTest::qWaitFor([&] { return lines.size() >= seconds; }, seconds * 1000 + kWaitMs));
    running = false;
    cycle.stop();

    ASSERT_TRUE(QTest::qWaitFor(allAnswered, kWaitMs));
    QList<QByteArray> changes = lines;
    for (const auto& c : clients) changes += c->acknowledgedPokes;
    for (const auto& c : clients)
        ASSERT_TRUE(QTest::qWaitFor([&] { return c->noticeCount == changes.size(); }, kWaitMs));

    EXPECT_EQ(server.conversationCount(), clientCount);
    // Every client heard every change, in one order shared by all.
    QList<QByteArray> heard = clients.front()->notices;
    const QByteArray order = clients.front()->noticeDigest.result();
    for (const auto& c : clients) {
        EXPECT_FALSE(c->failed);
        EXPECT_GT(c->requestReplies, 0);
        EXPECT_EQ(c->noticeDigest.result(), order);
    }
    std::sort(heard.begin(), heard.end());
    std::sort(changes.begin(), changes.end());
    EXPECT_EQ(heard, changes);
    const qint64 perClient = endpoint::kMaxUnsentBytes + endpoint::kMaxPayload + endpoint::kMaxRequestLine;
    EXPECT_LE(mostQueued, clientCount * perClient);

    for (auto& c : clients) c->socket.disconnectFromServer();
    ASSERT_TRUE(QTest::qWaitFor([&] { return server.conversationCount() == 0; }, kWaitMs));
    EXPECT_EQ(server.queuedBytes(), 0);
}

}  // namespace
}  // namespace skyrel
