#include "app/program/headless.h"

#include <QCoreApplication>
#include <QTimer>
#include <cstdio>
#include <memory>
#include <optional>
#include <utility>

#include "app/program/programstart.h"
#include "app/program/runtimepaths.h"
#include "app/radio/radiosettings.h"
#include "app/station/station.h"
#include "app/station/systemclock.h"
#include "app/program/terminationsignals.h"
#include "app/web/webserver.h"

namespace skyrel {
namespace {

constexpr int kCycleMs = 1000;

const char* SeverityWord(Severity severity) {
    switch (severity) {
        case Severity::Info: return "info";
        case Severity::Warning: return "warning";
        case Severity::Error: return "error";
    }
    return "error";
}

QString TrackingText(TrackMode mode, nav::RadioSource source) {
    switch (mode) {
        case TrackMode::Sun: return QStringLiteral("tracking the Sun");
        case TrackMode::Moon: return QStringLiteral("tracking the Moon");
        case TrackMode::Park: return QStringLiteral("parking");
        case TrackMode::Off: return QStringLiteral("tracking off");
        case TrackMode::Source: return QStringLiteral("tracking ") + SourceName(source);
    }
    return {};
}

// Ends the event loop with `status` as its next event, so that it works before the loop runs as well.
void ExitSoon(int status) {
    QMetaObject::invokeMethod(QCoreApplication::instance(), [status] { QCoreApplication::exit(status); },
                              Qt::QueuedConnection);
}

// The station's messages and changes as lines on standard error: each change once, never once a second.
void LogStation(Station& station) {
    Tracker& tracker = station.tracker();
    // Only a change is told: any local client may poke the same command any number of times.
    auto logged = std::make_shared<std::optional<TrackMode>>();
    QObject::connect(&station, &Station::trackingChanged, [logged, &station](TrackMode mode, bool active) {
        if (!(active || mode == TrackMode::Off) || *logged == mode) return;
        *logged = mode;
        LogLine(Severity::Info, TrackingText(mode, station.state().settings.source));
    });
    QObject::connect(&tracker, &Tracker::outputLostChanged, [](bool lost, const QString& reason) {
        if (lost)
            LogLine(Severity::Warning,
                    QStringLiteral("rotator port lost (%1), retrying every second").arg(reason));
        else
            LogLine(Severity::Info, QStringLiteral("rotator port back, lines flow again"));
    });
    // The Hamlib rotator: its failure once, and its answering again once.
    auto rotatorLost = std::make_shared<bool>(false);
    QObject::connect(&tracker, &Tracker::rotatorUnreachable, [rotatorLost](const QString& message) {
        *rotatorLost = true;
        LogLine(Severity::Warning, message + QStringLiteral(", retrying every 5 seconds"));
    });
    QObject::connect(&tracker, &Tracker::antennaStatusChanged, [rotatorLost](const AntennaStatus& status) {
        if (!*rotatorLost || status.position.isEmpty()) return;
        *rotatorLost = false;
        LogLine(Severity::Info, QStringLiteral("the Hamlib rotator answers again"));
    });
    // The radio: its convention as it changes, a refusal, its failure once and its answering again once.
    RadioFollower& radio = station.radio();
    QObject::connect(&radio, &RadioFollower::modeChanged, [](nav::RadioMode mode) {
        LogLine(Severity::Info, QStringLiteral("radio: %1").arg(RadioModeText(mode)));
    });
    QObject::connect(&station, &Station::radioRefused, [](const QString& message) { LogLine(Severity::Warning, message); });
    auto radioLost = std::make_shared<bool>(false);
    QObject::connect(&radio, &RadioFollower::unreachable, [radioLost](const QString& message) {
        *radioLost = true;
        LogLine(Severity::Warning, message + QStringLiteral(", retrying every 5 seconds"));
    });
    QObject::connect(&radio, &RadioFollower::reported, [radioLost] {
        if (!std::exchange(*radioLost, false)) return;
        LogLine(Severity::Info, QStringLiteral("the radio answers again"));
    });
    QObject::connect(&tracker, &Tracker::portOpenFailed, [](const QString& reason) {
        LogLine(Severity::Error,
                QStringLiteral("Problem opening port! Port may already be in use! (%1)").arg(reason));
        ExitSoon(kFailureExitStatus);
    });
}

}  // namespace

void LogLine(Severity severity, const QString& text) {
    QString line = text;
    line.replace(QLatin1Char('\n'), QLatin1Char(' '));
    std::fprintf(stderr, "skyrel: %s: %s\n", SeverityWord(severity), line.toLocal8Bit().constData());
    std::fflush(stderr);
}

int RunHeadless(char* programName, const CommandLine& command) {
    SingleInstance instance(RuntimeDirectory());
    const SingleInstance::Lock lock = TakeSingleInstanceLock(instance);
    if (lock == SingleInstance::Lock::AnotherCopyRuns) return 0;

    // The station's own arguments were read already; none is handed to the application object.
    int argc = 1;
    char* argv[] = {programName, nullptr};
    QCoreApplication app(argc, argv);
    TerminationSignals terminationSignals;
    // What could not be set up at start: the station runs on without it.
    QStringList startupProblems = PrepareApplication(instance, lock);

    SystemClock clock;
    NativeSettingsStore store;
    Station station(clock, store);
    LogStation(station);
    LogListenerStops(instance, station.endpoint());
    QObject::connect(&instance, &SingleInstance::restoreRequested, [] {
        LogLine(Severity::Info, QStringLiteral("another copy was started and has left; this one runs on"));
    });
    if (!station.listen()) startupProblems << station.endpoint().errorString();
    for (const QString& problem : startupProblems) LogLine(Severity::Warning, problem);
    if (const std::optional<QString> error = station.loadSettings()) LogLine(Severity::Error, *error);
    station.applySite();
    for (const QString& line : station.startWeb()) LogLine(Severity::Warning, line);
    if (WebServer* web = station.web())
        QObject::connect(web, &WebServer::message, [](const QString& line) { LogLine(Severity::Warning, line); });

    QTimer cycle;
    cycle.setTimerType(Qt::PreciseTimer);
    cycle.setInterval(kCycleMs);
    QObject::connect(&cycle, &QTimer::timeout, &station, &Station::tick);
    cycle.start();
    if (command.startTrack) station.choose(*command.startTrack);
    if (command.startRadio) station.startRadio(*command.startRadio);
    return app.exec();
}

}  // namespace skyrel
