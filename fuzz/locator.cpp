// Fuzz target: the planner's position parsers. The input is read as a Maidenhead locator, as a position
// ("LAT,LON" or a locator) and as a DX entry line. Invariants: a text read as a point gives latitude
// -90..90 and longitude -180..180; a locator's square, written again with as many characters, reads
// back as the same text in its usual case; a DX entry written again reads back as the same station; a
// refusal is exactly one line.
#include <cctype>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "fuzz/fuzzsupport.h"
#include "navlib/locator.h"

namespace {

using skyrel::fuzz::Check;

void CheckRefusal(const std::string& error) {
    Check(!error.empty() && error.find('\n') == std::string::npos, "a refusal is one line");
}

void CheckPoint(const nav::GeoPoint& p) {
    Check(std::fabs(p.latitude) <= 90 && std::fabs(p.longitude) <= 180, "a point lies on the Earth");
}

// The locator's usual case: field letters upper case, subsquare letters lower case.
std::string UsualCase(std::string_view locator) {
    std::string text(locator);
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto c = static_cast<unsigned char>(text[i]);
        text[i] = static_cast<char>(i < 2 ? std::toupper(c) : std::tolower(c));
    }
    return text;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    std::string error;
    if (const auto point = nav::ParseLocator(text, error)) {
        CheckPoint(*point);
        const std::string again = nav::LocatorOf(point->latitude, point->longitude, static_cast<int>(text.size()));
        Check(again == UsualCase(text), "a locator's centre lies in its own square");
    } else {
        CheckRefusal(error);
    }
    error.clear();
    if (const auto point = nav::ParsePosition(text, error)) CheckPoint(*point);
    else CheckRefusal(error);
    error.clear();
    if (const auto station = nav::ParseDxEntry(text, error)) {
        CheckPoint(station->point);
        Check(station->height >= nav::kMinStationHeightM && station->height <= nav::kMaxStationHeightM,
              "a station's height lies within its limits");
        std::string againError;
        const auto again = nav::ParseDxEntry(nav::DxEntryText(*station), againError);
        Check(again.has_value(), "a DX entry written again reads back");
        Check(again->callSign == station->callSign && again->height == station->height &&
                  again->point.latitude == station->point.latitude &&
                  again->point.longitude == station->point.longitude,
              "a DX entry written again reads back as the same station");
    } else {
        CheckRefusal(error);
    }
    return 0;
}
