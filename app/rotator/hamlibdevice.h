// Where a Hamlib rotator is reached: a device path (a serial line, a USB or parallel port), or the host and
// TCP port of a network rotator daemon. Plain C++ without Qt, so that any harness can feed it bytes.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace skyrel {

// How a rotator model is connected, from its Hamlib capabilities.
enum class HamlibLink {
    None,     // nothing to reach (the dummy model): the device text is not used
    Device,   // a device path on this computer
    Network,  // a daemon at host:port
};

// The TCP ports Hamlib's rotator and radio daemons listen on unless told otherwise.
inline constexpr int kDefaultRotatorDaemonPort = 4533;
inline constexpr int kDefaultRadioDaemonPort = 4532;
// Hamlib keeps the port path in a field of 512 bytes, the terminating zero included.
inline constexpr std::size_t kMaxHamlibPathLength = 511;

struct HamlibDevice {
    bool valid = false;
    std::string pathname;  // what Hamlib is given as the port's path: the device path, or "host:port"
    std::string host;      // Network only; an IPv6 address without its brackets
    int port = 0;          // Network only: 1..65535
    std::string error;     // why the text was refused, in words; empty when valid
};

// ParseHamlibDevice - reads the device text of the rotator settings for a model connected by `link`.
//   in:  text  any bytes; blanks and tabs at both ends are ignored
//        link  None: every text is accepted and ignored (pathname empty)
//              Device: an absolute path ("/dev/ttyUSB0"), without control characters
//              Network: "host", "host:port", "[IPv6]" or "[IPv6]:port"; the host is letters, digits,
//              '-', '.' and '_', the bracketed address hex digits, ':' and '.'; the port is 1 to 5 decimal
//              digits, 1..65535, and defaultPort when left out. pathname is "host:port" ("[IPv6]:port")
//   out: valid with pathname (and host and port), or not valid with the reason in `error`. Texts longer
//        than Hamlib's path field are refused. Never throws, for every input.
HamlibDevice ParseHamlibDevice(std::string_view text, HamlibLink link, int defaultPort = kDefaultRotatorDaemonPort);

}  // namespace skyrel
