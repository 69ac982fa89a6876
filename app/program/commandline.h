// The program's command line: --help, --version, --web-url, --headless, --track sun|moon|park and
// --radio MODE. Nothing else is accepted, the toolkit's own options included, so that no argument changes
// the program silently.
#pragma once

#include <QString>
#include <optional>

#include "app/station/trackingstate.h"
#include "navlib/radiodoppler.h"

namespace skyrel {

struct CommandLine {
    enum class Action { Run, Help, Version, WebUrl, Refuse };
    Action action = Action::Run;
    bool headless = false;                // the station alone, without windows
    std::optional<TrackMode> startTrack;  // tracking chosen right after start-up (Sun, Moon or Park)
    std::optional<nav::RadioMode> startRadio;  // the radio driven from the start in this convention
    QString refusal;                      // for Refuse: one line naming the argument
};

// Reads the arguments after the program's name (argv[1] on). The first --help or --version wins over what
// follows.
CommandLine ReadCommandLine(int argc, char** argv);

// The text of --help and of --version, each ending in a newline.
QString HelpText();
QString VersionText();

// --web-url: prints the web page's login address (its token made and stored first, when the page is
// enabled and has none); returns the exit status, 1 with a line on standard error when the page is off.
int PrintWebUrl();

// Exit status of a refused command line.
inline constexpr int kUsageExitStatus = 2;

}  // namespace skyrel
