// Process-wide isolation for tests: a private settings home and runtime directory for this process.
#pragma once

#include <QString>

namespace skyrel::test {

// Made once per test process by the test main; removed when the process ends.
QString ConfigHome();
QString RuntimeDir();

// Creates both directories (runtime 0700) and points XDG_CONFIG_HOME and XDG_RUNTIME_DIR at them.
void IsolateProcessEnvironment();

}  // namespace skyrel::test
