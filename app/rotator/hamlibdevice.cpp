#include "app/rotator/hamlibdevice.h"

#include <charconv>

#include "navlib/printabletext.h"

namespace skyrel {
namespace {

constexpr int kMaxTcpPort = 65535;
constexpr std::size_t kMaxPortDigits = 5;

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

std::string_view Trimmed(std::string_view text) {
    while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
    while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
    return text;
}

bool IsAsciiLetterOrDigit(char c) { return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
bool IsHexDigit(char c) { return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F'); }

bool IsHostName(std::string_view host) {
    if (host.empty()) return false;
    for (const char c : host)
        if (!IsAsciiLetterOrDigit(c) && c != '-' && c != '.' && c != '_') return false;
    return true;
}

bool IsBracketedAddress(std::string_view address) {
    if (address.empty()) return false;
    for (const char c : address)
        if (!IsHexDigit(c) && c != ':' && c != '.') return false;
    return true;
}

HamlibDevice Refused(std::string reason) {
    HamlibDevice device;
    device.error = std::move(reason);
    return device;
}

HamlibDevice ParseDevicePath(std::string_view path) {
    if (path.empty()) return Refused("no device given: a device path such as /dev/ttyUSB0 is needed");
    if (path.front() != '/') return Refused(nav::QuotedText(path) + " is not a device path such as /dev/ttyUSB0");
    for (const char c : path)
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7f) return Refused("the device path holds a control character");
    HamlibDevice device;
    device.valid = true;
    device.pathname = path;
    return device;
}

HamlibDevice ParseNetworkAddress(std::string_view text, int defaultPort) {
    if (text.empty())
        return Refused("no address given: host or host:port is needed, such as localhost:" + std::to_string(defaultPort));
    std::string_view host;
    std::string_view rest;
    bool bracketed = false;
    if (text.front() == '[') {
        const std::size_t close = text.find(']');
        if (close == std::string_view::npos) return Refused("the address lacks its closing ']'");
        host = text.substr(1, close - 1);
        rest = text.substr(close + 1);
        if (!IsBracketedAddress(host)) return Refused(nav::QuotedText(host) + " is not an IPv6 address");
        if (!rest.empty() && rest.front() != ':') return Refused("only ':port' may follow the address in brackets");
        bracketed = true;
    } else {
        const std::size_t colon = text.find(':');
        host = text.substr(0, colon);
        rest = colon == std::string_view::npos ? std::string_view() : text.substr(colon);
        if (!IsHostName(host)) return Refused(nav::QuotedText(host) + " is not a host name or address");
    }
    int port = defaultPort;
    if (!rest.empty()) {
        const std::string_view digits = rest.substr(1);
        int value = 0;
        const auto [end, status] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
        if (digits.empty() || digits.size() > kMaxPortDigits || status != std::errc() ||
            end != digits.data() + digits.size() || value < 1 || value > kMaxTcpPort)
            return Refused(nav::QuotedText(digits) + " is not a TCP port (1 to 65535)");
        port = value;
    }
    HamlibDevice device;
    device.valid = true;
    device.host = host;
    device.port = port;
    const std::string hostPart = bracketed ? "[" + device.host + "]" : device.host;
    device.pathname = hostPart + ":" + std::to_string(port);
    return device;
}

}  // namespace

HamlibDevice ParseHamlibDevice(std::string_view text, HamlibLink link, int defaultPort) {
    text = Trimmed(text);
    if (link == HamlibLink::None) {
        HamlibDevice device;
        device.valid = true;
        return device;
    }
    if (text.size() > kMaxHamlibPathLength) return Refused("the device text is too long");
    HamlibDevice device = link == HamlibLink::Network ? ParseNetworkAddress(text, defaultPort) : ParseDevicePath(text);
    // A host given without its port gets the default port, which can take the path past the field.
    if (device.valid && device.pathname.size() > kMaxHamlibPathLength) return Refused("the device text is too long");
    return device;
}

}  // namespace skyrel
