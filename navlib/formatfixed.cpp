#include "navlib/formatfixed.h"

#include <charconv>
#include <cmath>
#include <string>

namespace nav {
namespace {

// A non-negative decimal number: digits d[0] d[1] ... with the point after `pointPos` digits
// (pointPos may be negative or beyond the digits).
struct Decimal {
    std::string digits;
    int pointPos = 0;
};

Decimal ShortestDecimal(double magnitude) {
    char buffer[64];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, magnitude, std::chars_format::scientific);
    const std::string text(buffer, result.ptr);
    const std::size_t e = text.find('e');
    Decimal d;
    for (std::size_t i = 0; i < e; ++i)
        if (text[i] != '.') d.digits.push_back(text[i]);
    d.pointPos = std::stoi(text.substr(e + 1)) + 1;
    return d;
}

// Rounds half away from zero so that `decimals` digits remain after the point (negative: to tens, ...).
Decimal RoundAt(Decimal d, int decimals) {
    const int keep = d.pointPos + decimals;  // number of leading digits kept
    if (keep >= static_cast<int>(d.digits.size())) return d;
    if (keep < 0) return Decimal{"0", 1};
    const bool roundUp = d.digits[keep] >= '5';
    d.digits.resize(keep);
    if (roundUp) {
        int i = keep - 1;
        while (i >= 0 && d.digits[i] == '9') d.digits[i--] = '0';
        if (i >= 0) {
            ++d.digits[i];
        } else {
            d.digits.insert(d.digits.begin(), '1');
            ++d.pointPos;
        }
    }
    if (d.digits.empty()) return Decimal{"0", 1};
    return d;
}

bool IsZero(const Decimal& d) { return d.digits.find_first_not_of('0') == std::string::npos; }

// Digits before the point, ignoring leading zeros.
int IntegerDigits(const Decimal& d) {
    const std::size_t first = d.digits.find_first_not_of('0');
    if (first == std::string::npos) return 0;
    return d.pointPos - static_cast<int>(first);
}

std::string Fixed(const Decimal& d, int decimals) {
    std::string out;
    for (int i = 0; i < d.pointPos; ++i) out.push_back(i < static_cast<int>(d.digits.size()) ? d.digits[i] : '0');
    const std::size_t first = out.find_first_not_of('0');
    out = first == std::string::npos ? "0" : out.substr(first);
    if (decimals > 0) {
        out.push_back('.');
        for (int i = 0; i < decimals; ++i) {
            const int index = d.pointPos + i;
            out.push_back(index >= 0 && index < static_cast<int>(d.digits.size()) ? d.digits[index] : '0');
        }
    }
    return out;
}

std::string Scientific(const Decimal& d, int significant) {
    Decimal r = RoundAt(d, significant - d.pointPos);
    const std::size_t first = r.digits.find_first_not_of('0');
    std::string mantissa = r.digits.substr(first);
    const int exponent = r.pointPos - static_cast<int>(first) - 1;
    while (mantissa.size() > 1 && mantissa.back() == '0') mantissa.pop_back();
    std::string out(1, mantissa[0]);
    if (mantissa.size() > 1) out += "." + mantissa.substr(1);
    return out + "E" + std::to_string(exponent);
}

}  // namespace

std::string FixedDecimals(double value, int decimals) {
    char text[400];
    const auto result = std::to_chars(text, text + sizeof text, value, std::chars_format::fixed, decimals);
    return std::string(text, result.ptr);
}

std::string formatFixed(double value, int significant, int decimals) {
    if (std::isnan(value)) return "NAN";
    if (std::isinf(value)) return value < 0 ? "-INF" : "INF";
    const bool negative = std::signbit(value);
    const Decimal exact = ShortestDecimal(std::fabs(value));
    const int keepDecimals = std::min(decimals, significant - IntegerDigits(exact));
    const Decimal rounded = RoundAt(exact, keepDecimals);
    if (IntegerDigits(rounded) > significant)
        return (negative ? "-" : "") + Scientific(exact, significant);
    const std::string text = Fixed(rounded, decimals);
    return (negative && !IsZero(rounded) ? "-" : "") + text;
}

}  // namespace nav
