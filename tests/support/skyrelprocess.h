// The tracker as a real process started by a test.
#pragma once

#include <QProcess>

namespace skyrel::test {

constexpr int kProcessWaitMs = 20000;

// The environment of a tracker started by a test: this test process's own settings home and runtime
// directory (already in its environment) and the offscreen platform.
QProcessEnvironment SkyrelEnvironment();

// Starts the tracker with `environment`, its standard error passed through; false when it did not start.
bool StartSkyrel(QProcess& process, const QProcessEnvironment& environment = SkyrelEnvironment());

// True once a tracker answers on its restore socket: it holds the lock and has reached its display.
bool SkyrelAnswers();

// Kills a tracker that still runs and waits until it is gone.
void StopSkyrel(QProcess& process);

}  // namespace skyrel::test
