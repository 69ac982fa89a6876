// The headless station service: the station alone, without a widget or a display, driven by its own
// one-second timer. Same settings file, lock, local endpoint and serial output as the desktop program;
// what a window would show in a message box goes to standard error, one line each.
#pragma once

#include <QString>

#include "app/program/commandline.h"

namespace skyrel {

enum class Severity { Info, Warning, Error };

// One line on standard error: "skyrel: <severity>: <text>", line breaks in the text made blanks, so a
// journal shows one entry per message.
void LogLine(Severity severity, const QString& text);

// Runs the headless station until SIGTERM, SIGINT or TRACK_SHUT (status 0), or until the rotator port
// fails to open when tracking starts (kFailureExitStatus). A second copy asks the running one to come back and
// returns 0 at once. `programName` is argv[0].
int RunHeadless(char* programName, const CommandLine& command);

// Exit status of a program that cannot do its work: the headless station's rotator port would not open,
// or the desktop program could not be started.
inline constexpr int kFailureExitStatus = 1;

}  // namespace skyrel
