// What every fuzz target needs: a private settings home and runtime directory, an application object
// for the targets that run an event loop, and a check that stops the run with a message when an
// invariant fails (libFuzzer then keeps the input as a crash).
#pragma once

#include <QString>

namespace skyrel::fuzz {

// A fresh directory for this fuzzing process, removed when it ends; XDG_CONFIG_HOME and XDG_RUNTIME_DIR
// point into it, so no input touches the user's settings or a running tracker's socket.
QString PrivateDirectory();

// The process's QCoreApplication, made at the first call.
void EnsureApplication();

// Prints `what` and aborts when `holds` is false.
void Check(bool holds, const char* what);

}  // namespace skyrel::fuzz
