// The desktop program: the station with its four windows as views of it.
#pragma once

#include "app/program/commandline.h"

namespace skyrel {

// Builds the station and the windows in their fixed order and runs the event loop until Exit, TRACK_SHUT,
// SIGTERM or SIGINT (status 0). A second copy asks the running one to come back and returns 0 at once.
// `programName` is argv[0].
int RunDesktop(char* programName, const CommandLine& command);

}  // namespace skyrel
