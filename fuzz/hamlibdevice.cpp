// Fuzz target: the Hamlib rotator's device text. The first byte chooses how the model is connected (none,
// a device, a network daemon), the rest is the text. Invariants: a valid text gives a path that fits
// Hamlib's field and holds no control character; a network text a port 1..65535 and the path
// "host:port" (the IPv6 address in brackets); a refused text one line saying why.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "app/rotator/hamlibdevice.h"
#include "fuzz/fuzzsupport.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace skyrel;
    using skyrel::fuzz::Check;
    if (size == 0) return 0;
    const HamlibLink links[] = {HamlibLink::None, HamlibLink::Device, HamlibLink::Network};
    const HamlibLink link = links[data[0] % 3];
    const std::string_view text(reinterpret_cast<const char*>(data + 1), size - 1);
    const HamlibDevice device = ParseHamlibDevice(text, link);
    if (!device.valid) {
        Check(!device.error.empty() && device.error.find('\n') == std::string::npos, "a refusal is one line");
        return 0;
    }
    Check(device.error.empty(), "a valid text has no error");
    Check(device.pathname.size() <= kMaxHamlibPathLength, "the path fits Hamlib's field");
    for (const char c : device.pathname)
        Check(static_cast<unsigned char>(c) >= 0x20 && c != 0x7f, "the path holds no control character");
    if (link == HamlibLink::None) Check(device.pathname.empty(), "a model without a link gets no path");
    if (link == HamlibLink::Network) {
        Check(device.port >= 1 && device.port <= 65535, "the daemon's port is 1..65535");
        const std::string port = ":" + std::to_string(device.port);
        Check(device.pathname == device.host + port || device.pathname == "[" + device.host + "]" + port,
              "the path is host:port");
    }
    return 0;
}
