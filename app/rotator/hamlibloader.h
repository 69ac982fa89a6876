// Where the Hamlib module is and how it is loaded: on the first call that needs Hamlib (the rotator
// opened, the model list read, a one-off test), never at start-up.
#pragma once

#include <QString>

#include "app/rotator/hamlibmodule.h"

namespace skyrel {

struct HamlibModuleLoad {
    HamlibLibrary* library = nullptr;  // none when the module could not be loaded
    QString error;                     // why not, in words, naming the module's path; empty when loaded
};

// Loads the module file at `path` and asks it for its library. On failure the error reads
// "cannot load the Hamlib module PATH: REASON", the reason as the system's loader gives it.
HamlibModuleLoad LoadHamlibModule(const QString& path);

// The module this program uses, loaded on the first call; later calls return the same result. It is
// looked for beside the running executable (the programs in the build tree), in the installed module
// folder as found from where the running program is installed (so a package installed under another
// prefix than the build's finds it too), and last in the build tree that made this program (the tests
// and benchmarks). When it is in none of them, the error reads "cannot load the Hamlib module NAME: not
// found in FOLDERS".
const HamlibModuleLoad& HamlibModule();

}  // namespace skyrel
