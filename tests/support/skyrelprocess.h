// The tracker as a real process started by a test.
#pragma once

#include <QProcess>

namespace skyrel::test {

constexpr int kProcessWaitMs = 20000;

// The environment of a tracker started by a test: this test process's own settings home and runtime
// directory (already in its environment) and the offscreen platform.
QProcessEnvironment SkyrelEnvironment();

// The environment of a headless station: the same, with no display of any kind and no platform named.
QProcessEnvironment HeadlessEnvironment();

// Starts the tracker with `environment` and `arguments`, its standard error passed through; false when it
// did not start.
bool StartSkyrel(QProcess& process, const QProcessEnvironment& environment = SkyrelEnvironment(),
                 const QStringList& arguments = {});

// Starts a headless station (--headless, then `arguments`) with its standard error kept for the test to
// read; false when it did not start.
bool StartHeadless(QProcess& station, const QStringList& arguments = {});

// True once a tracker answers on its restore socket: it holds the lock and has reached its display.
bool SkyrelAnswers();

// Kills a tracker that still runs and waits until it is gone.
void StopSkyrel(QProcess& process);

}  // namespace skyrel::test
