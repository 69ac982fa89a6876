// Where the program keeps its lock and its sockets: the user's runtime directory.
#pragma once

#include <QString>

namespace skyrel {

// $XDG_RUNTIME_DIR, else a private per-user directory under the temporary directory; created (0700)
// when missing.
QString RuntimeDirectory();

}  // namespace skyrel
