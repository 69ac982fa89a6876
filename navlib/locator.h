// Where a station is: Maidenhead locators, and the DX entry of the planner (a call sign, a locator or a
// latitude/longitude pair, and a height).
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace nav {

// A point on the Earth, degrees: latitude north positive, longitude east positive.
struct GeoPoint {
    double latitude = 0;
    double longitude = 0;
};

// ParseLocator - the centre of a Maidenhead square.
//   in:  text  4, 6 or 8 characters: field A-R twice, square 0-9 twice, subsquare A-X twice, extended
//              square 0-9 twice; letters in either case, nothing else (no blanks)
//   out: the centre of the smallest square given (degrees, to the last bits of a double); or nothing, with
//        `error` set to one line naming the text and what is wrong in it
std::optional<GeoPoint> ParseLocator(std::string_view text, std::string& error);

// LocatorOf - the square that holds a point, as `characters` (4, 6 or 8) characters: field letters upper
// case, subsquare letters lower case ("FN31pr").
//   in:  latitude -90 to 90, longitude -180 to 180 (degrees); the north pole and longitude 180 fall into
//        the last square of their field, as they have no square of their own
std::string LocatorOf(double latitude, double longitude, int characters = 6);

// A DX station as the planner uses it.
struct DxStation {
    std::string callSign;   // upper case; may be empty; only a label
    std::string position;   // the position as given: a locator ("FN31pr") or "LAT,LON"
    GeoPoint point;         // degrees
    double height = 0;      // metres above sea level
};

// Height limits of a DX station (metres): the lowest dry land to well above any mountain.
inline constexpr double kMinStationHeightM = -500;
inline constexpr double kMaxStationHeightM = 9000;

// ParsePosition - a locator, or a latitude and longitude in degrees written "LAT,LON" ('.' as decimal
// point, whatever the locale; blanks around the comma are allowed).
//   out: the point, or nothing with `error` set to one line. Latitude -90..90, longitude -180..180.
std::optional<GeoPoint> ParsePosition(std::string_view text, std::string& error);

// ParseDxEntry - one line as typed in the planner's DX box: "[CALL] POSITION [HEIGHT]", separated by
// blanks. POSITION is as ParsePosition reads it; the first word is the position when it reads as one,
// otherwise it is the call sign (letters, digits and '/', at most 12) and the second word the position.
// HEIGHT is metres (kMinStationHeightM..kMaxStationHeightM), 0 when left out.
//   out: the station, or nothing with `error` set to one line saying what is wrong
std::optional<DxStation> ParseDxEntry(std::string_view text, std::string& error);

// DxEntryText - the line ParseDxEntry reads back as the same station: "CALL POSITION HEIGHT", with the
// call sign and a zero height left out, the locator in its usual case ("FN31pr").
std::string DxEntryText(const DxStation& station);

}  // namespace nav
