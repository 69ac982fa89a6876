// The desktop program's executable, started by skyrel with the arguments it accepted: the station with
// its windows (ui/).
#include <cstdio>

#include "app/program/commandline.h"
#include "ui/desktop.h"

int main(int argc, char** argv) {
    using namespace skyrel;

    const CommandLine command = ReadCommandLine(argc, argv);
    if (command.action != CommandLine::Action::Run || command.headless) {
        std::fputs("skyrel-desktop is started by skyrel; run skyrel --help\n", stderr);
        return kUsageExitStatus;
    }
    return RunDesktop(argv[0], command);
}
