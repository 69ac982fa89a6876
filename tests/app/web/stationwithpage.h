// A station on a pseudo-terminal (stationfixture.h) with its park azimuth at 123 and its web page on a
// loopback port of the system's choice, with a fresh token.
#pragma once

#include <memory>

#include "app/web/webserver.h"
#include "tests/support/stationfixture.h"

namespace skyrel::test {

class StationWithPage : public StationOnPseudoTerminal {
protected:
    void SetUp() override {
        StationOnPseudoTerminal::SetUp();
        store.write(kOptionsGroup, QStringLiteral("Park Azm"), QStringLiteral("123"));
        station.loadSettings();
        station.applySite();
    }

    void StartPage() {
        settings.enabled = true;
        settings.port = 0;
        settings.token = QString::fromUtf8(token);
        server = std::make_unique<WebServer>(station, settings);
        ASSERT_TRUE(server->start()) << server->errorString().toStdString();
        settings.port = server->port();
    }

    const QByteArray token = NewWebToken().toUtf8();
    WebSettings settings;
    std::unique_ptr<WebServer> server;
};

}  // namespace skyrel::test
