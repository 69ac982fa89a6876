// The map's two projections from angles in degrees to pixel positions of the 516 x 260 drawing, shared by
// the renderer and by the generator of the map pictures, so that the night shading lines up with the coasts
// and the star chart with its grid.
#pragma once

namespace skyrel {

inline constexpr int kMapWidth = 516;
inline constexpr int kMapHeight = 260;

// Earth: longitude -180..+180 over the width, latitude +90..-90 over the height, equator on row 130.
inline constexpr double kEarthColumnsPerDegree = 1.4306;
inline constexpr double kEarthRowsPerDegree = 1.4444;
// Sky: right ascension 360..0 degrees from the left edge to column 515, declination +45..-45.
inline constexpr double kSkyColumnsPerDegree = 1.4306;
inline constexpr double kSkyRowsPerDegree = 2.8889;
inline constexpr double kEquatorRow = 130;
inline constexpr double kSkyZeroHourColumn = 515;

enum class Projection { Earth, Sky };

// Unrounded positions; a pixel (c, r) covers [c, c + 1) x [r, r + 1).
inline double EarthX(double eastLongitude) {
    const double longitude = eastLongitude > 180 ? eastLongitude - 360 : eastLongitude;
    return (longitude + 180) * kEarthColumnsPerDegree;
}
inline double EarthY(double latitude) { return kEquatorRow - latitude * kEarthRowsPerDegree; }
inline double SkyX(double rightAscension) { return kSkyZeroHourColumn - rightAscension * kSkyColumnsPerDegree; }
inline double SkyY(double declination) { return kEquatorRow - declination * kSkyRowsPerDegree; }

// And back: the angles at the centre of pixel column c or row r, for painting the pictures pixel by pixel.
inline double EarthLongitudeOfColumn(int c) { return (c + 0.5) / kEarthColumnsPerDegree - 180; }
inline double EarthLatitudeOfRow(int r) { return (kEquatorRow - (r + 0.5)) / kEarthRowsPerDegree; }
inline double SkyRightAscensionOfColumn(int c) { return (kSkyZeroHourColumn - (c + 0.5)) / kSkyColumnsPerDegree; }
inline double SkyDeclinationOfRow(int r) { return (kEquatorRow - (r + 0.5)) / kSkyRowsPerDegree; }

// The pixel column and row of an angle; static_cast truncates toward zero, as the projection asks.
inline int MapColumn(Projection projection, double degrees) {
    return static_cast<int>(projection == Projection::Earth ? EarthX(degrees) : SkyX(degrees));
}
inline int MapRow(Projection projection, double degrees) {
    return static_cast<int>(projection == Projection::Earth ? EarthY(degrees) : SkyY(degrees));
}

}  // namespace skyrel
