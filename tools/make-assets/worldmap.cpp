#include "worldmap.h"

#include <QPainter>
#include <QPainterPath>
#include <algorithm>
#include <cmath>
#include <vector>

#include "colour.h"
#include "imagenoise.h"
#include "ui/mapprojection.h"

namespace skyrel::assets {
namespace {

// Pixel position of an unwrapped longitude: values beyond +-180 land outside the picture and are drawn
// again by the copies shifted by a full turn.
QPointF Pixel(double longitude, double latitude) {
    return QPointF((longitude + 180) * kEarthColumnsPerDegree, EarthY(latitude));
}

// Rings that touch the date line jump between -180 and +180; walking them with continuous longitudes
// keeps each island in one piece. A ring whose longitudes run once around the globe (Antarctica's coast)
// encloses a pole and is closed along the map's top or bottom edge.
QPolygonF ProjectRing(const Ring& ring) {
    QPolygonF projected;
    if (ring.isEmpty()) return projected;
    double longitude = ring.first().x();
    double latitudeSum = 0;
    projected.append(Pixel(longitude, ring.first().y()));
    for (qsizetype i = 1; i < ring.size(); ++i) {
        double step = ring[i].x() - ring[i - 1].x();
        if (step > 180) step -= 360;
        if (step < -180) step += 360;
        longitude += step;
        latitudeSum += ring[i].y();
        projected.append(Pixel(longitude, ring[i].y()));
    }
    const double turn = longitude - ring.first().x();
    if (std::fabs(turn) > 180) {
        const double pole = latitudeSum < 0 ? -90 : 90;
        projected.append(Pixel(longitude, pole));
        projected.append(Pixel(ring.first().x(), pole));
    }
    return projected;
}

// Fraction of each pixel covered by land, 0..255, edges antialiased.
std::vector<int> LandCoverage(const QList<Ring>& landRings) {
    QPainterPath land;
    land.setFillRule(Qt::OddEvenFill);
    const double fullTurn = 360 * kEarthColumnsPerDegree;
    for (const Ring& ring : landRings) {
        const QPolygonF projected = ProjectRing(ring);
        for (double shift : {-fullTurn, 0.0, fullTurn}) land.addPolygon(projected.translated(shift, 0));
    }
    QImage mask(kMapWidth, kMapHeight, QImage::Format_RGB32);
    mask.fill(Qt::black);
    {
        QPainter painter(&mask);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.fillPath(land, Qt::white);
    }
    std::vector<int> coverage(kMapWidth * kMapHeight);
    for (int r = 0; r < kMapHeight; ++r)
        for (int c = 0; c < kMapWidth; ++c) coverage[r * kMapWidth + c] = qRed(mask.pixel(c, r));
    return coverage;
}

// Distance in pixels from each pixel to the nearest pixel of the other kind (land to sea, sea to land),
// by the two-pass 3-4 chamfer transform.
std::vector<double> CoastDistance(const std::vector<bool>& isLand) {
    constexpr int kFar = 1 << 28;
    std::vector<int> d(isLand.size(), kFar);
    auto at = [](int c, int r) { return r * kMapWidth + c; };
    for (int r = 0; r < kMapHeight; ++r)
        for (int c = 0; c < kMapWidth; ++c) {
            const bool land = isLand[at(c, r)];
            for (auto [dc, dr] : {std::pair{1, 0}, {-1, 0}, {0, 1}, {0, -1}}) {
                const int nc = c + dc, nr = r + dr;
                if (nc >= 0 && nc < kMapWidth && nr >= 0 && nr < kMapHeight && isLand[at(nc, nr)] != land)
                    d[at(c, r)] = 3;
            }
        }
    auto relax = [&](int c, int r, int nc, int nr, int cost) {
        if (nc < 0 || nc >= kMapWidth || nr < 0 || nr >= kMapHeight) return;
        if (isLand[at(nc, nr)] != isLand[at(c, r)]) return;
        d[at(c, r)] = std::min(d[at(c, r)], d[at(nc, nr)] + cost);
    };
    for (int r = 0; r < kMapHeight; ++r)
        for (int c = 0; c < kMapWidth; ++c) {
            relax(c, r, c - 1, r, 3);
            relax(c, r, c, r - 1, 3);
            relax(c, r, c - 1, r - 1, 4);
            relax(c, r, c + 1, r - 1, 4);
        }
    for (int r = kMapHeight - 1; r >= 0; --r)
        for (int c = kMapWidth - 1; c >= 0; --c) {
            relax(c, r, c + 1, r, 3);
            relax(c, r, c, r + 1, 3);
            relax(c, r, c + 1, r + 1, 4);
            relax(c, r, c - 1, r + 1, 4);
        }
    std::vector<double> distance(d.size());
    for (size_t i = 0; i < d.size(); ++i) distance[i] = d[i] >= kFar ? 1000.0 : d[i] / 3.0;
    return distance;
}

constexpr Rgb kDeepSea{18, 52, 124};
constexpr Rgb kShallowSea{40, 92, 168};
constexpr Rgb kIce{240, 243, 247};
constexpr Rgb kRainForest{34, 96, 40};
constexpr Rgb kGreen{78, 138, 56};
constexpr Rgb kBorealForest{44, 100, 56};
constexpr Rgb kSteppe{150, 150, 84};
constexpr Rgb kTan{210, 180, 126};
constexpr Rgb kTundra{146, 140, 104};

// The world's dry lands as soft ellipses: centre and half-axes in degrees, and how dry the centre is.
struct DryRegion {
    double longitude, latitude, halfWidth, halfHeight, dryness;
};
constexpr DryRegion kDryRegions[] = {
    {-4, 23, 19, 7.5, 1.0},     // western Sahara
    {22, 24, 15, 7, 1.0},       // eastern Sahara and Libyan desert
    {47, 22, 10, 7, 1.0},       // Arabian peninsula
    {60, 30, 10, 5, 0.8},       // Iranian plateau
    {70, 27, 4.5, 3, 0.75},     // Thar
    {62, 42, 10, 5, 0.75},      // Karakum and Kyzylkum
    {83, 39.5, 8, 3, 0.95},     // Taklamakan
    {104, 42, 12, 4.5, 0.85},   // Gobi
    {86, 33.5, 9, 3.5, 0.55},   // Tibetan plateau
    {21, -24, 7, 6, 0.8},       // Kalahari
    {15, -22, 3, 7, 0.9},       // Namib
    {46, 7, 6, 5, 0.55},        // Horn of Africa
    {131, -25, 15, 7.5, 1.0},   // Australian interior
    {121, -24, 6, 6, 0.85},     // Western Australia
    {-70, -23, 2.5, 8, 0.9},    // Atacama
    {-68, -45, 4, 6.5, 0.6},    // Patagonia
    {-65, -31, 4, 5, 0.5},      // Monte
    {-115, 36, 7, 7, 0.85},     // Great Basin, Mojave and Sonora
    {-104, 29, 5, 4, 0.75},     // Chihuahua
    {-103, 42, 5, 7, 0.4},      // high plains
    {-40, -8, 4, 4, 0.4},       // Caatinga
};

// Ice sheets (Antarctica, Greenland) and the ice-capped islands of the far north.
bool IsIceSheet(double longitude, double latitude, double inland) {
    if (latitude < -60) return true;
    const bool iceland = latitude < 67 && longitude > -32;
    const bool greenland = latitude > 59.5 && longitude > -73.5 && longitude < -11 && !iceland &&
                           !(latitude < 66 && longitude < -60);
    if (greenland) return inland > 1.5 || latitude > 76;
    return latitude > 79;
}

double Dryness(double longitude, double latitude, double c, double r) {
    double dryness = 0;
    for (const DryRegion& region : kDryRegions) {
        const double dx = (longitude - region.longitude) / region.halfWidth;
        const double dy = (latitude - region.latitude) / region.halfHeight;
        // Ragged edges rather than clean ellipses.
        const double ragged = 0.4 * (ValueNoise(c / 7.0, r / 7.0, 2) - 0.5) + 0.2 * (ValueNoise(c / 3.0, r / 3.0, 3) - 0.5);
        dryness = std::max(dryness, region.dryness * (1 - SmoothStep(0.3, 1.4, std::hypot(dx, dy) + ragged)));
    }
    return dryness;
}

Rgb LandColour(double longitude, double latitude, double inland, double c, double r) {
    if (IsIceSheet(longitude, latitude, inland)) return kIce;
    const double absLatitude = std::fabs(latitude);
    const double shade = 0.25 * (ValueNoise(c / 11.0, r / 11.0, 1) - 0.5);
    Rgb green = Mix(kRainForest, kGreen, SmoothStep(4, 26, absLatitude) + shade);
    green = Mix(green, kBorealForest, SmoothStep(44, 60, absLatitude) + shade);
    const double dryness = Dryness(longitude, latitude, c, r);
    const Rgb colour = dryness < 0.45 ? Mix(green, kSteppe, SmoothStep(0.05, 0.45, dryness))
                                      : Mix(kSteppe, kTan, SmoothStep(0.45, 0.85, dryness));
    return Mix(colour, kTundra, SmoothStep(62, 72, absLatitude + 8 * shade));
}

Rgb SeaColour(double latitude, double offshore) {
    const Rgb sea = Mix(kDeepSea, kShallowSea, 0.7 * std::exp(-offshore / 2.5));
    return Mix(sea, kIce, SmoothStep(79, 83, latitude));
}

}  // namespace

QImage MakeWorldMap(const QList<Ring>& landRings) {
    const std::vector<int> coverage = LandCoverage(landRings);
    std::vector<bool> isLand(coverage.size());
    for (size_t i = 0; i < coverage.size(); ++i) isLand[i] = coverage[i] >= 128;
    const std::vector<double> coastDistance = CoastDistance(isLand);

    QImage map(kMapWidth, kMapHeight, QImage::Format_RGB888);
    for (int r = 0; r < kMapHeight; ++r) {
        const double latitude = EarthLatitudeOfRow(r);
        for (int c = 0; c < kMapWidth; ++c) {
            const double longitude = EarthLongitudeOfColumn(c);
            const int i = r * kMapWidth + c;
            const double distance = coastDistance[i];
            const Rgb land = LandColour(longitude, latitude, isLand[i] ? distance : 0, c, r);
            const Rgb sea = SeaColour(latitude, isLand[i] ? 0 : distance);
            Rgb colour = Mix(sea, land, coverage[i] / 255.0);
            const double grain = 5 * (PixelNoise(c, r) - 0.5);
            map.setPixel(c, r, qRgb(std::clamp(int(colour.r + grain), 0, 255), std::clamp(int(colour.g + grain), 0, 255),
                                    std::clamp(int(colour.b + grain), 0, 255)));
        }
    }
    return map;
}

}  // namespace skyrel::assets
