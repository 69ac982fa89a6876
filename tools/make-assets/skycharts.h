// The two sky pictures in the map's sky projection: the black grid chart and the false-colour chart of
// the sky's background temperature from the 408 MHz all-sky survey.
#pragma once

#include <QByteArray>
#include <QImage>
#include <optional>

namespace skyrel::assets {

inline constexpr int kSkyChartWidth = 516;
inline constexpr int kSkyChartHeight = 264;

struct GalacticAngles {
    double longitude;  // degrees [0, 360)
    double latitude;   // degrees [-90, 90]
};

// J2000 equatorial right ascension and declination (degrees) to galactic longitude and latitude.
GalacticAngles EquatorialToGalactic(double rightAscension, double declination);

// The survey: 360 x 180 little-endian 16-bit samples in units of 0.1 K, longitude fastest.
class SkySurvey {
public:
    // Empty when the data is not exactly one survey grid long, or holds a temperature of zero or below, or
    // one value for the whole sky (the colour scale is logarithmic).
    static std::optional<SkySurvey> FromBytes(const QByteArray& data);

    // Brightness temperature in kelvin at the grid point nearest to (l, b).
    double temperature(GalacticAngles at) const;
    // The smallest and largest sample of the whole sky, in kelvin.
    double minimum() const { return minimum_; }
    double maximum() const { return maximum_; }

private:
    explicit SkySurvey(const QByteArray& data);
    QByteArray data_;
    double minimum_ = 0, maximum_ = 0;
};

// 516 x 264: black, dashed blue declination and right-ascension lines, white labels.
QImage MakeCelestialGrid();

// 516 x 264: survey temperature on a logarithmic colour scale, dark grid lines and dark labels.
QImage MakeSkyNoiseChart(const SkySurvey& survey);

}  // namespace skyrel::assets
