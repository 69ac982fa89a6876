#include "navlib/locator.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <vector>

#include "navlib/printabletext.h"

namespace nav {
namespace {

// One pair of a locator: what its two characters may be, and the size of one step in longitude and
// latitude (degrees). The pairs refine the square 18 x 18, then 10 x 10, 24 x 24, 10 x 10 times.
struct LocatorPair {
    char first;       // 'A' or '0'
    int count;        // how many values each character may take
    double lonStep;   // degrees of longitude per value
    double latStep;   // degrees of latitude per value
    const char* what;
};
constexpr std::array<LocatorPair, 4> kPairs{{
    {'A', 18, 20.0, 10.0, "the field letters run from A to R"},
    {'0', 10, 2.0, 1.0, "the square is two digits"},
    {'A', 24, 2.0 / 24, 1.0 / 24, "the subsquare letters run from A to X"},
    {'0', 10, 2.0 / 240, 1.0 / 240, "the extended square is two digits"},
}};

constexpr std::size_t kMaxCallSignLength = 12;

char Upper(char c) { return (c >= 'a' && c <= 'z') ? char(c - 'a' + 'A') : c; }
char Lower(char c) { return (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c; }

// The value 0..count-1 of one locator character, or -1.
int PairValue(const LocatorPair& pair, char c) {
    const int value = (pair.first == 'A' ? Upper(c) : c) - pair.first;
    return (value >= 0 && value < pair.count) ? value : -1;
}

// A whole text as a finite number, '.' as decimal point, an optional leading '-'.
std::optional<double> ParseNumber(std::string_view text) {
    double value = 0;
    const char* end = text.data() + text.size();
    const auto result = std::from_chars(text.data(), end, value, std::chars_format::fixed);
    if (text.empty() || result.ec != std::errc() || result.ptr != end || !std::isfinite(value)) return std::nullopt;
    return value;
}

std::string_view Trimmed(std::string_view text) {
    while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
    while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
    return text;
}

std::vector<std::string_view> Words(std::string_view text) {
    std::vector<std::string_view> words;
    std::size_t i = 0;
    while (i < text.size()) {
        if (text[i] == ' ' || text[i] == '\t') {
            ++i;
            continue;
        }
        std::size_t end = i;
        while (end < text.size() && text[end] != ' ' && text[end] != '\t') ++end;
        words.push_back(text.substr(i, end - i));
        i = end;
    }
    return words;
}

// Blanks around a comma belong to the "LAT, LON" pair, not between words.
std::string WithoutBlanksAroundCommas(std::string_view text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const bool blank = text[i] == ' ' || text[i] == '\t';
        if (blank) {
            std::size_t next = i;
            while (next < text.size() && (text[next] == ' ' || text[next] == '\t')) ++next;
            const bool afterComma = !out.empty() && out.back() == ',';
            const bool beforeComma = next < text.size() && text[next] == ',';
            if (afterComma || beforeComma) {
                i = next - 1;
                continue;
            }
        }
        out.push_back(text[i]);
    }
    return out;
}

bool IsCallSign(std::string_view word) {
    if (word.empty() || word.size() > kMaxCallSignLength) return false;
    return std::all_of(word.begin(), word.end(), [](char c) {
        return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '/';
    });
}

bool LooksLikeLocator(std::string_view text) { return text.find(',') == std::string_view::npos; }

// A locator as it is usually written: field upper case, subsquare lower case.
std::string CanonicalLocator(std::string_view text) {
    std::string out(text);
    for (std::size_t i = 0; i < out.size(); ++i) out[i] = (i / 2 == 2) ? Lower(out[i]) : Upper(out[i]);
    return out;
}

// In fixed notation, as ParseNumber reads it back, with the fewest digits that read back exactly. The
// smallest doubles need over 300 digits after the point.
std::string ShortestNumber(double value) {
    char text[400];
    const auto result = std::to_chars(text, text + sizeof text, value, std::chars_format::fixed);
    return std::string(text, result.ptr);
}

}  // namespace

std::optional<GeoPoint> ParseLocator(std::string_view text, std::string& error) {
    if (text.size() != 4 && text.size() != 6 && text.size() != 8) {
        error = QuotedText(text) + " is not a locator: it has 4, 6 or 8 characters, e.g. FN31pr";
        return std::nullopt;
    }
    // Start at the south-west corner of the globe; add each pair's steps, then half the last one.
    GeoPoint point{-90, -180};
    const std::size_t pairs = text.size() / 2;
    for (std::size_t p = 0; p < pairs; ++p) {
        const int lonValue = PairValue(kPairs[p], text[2 * p]);
        const int latValue = PairValue(kPairs[p], text[2 * p + 1]);
        if (lonValue < 0 || latValue < 0) {
            error = QuotedText(text) + " is not a locator: " + kPairs[p].what;
            return std::nullopt;
        }
        point.longitude += lonValue * kPairs[p].lonStep;
        point.latitude += latValue * kPairs[p].latStep;
    }
    point.longitude += kPairs[pairs - 1].lonStep / 2;
    point.latitude += kPairs[pairs - 1].latStep / 2;
    return point;
}

std::string LocatorOf(double latitude, double longitude, int characters) {
    // Offsets from the south-west corner, kept inside the globe so that 90 N and 180 E find a square.
    double lon = std::clamp(longitude + 180, 0.0, 360.0);
    double lat = std::clamp(latitude + 90, 0.0, 180.0);
    std::string out;
    for (int p = 0; p < characters / 2; ++p) {
        const LocatorPair& pair = kPairs[p];
        const int lonValue = std::min(int(std::floor(lon / pair.lonStep)), pair.count - 1);
        const int latValue = std::min(int(std::floor(lat / pair.latStep)), pair.count - 1);
        lon -= lonValue * pair.lonStep;
        lat -= latValue * pair.latStep;
        const char first = (p == 2) ? 'a' : pair.first;
        out.push_back(char(first + lonValue));
        out.push_back(char(first + latValue));
    }
    return out;
}

std::optional<GeoPoint> ParsePosition(std::string_view text, std::string& error) {
    if (LooksLikeLocator(text)) return ParseLocator(text, error);
    const std::string pair = WithoutBlanksAroundCommas(Trimmed(text));
    const std::size_t comma = pair.find(',');
    const auto latitude = ParseNumber(std::string_view(pair).substr(0, comma));
    const auto longitude = ParseNumber(std::string_view(pair).substr(comma + 1));
    if (!latitude || !longitude) {
        error = QuotedText(text) + " is not a position: write LAT,LON in degrees, e.g. 52.52,13.38";
        return std::nullopt;
    }
    if (std::fabs(*latitude) > 90 || std::fabs(*longitude) > 180) {
        error = QuotedText(text) + " is not a position: latitude runs from -90 to 90, longitude from -180 to 180";
        return std::nullopt;
    }
    return GeoPoint{*latitude, *longitude};
}

std::optional<DxStation> ParseDxEntry(std::string_view text, std::string& error) {
    const std::string joined = WithoutBlanksAroundCommas(text);
    const std::vector<std::string_view> words = Words(joined);
    if (words.empty() || words.size() > 3) {
        error = "a DX station is [CALL] LOCATOR or LAT,LON [HEIGHT], e.g. N0CALL FN20qi 30";
        return std::nullopt;
    }
    DxStation station;
    std::size_t next = 0;
    std::string positionError;
    std::optional<GeoPoint> point = ParsePosition(words[0], positionError);
    if (!point) {
        if (words.size() == 1 || !IsCallSign(words[0])) {
            // One word names no station unless it is a position: say what is wrong with that position.
            error = words.size() == 1 ? positionError
                                      : QuotedText(words[0]) + " is not a call sign: letters, digits and '/', at most 12";
            return std::nullopt;
        }
        for (const char c : words[0]) station.callSign.push_back(Upper(c));
        point = ParsePosition(words[1], positionError);
        if (!point) {
            error = positionError;
            return std::nullopt;
        }
        next = 2;
    } else {
        next = 1;
    }
    station.point = *point;
    const std::string_view position = words[next - 1];
    station.position = LooksLikeLocator(position) ? CanonicalLocator(position) : std::string(position);
    if (next + 1 < words.size()) {
        error = "nothing may follow the height: [CALL] LOCATOR or LAT,LON [HEIGHT]";
        return std::nullopt;
    }
    if (next < words.size()) {
        const auto height = ParseNumber(words[next]);
        if (!height || *height < kMinStationHeightM || *height > kMaxStationHeightM) {
            error = QuotedText(words[next]) + " is not a height: metres from -500 to 9000";
            return std::nullopt;
        }
        station.height = *height;
    }
    return station;
}

std::string DxEntryText(const DxStation& station) {
    std::string text = station.callSign.empty() ? station.position : station.callSign + " " + station.position;
    if (station.height != 0) text += " " + ShortestNumber(station.height);
    return text;
}

}  // namespace nav
