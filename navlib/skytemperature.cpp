#include "navlib/skytemperature.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace nav {
namespace {

// The survey's grid is a whole degree, so these conversions use the full-precision pi rather than the
// engine's kPi: the pictures made from the survey keep their pixels.
constexpr double kDegree = 3.14159265358979323846 / 180;

// North galactic pole and the galactic longitude of the north celestial pole (J2000), degrees.
constexpr double kPoleRightAscension = 192.85948;
constexpr double kPoleDeclination = 27.12825;
constexpr double kCelestialPoleLongitude = 122.93192;
// J2000 obliquity of the ecliptic (degrees).
constexpr double kObliquityJ2000Deg = 23.4392911;
// The band around the ecliptic the Moon stays within, as seen from any station (degrees).
constexpr double kMoonEclipticBandDeg = 6;

constexpr double kSurveyMHz = 408;
constexpr double kSynchrotronIndex = -2.6;

constexpr int kColumns = 360;
constexpr int kRows = 180;
constexpr int kLowestLatitude = -90;
constexpr int kHighestLatitude = 89;
constexpr double kKelvinPerUnit = 0.1;

int SampleIndex(int l, int b) { return l + kColumns * (b - kLowestLatitude); }

}  // namespace

GalacticAngles EquatorialToGalactic(double rightAscension, double declination) {
    const double delta = declination * kDegree;
    const double poleDelta = kPoleDeclination * kDegree;
    const double hourDifference = (rightAscension - kPoleRightAscension) * kDegree;
    const double sinLatitude = std::sin(delta) * std::sin(poleDelta) +
                               std::cos(delta) * std::cos(poleDelta) * std::cos(hourDifference);
    const double y = std::cos(delta) * std::sin(hourDifference);
    const double x =
        std::sin(delta) * std::cos(poleDelta) - std::cos(delta) * std::sin(poleDelta) * std::cos(hourDifference);
    double longitude = kCelestialPoleLongitude - std::atan2(y, x) / kDegree;
    longitude = std::fmod(longitude, 360.0);
    if (longitude < 0) longitude += 360;
    return {longitude, std::asin(std::clamp(sinLatitude, -1.0, 1.0)) / kDegree};
}

double EclipticLatitudeOfGalactic(GalacticAngles at) {
    // Galactic to equatorial is the same spherical triangle read from the other pole.
    const double b = at.latitude * kDegree;
    const double poleDelta = kPoleDeclination * kDegree;
    const double longitudeDifference = (kCelestialPoleLongitude - at.longitude) * kDegree;
    const double sinDeclination =
        std::sin(b) * std::sin(poleDelta) + std::cos(b) * std::cos(poleDelta) * std::cos(longitudeDifference);
    const double declination = std::asin(std::clamp(sinDeclination, -1.0, 1.0));
    const double y = std::cos(b) * std::sin(longitudeDifference);
    const double x = std::sin(b) * std::cos(poleDelta) - std::cos(b) * std::sin(poleDelta) * std::cos(longitudeDifference);
    const double rightAscension = kPoleRightAscension * kDegree + std::atan2(y, x);
    const double epsilon = kObliquityJ2000Deg * kDegree;
    const double sinBeta = std::sin(declination) * std::cos(epsilon) -
                           std::cos(declination) * std::sin(epsilon) * std::sin(rightAscension);
    return std::asin(std::clamp(sinBeta, -1.0, 1.0)) / kDegree;
}

double SkyTemperatureAt(double kelvinAt408, double frequencyMHz) {
    return (kelvinAt408 - kCosmicBackgroundKelvin) * std::pow(frequencyMHz / kSurveyMHz, kSynchrotronIndex) +
           kCosmicBackgroundKelvin;
}

std::optional<SkySurvey> SkySurvey::FromBytes(std::string_view bytes) {
    if (bytes.size() != 2u * kColumns * kRows) return std::nullopt;
    std::vector<short> samples(kColumns * kRows);
    for (std::size_t i = 0; i < samples.size(); ++i) {
        const auto low = static_cast<unsigned char>(bytes[2 * i]);
        const auto high = static_cast<unsigned char>(bytes[2 * i + 1]);
        samples[i] = static_cast<short>(static_cast<unsigned short>(low | (high << 8)));
    }
    SkySurvey survey(std::move(samples));
    if (survey.minimum() <= 0 || survey.maximum() <= survey.minimum()) return std::nullopt;
    return survey;
}

SkySurvey::SkySurvey(std::vector<short> samples) : samples_(std::move(samples)) {
    const auto [lowest, highest] = std::minmax_element(samples_.begin(), samples_.end());
    minimum_ = *lowest * kKelvinPerUnit;
    maximum_ = *highest * kKelvinPerUnit;
    int coldest = std::numeric_limits<int>::max();
    for (int b = kLowestLatitude; b <= kHighestLatitude; ++b)
        for (int l = 0; l < kColumns; ++l)
            if (std::fabs(EclipticLatitudeOfGalactic({double(l), double(b)})) <= kMoonEclipticBandDeg)
                coldest = std::min(coldest, int(samples_[SampleIndex(l, b)]));
    coldestNearEcliptic_ = coldest * kKelvinPerUnit;
}

double SkySurvey::temperature(GalacticAngles at) const {
    double l = std::fmod(at.longitude, double(kColumns));
    if (l < 0) l += kColumns;
    const double b = std::clamp(at.latitude, double(kLowestLatitude), double(kHighestLatitude));
    const int west = std::min(int(l), kColumns - 1);
    const int east = (west + 1) % kColumns;
    const int south = std::min(int(std::floor(b)), kHighestLatitude - 1);
    const double x = l - west, y = b - south;
    const auto sample = [this](int column, int row) { return double(samples_[SampleIndex(column, row)]); };
    const double lower = sample(west, south) * (1 - x) + sample(east, south) * x;
    const double upper = sample(west, south + 1) * (1 - x) + sample(east, south + 1) * x;
    return (lower * (1 - y) + upper * y) * kKelvinPerUnit;
}

double ColdSkyTemperature(const SkySurvey& survey, double frequencyMHz) {
    return SkyTemperatureAt(survey.coldestNearEcliptic(), frequencyMHz);
}

}  // namespace nav
