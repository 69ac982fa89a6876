#include "tests/support/skyrelprocess.h"

#include <QLocalSocket>

#include "app/program/singleinstance.h"
#include "tests/support/testenv.h"

namespace skyrel::test {

QProcessEnvironment SkyrelEnvironment() {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    return env;
}

QProcessEnvironment HeadlessEnvironment() {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"}) env.remove(QLatin1String(name));
    return env;
}

bool StartSkyrel(QProcess& process, const QProcessEnvironment& environment, const QStringList& arguments) {
    process.setProcessEnvironment(environment);
    process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    process.start(QStringLiteral(SKYREL_BINARY), arguments);
    return process.waitForStarted(kProcessWaitMs);
}

bool StartHeadless(QProcess& station, const QStringList& arguments) {
    station.setProcessEnvironment(HeadlessEnvironment());
    station.start(QStringLiteral(SKYREL_BINARY), QStringList{QStringLiteral("--headless")} + arguments);
    return station.waitForStarted(kProcessWaitMs);
}

bool SkyrelAnswers() {
    QLocalSocket socket;
    socket.connectToServer(SingleInstance(RuntimeDir()).socketPath());
    return socket.waitForConnected(200);
}

void StopSkyrel(QProcess& process) {
    if (process.state() == QProcess::NotRunning) return;
    process.kill();
    process.waitForFinished(kProcessWaitMs);
}

}  // namespace skyrel::test
