#include "navlib/printabletext.h"

#include <cstdio>

namespace nav {

std::string PrintableText(std::string_view text) {
    std::string printable;
    printable.reserve(text.size());
    for (const char c : text) {
        const auto code = static_cast<unsigned char>(c);
        if (code >= 0x20 && code != 0x7f) {
            printable += c;
            continue;
        }
        char escaped[5];
        std::snprintf(escaped, sizeof escaped, "\\x%02X", code);
        printable += escaped;
    }
    return printable;
}

std::string QuotedText(std::string_view text) { return "'" + PrintableText(text) + "'"; }

}  // namespace nav
