// The station's web server on loopback, asked by real clients: QNetworkAccessManager for requests,
// raw sockets where the connection itself is the subject (count, size), QWebSocket for the live state.
#include <gtest/gtest.h>

#include <QEventLoop>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QProcess>
#include <QSignalSpy>
#include <QTcpSocket>
#include <QTest>
#include <QWebSocket>
#include <memory>
#include <vector>

#include "app/settings/plannersettings.h"
#include "app/station/antennastatus.h"
#include "app/station/pointing.h"
#include "app/web/guardedtcpserver.h"
#include "app/web/webserver.h"
#include "navlib/commonwindow.h"
#include "navlib/constants.h"
#include "tests/app/web/stationwithpage.h"
#include "tests/support/testenv.h"

namespace skyrel {
namespace {

constexpr int kWaitMs = 5000;

struct Answer {
    int status = 0;
    QByteArray body;
    QByteArray cookie;  // Set-Cookie
};

class WebServerTest : public test::StationWithPage {
protected:
    void Start() { StartPage(); }

    QUrl Url(const QString& path) const {
        return QUrl(QStringLiteral("http://127.0.0.1:%1%2").arg(server->port()).arg(path));
    }

    Answer Ask(const QByteArray& method, const QString& path, const QList<QPair<QByteArray, QByteArray>>& headers = {},
               const QByteArray& body = {}) {
        QNetworkRequest request(Url(path));
        for (const auto& [name, value] : headers) request.setRawHeader(name, value);
        std::unique_ptr<QNetworkReply> reply(network.sendCustomRequest(request, method, body));
        QSignalSpy finished(reply.get(), &QNetworkReply::finished);
        EXPECT_TRUE(finished.wait(kWaitMs)) << path.toStdString();
        return {reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt(), reply->readAll(),
                reply->rawHeader("Set-Cookie")};
    }

    QPair<QByteArray, QByteArray> Bearer(const QByteArray& presented) const {
        return {QByteArrayLiteral("Authorization"), "Bearer " + presented};
    }
    QPair<QByteArray, QByteArray> Origin(const QString& origin) const {
        return {QByteArrayLiteral("Origin"), origin.toUtf8()};
    }
    QString OwnOrigin() const { return QStringLiteral("http://127.0.0.1:%1").arg(server->port()); }

    // A raw connection that has been taken in by the server (the event loop ran until it was counted).
    std::unique_ptr<QTcpSocket> RawConnection() {
        auto socket = std::make_unique<QTcpSocket>();
        socket->connectToHost(QHostAddress::LocalHost, server->port());
        EXPECT_TRUE(socket->waitForConnected(kWaitMs));
        return socket;
    }

    // Waits, running the event loop, until the server holds `count` connections.
    bool WaitForConnections(int count) {
        return QTest::qWaitFor([&] { return server->connectionCount() == count; }, kWaitMs);
    }

