#include "escapes.h"

namespace skyrel {
namespace {

int HexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

bool IsOctal(char c) { return c >= '0' && c <= '7'; }

std::optional<char> SimpleEscape(char c) {
    switch (c) {
        case 'a': return '\a';
        case 'b': return '\b';
        case 'f': return '\f';
        case 'n': return '\n';
        case 'r': return '\r';
        case 't': return '\t';
        case 'v': return '\v';
        case '\\': return '\\';
        case '\'': return '\'';
        case '"': return '"';
        case '?': return '?';
        default: return std::nullopt;
    }
}

}  // namespace

std::optional<QByteArray> Unescape(const QByteArray& text, QString& error) {
    QByteArray bytes;
    qsizetype i = 0;
    while (i < text.size()) {
        if (text[i] != '\\') {
            bytes += text[i++];
            continue;
        }
        if (++i == text.size()) {
            error = QStringLiteral("a lone backslash ends the text");
            return std::nullopt;
        }
        const char c = text[i];
        if (const std::optional<char> simple = SimpleEscape(c)) {
            bytes += *simple;
            ++i;
        } else if (IsOctal(c)) {
            int value = 0;
            for (int digits = 0; digits < 3 && i < text.size() && IsOctal(text[i]); ++digits, ++i)
                value = value * 8 + (text[i] - '0');
            if (value > 0xff) {
                error = QStringLiteral("octal escape beyond \\377");
                return std::nullopt;
            }
            bytes += static_cast<char>(value);
        } else if (c == 'x') {
            ++i;
            int value = 0;
            int digits = 0;
            for (; digits < 2 && i < text.size() && HexValue(text[i]) >= 0; ++digits, ++i)
                value = value * 16 + HexValue(text[i]);
            if (digits == 0) {
                error = QStringLiteral("\\x without hexadecimal digits");
                return std::nullopt;
            }
            bytes += static_cast<char>(value);
        } else {
            error = QStringLiteral("unknown escape \\%1").arg(QLatin1Char(c));
            return std::nullopt;
        }
    }
    return bytes;
}

}  // namespace skyrel
