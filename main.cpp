// Program entry: reads the command line, then runs the headless station (app/) or the desktop program
// with its windows (ui/). It stands above both folders, so the station never depends on a window.
#include <QStringList>
#include <cstdio>

#include "app/commandline.h"
#include "app/headless.h"
#include "ui/desktop.h"

int main(int argc, char** argv) {
    using namespace skyrel;

    QStringList arguments;
    for (int i = 1; i < argc; ++i) arguments.append(QString::fromLocal8Bit(argv[i]));
    const CommandLine command = ReadCommandLine(arguments);
    switch (command.action) {
        case CommandLine::Action::Help: std::fputs(qPrintable(HelpText()), stdout); return 0;
        case CommandLine::Action::Version: std::fputs(qPrintable(VersionText()), stdout); return 0;
        case CommandLine::Action::Refuse:
            std::fprintf(stderr, "skyrel: %s\n", qPrintable(command.refusal));
            return kUsageExitStatus;
        case CommandLine::Action::Run: break;
    }
    return command.headless ? RunHeadless(argv[0], command) : RunDesktop(argv[0], command);
}
