// Text from outside (a command line, a typed entry, a settings file) quoted in a one-line message.
#pragma once

#include <string>
#include <string_view>

namespace nav {

// PrintableText - the text with every control character (codes 0-31 and 127) written as \xHH, so that a
// message quoting it stays one line and shows what was really there. Other bytes pass unchanged.
std::string PrintableText(std::string_view text);

// The printable text between single quotes, as a refusal names what it refused: "'JO2?' is not a locator".
std::string QuotedText(std::string_view text);

}  // namespace nav