    QNetworkAccessManager network;
};

TEST_F(WebServerTest, TheApiNeedsTheTokenAsBearerOrLoginCookie) {
    Start();
    EXPECT_EQ(Ask("GET", "/api/state").status, 401);
    EXPECT_EQ(Ask("GET", "/api/state", {Bearer("not" + token)}).status, 401);
    EXPECT_EQ(Ask("GET", "/api/state", {Bearer(token)}).status, 200);
    // The page itself sends a browser without the cookie to the login page, which needs nothing.
    EXPECT_EQ(Ask("GET", "/", {}).status, 200);  // QNetworkAccessManager follows the 303 to /login
    EXPECT_TRUE(Ask("GET", "/login").body.contains("id=\"login\""));

    const Answer wrong = Ask("POST", "/login", {}, "not" + token);
    EXPECT_EQ(wrong.status, 401);
    EXPECT_TRUE(wrong.cookie.isEmpty());
    const Answer login = Ask("POST", "/login", {Origin(OwnOrigin())}, token);
    EXPECT_EQ(login.status, 204);
    EXPECT_TRUE(login.cookie.startsWith(kWebCookieName + '=' + token + ';')) << login.cookie.constData();
    EXPECT_TRUE(login.cookie.contains("HttpOnly"));
    EXPECT_TRUE(login.cookie.contains("SameSite=Strict"));
    const QByteArray cookie = kWebCookieName + '=' + token;
    EXPECT_EQ(Ask("GET", "/api/state", {{"Cookie", "other=1; " + cookie}}).status, 200);
    const Answer page = Ask("GET", "/app.js", {{"Cookie", cookie}});
    EXPECT_EQ(page.status, 200);
    EXPECT_TRUE(page.body.contains("/api/live"));
    // Nothing outside the page's own files is served, whatever the path says.
    EXPECT_EQ(Ask("GET", "/../../etc/passwd", {Bearer(token)}).status, 404);
    EXPECT_EQ(Ask("GET", "/web/index.html", {Bearer(token)}).status, 404);
}

TEST_F(WebServerTest, TheStateIsTheStationsSecond) {
    Start();
    station.tick();
    const Answer answer = Ask("GET", "/api/state", {Bearer(token)});
    ASSERT_EQ(answer.status, 200);
    const QJsonObject state = QJsonDocument::fromJson(answer.body).object();
    const nav::SkyState& sky = station.state().sky;
    // Doubles pass JSON unchanged: the same second gives the same numbers, exactly.
    EXPECT_EQ(state["moon"]["azimuth"].toDouble(), sky.moon.azimuth);
    EXPECT_EQ(state["moon"]["elevation"].toDouble(), sky.moon.elevation);
    EXPECT_EQ(state["sun"]["rightAscension"].toDouble(), nav::Degrees(sky.sun.rightAscension));
    EXPECT_EQ(state["eme"]["dopplerShift"][0].toDouble(), station.eme().dopplerShift[0]);
    EXPECT_EQ(state["utc"].toString(), QStringLiteral("2005-09-21T17:15:00Z"));
    EXPECT_EQ(state["tracking"]["mode"].toString(), QStringLiteral("off"));
    // Today's Moon path: 00:00 to 24:00 every ten minutes.
    EXPECT_EQ(state["moonPath"].toArray().size(), 86400 / kMoonPathStepSeconds + 1);

    // A tracked second of the Hamlib rotator as the status box has it: its last command, why it holds,
    // and where it points, the azimuth as the box shows it (-0.04 is 0.0, not 360.0).
    RotatorReport report;
    report.target = RotatorPosition{0.1, 20.2};
    report.commanded = RotatorPosition{0.0, 20.0};
    report.reported = RotatorPosition{-0.04, 20.05};
    report.hold = MotionHold::InsideStep;
    const AntennaStatus held = ReportStatus(report);
    emit station.tracker().antennaStatusChanged(held);
    const QJsonObject antenna = QJsonDocument::fromJson(Ask("GET", "/api/state", {Bearer(token)}).body).object()["antenna"].toObject();
    EXPECT_EQ(antenna["rotatorCommanded"].toString(), QStringLiteral("Commanded: 0.0 / 20.0"));
    EXPECT_EQ(antenna["reason"].toString(), QStringLiteral("holding: inside the step"));
    EXPECT_EQ(antenna["reported"]["azimuth"].toDouble(-1), 0.0);
    EXPECT_EQ(antenna["reported"]["elevation"].toDouble(), 20.05);

    emit station.tracker().antennaStatusChanged(UnreachableStatus());
    const QJsonObject lost = QJsonDocument::fromJson(Ask("GET", "/api/state", {Bearer(token)}).body).object()["antenna"].toObject();
    EXPECT_TRUE(lost["reported"].isNull());
    EXPECT_EQ(lost["error"].toString(), kRotatorNotReachable);
}

TEST_F(WebServerTest, AChangeFromAnotherOriginIsRefused) {
    Start();
    const QByteArray park = R"({"target": "park"})";
    EXPECT_EQ(Ask("POST", "/api/track", {Bearer(token), Origin("http://evil.example")}, park).status, 403);
    EXPECT_EQ(state.tracking.trackMode, TrackMode::Off);
    EXPECT_EQ(Ask("POST", "/api/track", {Bearer(token), Origin(OwnOrigin())}, park).status, 200);
    EXPECT_EQ(state.tracking.trackMode, TrackMode::Park);
    EXPECT_TRUE(state.tracking.trackingActive);
    // A client without an Origin (a script with the bearer token) may change too.
    EXPECT_EQ(Ask("POST", "/api/track", {Bearer(token)}, R"({"target": "off"})").status, 200);
    EXPECT_EQ(state.tracking.trackMode, TrackMode::Off);
    EXPECT_EQ(Ask("POST", "/api/track", {Bearer(token)}, R"({"target": "mars"})").status, 400);
}

TEST_F(WebServerTest, TrackParkThroughTheApiSendsTheParkLine) {
    Start();
    ASSERT_EQ(Ask("POST", "/api/track", {Bearer(token)}, R"({"target": "park"})").status, 200);
    ASSERT_EQ(state.settings.parkAz, 123);
    station.tick();
    const QByteArray line = MakePointing(state.settings.parkAz, state.settings.parkEl, TrackMode::Park, state.settings, state.sky).line;
    EXPECT_EQ(pty.readBytes(int(line.size())), line);
}

// The page follows a source as it follows the Sun: its name and its place, the cycle's sky.source.
TEST_F(WebServerTest, TrackSourceThroughTheApiNamesTheSourceAndItsPlace) {
    Start();
    station.chooseSource(nav::RadioSource::CygA);
    station.choose(TrackMode::Off);
    const QJsonObject tracking =
        QJsonDocument::fromJson(Ask("POST", "/api/track", {Bearer(token)}, R"({"target": "source"})").body).object();
    EXPECT_EQ(state.tracking.trackMode, TrackMode::Source);
    EXPECT_EQ(tracking["mode"].toString(), "source");
    EXPECT_EQ(tracking["source"].toString(), "Cyg A");
    EXPECT_EQ(tracking["target"].toObject()["azimuth"].toDouble(), state.sky.source.azimuth);
    EXPECT_EQ(tracking["target"].toObject()["elevation"].toDouble(), state.sky.source.elevation);
    EXPECT_NE(state.sky.source.azimuth, state.sky.sun.azimuth);
}

TEST_F(WebServerTest, ARequestOverSixteenKibibytesIsCutOff) {
    Start();
    const auto post = [&](int bodyBytes) {
        QByteArray body = R"({"target": "park", "pad": ")";
        body += QByteArray(bodyBytes - body.size() - 2, 'x') + "\"}";
        auto socket = RawConnection();
        socket->write("POST /api/track HTTP/1.1\r\nHost: 127.0.0.1\r\nAuthorization: Bearer " + token +
                      "\r\nContent-Type: application/json\r\nContent-Length: " + QByteArray::number(body.size()) +
                      "\r\n\r\n" + body);
        QByteArray received;
        EXPECT_TRUE(QTest::qWaitFor([&] {
            received += socket->readAll();
            return received.contains("\r\n\r\n") || socket->state() == QAbstractSocket::UnconnectedState;
        }, kWaitMs));
        return received;
    };
    const QByteArray oversized = post(20 * 1024);
    EXPECT_FALSE(oversized.startsWith("HTTP/1.1 200")) << oversized.constData();
    EXPECT_EQ(state.tracking.trackMode, TrackMode::Off);
    // Under the limit, the same request is served.
    EXPECT_TRUE(post(12 * 1024).startsWith("HTTP/1.1 200"));
    EXPECT_EQ(state.tracking.trackMode, TrackMode::Park);
}

TEST_F(WebServerTest, TheThirtyThirdConnectionIsClosedAtOnce) {
    Start();
    std::vector<std::unique_ptr<QTcpSocket>> held;
    for (int i = 0; i < kWebMaxConnections; ++i) held.push_back(RawConnection());
    ASSERT_TRUE(WaitForConnections(kWebMaxConnections));
    auto extra = RawConnection();
    QSignalSpy closed(extra.get(), &QTcpSocket::disconnected);
    extra->write("GET /api/state HTTP/1.1\r\nHost: 127.0.0.1\r\nAuthorization: Bearer " + token + "\r\n\r\n");
    EXPECT_TRUE(closed.wait(kWaitMs));
    EXPECT_FALSE(extra->readAll().contains("200"));
    // The 32 stand, and are served; one gone makes room for a new one.
    EXPECT_EQ(Ask("GET", "/api/state", {Bearer(token)}).status, 0);  // a 33rd again
    held.pop_back();
    ASSERT_TRUE(WaitForConnections(kWebMaxConnections - 1));
    EXPECT_EQ(Ask("GET", "/api/state", {Bearer(token)}).status, 200);
}

TEST_F(WebServerTest, FiveWrongTokensInAMinutePauseTheAddress) {
    Start();
    QSignalSpy logged(server.get(), &WebServer::message);
    for (int i = 0; i < kWebFailuresBeforePause; ++i)
        EXPECT_EQ(Ask("GET", "/api/state", {Bearer("guess" + QByteArray::number(i))}).status, 401);
    EXPECT_EQ(Ask("GET", "/api/state", {Bearer(token)}).status, 429);  // the right token waits too
    EXPECT_EQ(Ask("POST", "/login", {}, token).status, 429);
    ASSERT_EQ(logged.count(), 1);
    const QString line = logged[0][0].toString();
    EXPECT_TRUE(line.contains(QStringLiteral("127.0.0.1"))) << line.toStdString();
    EXPECT_FALSE(line.contains(QStringLiteral("guess")));
    // Four wrong ones do not.
    WebAccess access(token);
    for (int i = 0; i < kWebFailuresBeforePause - 1; ++i)
        EXPECT_EQ(access.check(QHostAddress::LocalHost, "guess"), WebAccess::Verdict::Refused);
    EXPECT_EQ(access.check(QHostAddress::LocalHost, token), WebAccess::Verdict::Allowed);
}

TEST_F(WebServerTest, AnAddressBeyondLoopbackNeedsAToken) {
    settings.enabled = true;
    settings.address = QStringLiteral("192.0.2.10");
    settings.port = 8073;
    WebServer refused(station, settings);
    EXPECT_FALSE(refused.start());
    EXPECT_TRUE(refused.errorString().contains(QStringLiteral("192.0.2.10"))) << refused.errorString().toStdString();
    EXPECT_TRUE(refused.errorString().contains(QStringLiteral("8073")));
    EXPECT_TRUE(refused.errorString().contains(QStringLiteral("token")));
    // Without TLS the log is told that the token crosses the network in clear.
    settings.token = QString::fromUtf8(token);
    EXPECT_TRUE(WebServer(station, settings).startWarning().contains(QStringLiteral("in clear")));
    settings.address = QStringLiteral("127.0.0.1");
    EXPECT_TRUE(WebServer(station, settings).startWarning().isEmpty());
}

TEST_F(WebServerTest, APortInUseIsOneMessageAndNoServer) {
    Start();
    WebServer second(station, settings);
    EXPECT_FALSE(second.start());
    EXPECT_TRUE(second.errorString().contains(QStringLiteral("127.0.0.1 port %1").arg(server->port())))
        << second.errorString().toStdString();
    EXPECT_TRUE(second.errorString().contains(QStringLiteral("in use"), Qt::CaseInsensitive));
}

TEST_F(WebServerTest, TheLiveSocketPushesEverySecondToTokenHoldersOnly) {
    Start();
    const auto open = [&](const QList<QPair<QByteArray, QByteArray>>& headers) {
        QNetworkRequest request(QUrl(QStringLiteral("ws://127.0.0.1:%1/api/live").arg(server->port())));
        for (const auto& [name, value] : headers) request.setRawHeader(name, value);
        auto socket = std::make_unique<QWebSocket>();
        socket->open(request);
        return socket;
    };
    auto stranger = open({});
    QSignalSpy strangerClosed(stranger.get(), &QWebSocket::disconnected);
    auto foreign = open({Bearer(token), Origin("http://evil.example")});
    QSignalSpy foreignClosed(foreign.get(), &QWebSocket::disconnected);
    auto client = open({{"Cookie", kWebCookieName + '=' + token}, Origin(OwnOrigin())});
    QSignalSpy messages(client.get(), &QWebSocket::textMessageReceived);
    EXPECT_TRUE(strangerClosed.wait(kWaitMs));
    EXPECT_TRUE(foreignClosed.count() > 0 || foreignClosed.wait(kWaitMs));
    ASSERT_TRUE(messages.count() > 0 || messages.wait(kWaitMs));  // the state at once
    EXPECT_EQ(server->liveClientCount(), 1);

    clock.advance(1);
    station.tick();
    QJsonObject pushed;
    ASSERT_TRUE(QTest::qWaitFor([&] {
        pushed = QJsonDocument::fromJson(messages.last()[0].toString().toUtf8()).object();
        return pushed["utc"].toString() == QStringLiteral("2005-09-21T17:15:01Z");
    }, kWaitMs));
    EXPECT_EQ(std::as_const(pushed)["moon"]["azimuth"].toDouble(), state.sky.moon.azimuth);
}

TEST_F(WebServerTest, TheWindowsAreThePlannersWithTheLatestDx) {
    Start();
    const QJsonObject none = QJsonDocument::fromJson(Ask("GET", "/api/windows", {Bearer(token)}).body).object();
    EXPECT_TRUE(none["dx"].isNull());
    EXPECT_TRUE(none["windows"].toArray().isEmpty());

    PlannerSettings planner;
    planner.recentDx = {QStringLiteral("W1AW FN31pr")};
    SavePlannerSettings(store, planner);
    EXPECT_EQ(Ask("GET", "/api/windows?days=0", {Bearer(token)}).status, 400);
    EXPECT_EQ(Ask("GET", "/api/windows?days=8", {Bearer(token)}).status, 400);
    const QJsonObject report = QJsonDocument::fromJson(Ask("GET", "/api/windows?days=3", {Bearer(token)}).body).object();
    EXPECT_EQ(report["dx"]["call"].toString(), QStringLiteral("W1AW"));
    EXPECT_EQ(report["dx"]["locator"].toString(), QStringLiteral("FN31pr"));
    // The Moon is up at both stations (450 km apart) for one stretch a day: three days, three windows,
    // each the length the planner finds (to the second), the first starting on 2005-09-21 after 17:15 UT.
    nav::SkyState workspace = state.sky;
    const nav::ObserverSite& home = state.settings.site;
    const std::vector<nav::CommonWindow> expected = nav::FindCommonWindows(
        workspace, nav::MakePlannerSite(home.latitude, home.longitude, home.height),
        nav::MakePlannerSite(41.7292, -72.7083, 0), state.sky.clock.utcDay, 3, 0);
    const QJsonArray windows = report["windows"].toArray();
    ASSERT_EQ(windows.size(), qsizetype(expected.size()));
    ASSERT_EQ(windows.size(), 3);
    for (qsizetype i = 0; i < windows.size(); ++i)
        EXPECT_DOUBLE_EQ(windows[i]["minutes"].toDouble(), expected[i].minutes());
    EXPECT_EQ(report["day"]["hours"].toArray().size(), 86400 / kDayChartStepSeconds + 1);
}

TEST(WebSettings, ATokenIsMadeAtFirstEnableAndKept) {
    MemorySettingsStore store;
    QStringList problem;
    EXPECT_TRUE(LoadWebSettingsWithToken(store, problem).token.isEmpty());  // off: no token
    store.write(kWebGroup, QStringLiteral("Enabled"), QStringLiteral("True"));
    const WebSettings first = LoadWebSettingsWithToken(store, problem);
    // 32 random bytes in base64url without padding: 43 characters.
    EXPECT_EQ(first.token.size(), 43);
    EXPECT_EQ(QByteArray::fromBase64(first.token.toLatin1(), QByteArray::Base64UrlEncoding).size(), kWebTokenBytes);
    EXPECT_EQ(LoadWebSettingsWithToken(store, problem).token, first.token);
    EXPECT_NE(NewWebToken(), first.token);
    EXPECT_EQ(first.address, QStringLiteral("127.0.0.1"));
    EXPECT_EQ(first.port, kDefaultWebPort);
    EXPECT_EQ(WebLoginUrl(first), QStringLiteral("http://127.0.0.1:8073/login#") + first.token);
}

// skyrel --web-url in a real process: the token it prints is the one it stored, in a file only its
// owner reads.
TEST(WebSettings, WebUrlPrintsTheLoginAddressWithTheStoredToken) {
    QProcess off;
    off.start(QStringLiteral(SKYREL_BINARY), {QStringLiteral("--web-url")});
    ASSERT_TRUE(off.waitForFinished(kWaitMs));
    EXPECT_EQ(off.exitCode(), 1);
    EXPECT_TRUE(off.readAllStandardError().contains("Enabled=True"));
    {
        NativeSettingsStore store;
        store.write(kWebGroup, QStringLiteral("Enabled"), QStringLiteral("True"));
        store.write(kWebGroup, QStringLiteral("Port"), QStringLiteral("18080"));
        ASSERT_TRUE(store.sync());
    }
    QProcess on;
    on.start(QStringLiteral(SKYREL_BINARY), {QStringLiteral("--web-url")});
    ASSERT_TRUE(on.waitForFinished(kWaitMs));
    EXPECT_EQ(on.exitCode(), 0);
    NativeSettingsStore store;
    const QString token = store.read(kWebGroup, QStringLiteral("Token"));
    EXPECT_EQ(token.size(), 43);
    EXPECT_EQ(on.readAllStandardOutput(), QStringLiteral("http://127.0.0.1:18080/login#%1\n").arg(token).toUtf8());
    const QFileDevice::Permissions others = QFileDevice::ReadGroup | QFileDevice::WriteGroup | QFileDevice::ExeGroup |
                                            QFileDevice::ReadOther | QFileDevice::WriteOther | QFileDevice::ExeOther;
    EXPECT_EQ(QFile::permissions(store.fileName()) & others, QFileDevice::Permissions());
}

}  // namespace
}  // namespace skyrel
