// The sky's background temperature behind the Moon: galactic coordinates of a direction and the 408 MHz
// all-sky survey (Haslam et al. 1982) on its 1 degree grid, scaled to other frequencies.
#pragma once

#include <optional>
#include <string_view>
#include <vector>

namespace nav {

struct GalacticAngles {
    double longitude;  // degrees [0, 360)
    double latitude;   // degrees [-90, 90]
};

// EquatorialToGalactic - galactic longitude and latitude of a J2000 direction.
//   in:  rightAscension, declination (degrees, J2000)
//   out: degrees; from the north galactic pole at RA 192.85948, Dec +27.12825 and the north celestial
//        pole at galactic longitude 122.93192 (exact to rounding for those constants)
GalacticAngles EquatorialToGalactic(double rightAscension, double declination);

// EclipticLatitudeOfGalactic - the J2000 ecliptic latitude (degrees) of a galactic direction (degrees),
// with the J2000 obliquity 23.4392911 deg.
double EclipticLatitudeOfGalactic(GalacticAngles at);

// The cosmic microwave background (K): part of the survey's zero level, and the same at every frequency.
inline constexpr double kCosmicBackgroundKelvin = 2.725;

// SkyTemperatureAt - a 408 MHz temperature at another frequency: the galactic part scaled by the
// synchrotron spectrum, the cosmic background kept, (T - 2.725) (f / 408 MHz)^-2.6 + 2.725.
//   in:  kelvinAt408 (K), frequencyMHz (MHz)   out: K
double SkyTemperatureAt(double kelvinAt408, double frequencyMHz);

// The survey: 360 x 180 samples in 0.1 K, galactic longitude 0..359 fastest, latitude -90..89.
class SkySurvey {
public:
    // From the bytes of tsky408.dat (little-endian signed 16-bit samples). Empty when the data is not
    // exactly one grid long, holds a temperature of zero or below, or one value for the whole sky.
    static std::optional<SkySurvey> FromBytes(std::string_view bytes);

    // Brightness temperature at 408 MHz (K) at (l, b), bilinear between the four grid points around it
    // (the samples stand at whole degrees): l wraps around 360, b above 89 uses the row at 89.
    double temperature(GalacticAngles at) const;
    // The smallest and largest sample of the whole sky (K).
    double minimum() const { return minimum_; }
    double maximum() const { return maximum_; }
    // The coldest sample (K, 408 MHz) among the grid points within +-6 deg of the ecliptic: the Moon,
    // never more than about 5.3 deg from the ecliptic, can see no colder sky.
    double coldestNearEcliptic() const { return coldestNearEcliptic_; }

private:
    explicit SkySurvey(std::vector<short> samples);
    std::vector<short> samples_;
    double minimum_ = 0, maximum_ = 0, coldestNearEcliptic_ = 0;
};

// ColdSkyTemperature - Tmin (K): the survey's coldest sky near the ecliptic scaled to a frequency (MHz)
// with SkyTemperatureAt, the best sky the Moon can stand in; the planner's and the calibration's.
double ColdSkyTemperature(const SkySurvey& survey, double frequencyMHz);

}  // namespace nav
