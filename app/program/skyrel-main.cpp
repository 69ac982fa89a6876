// The station's executable: reads the command line, then runs the headless station, or hands the process
// to the desktop program (ui/, a second executable) so that this one links no widget or display library.
#include <cstdio>

#include "app/program/commandline.h"
#include "app/program/desktopprogram.h"
#include "app/program/headless.h"

int main(int argc, char** argv) {
    using namespace skyrel;

    const CommandLine command = ReadCommandLine(argc, argv);
    switch (command.action) {
        case CommandLine::Action::Help: std::fputs(qPrintable(HelpText()), stdout); return 0;
        case CommandLine::Action::Version: std::fputs(qPrintable(VersionText()), stdout); return 0;
        case CommandLine::Action::WebUrl: return PrintWebUrl();
        case CommandLine::Action::Refuse:
            std::fprintf(stderr, "skyrel: %s\n", qPrintable(command.refusal));
            return kUsageExitStatus;
        case CommandLine::Action::Run: break;
    }
    if (command.headless) return RunHeadless(argv[0], command);
    LogLine(Severity::Error, QStringLiteral("cannot start the desktop program: ") + RunDesktopProgram(argv));
    return kFailureExitStatus;
}
