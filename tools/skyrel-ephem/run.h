// The whole of skyrel-ephem behind its main: the command line in, the exit status out, the figures and
// the one-line refusals written to the given streams, so that the program can be driven in-process.
#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace ephem {

// Exit status of a refused command line; the refusal is one line on `err`.
inline constexpr int kExitBadInput = 2;

// Runs the program on argv[1..]: 0 with the figures on `out`, or kExitBadInput with one line on `err`.
int Run(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

}  // namespace ephem
