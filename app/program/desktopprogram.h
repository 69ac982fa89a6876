// Where the desktop program lives. The station's own executable links no widget or display library, so
// the headless station stays small; without --headless it hands the process over to the desktop
// program, a second executable beside it (in the build tree) or in the installed program directory.
#pragma once

#include <QDir>
#include <QString>

namespace skyrel {

// The folder the running executable lies in (symbolic links resolved); the programs' own files are found
// from it, so an installed program finds the files of its own installation wherever its prefix is.
QDir RunningProgramFolder();

// The desktop program's path: "skyrel-desktop" beside the running executable when it is there, else in
// the installed program directory as seen from where the running program is installed. Empty when
// neither exists.
QString DesktopProgramPath();

// Replaces this process by the desktop program with the same arguments (argv[0] included), keeping the
// process id, so signals and the lock work as for one program. Returns only when that failed, with the
// reason.
QString RunDesktopProgram(char** argv);

}  // namespace skyrel
