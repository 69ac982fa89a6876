#include "ui/maprenderer.h"

#include <QPainter>
#include <cmath>
#include <cstdlib>

#include "navlib/constants.h"
#include "navlib/geometry.h"
#include "navlib/observer.h"

namespace skyrel {
namespace {

const QColor kRed(255, 0, 0);
const QColor kBlue(0, 0, 255);
const QColor kYellow(255, 255, 0);
const QColor kCyan(0, 255, 255);
const QColor kBlack(0, 0, 0);

constexpr int kMarkerRadius = 6;
constexpr int kObserverRadius = 2;
// Column jumps at which a path is broken rather than joined across the map.
constexpr int kHorizonBreak = 400;
constexpr int kMoonPathBreak = 10;
constexpr int kHorizonPoints = 200;  // plus the closing point equal to the first
constexpr int kMoonPathSteps = 280;
constexpr double kMoonPathStepDays = 0.1;
constexpr double kEclipticObliquityDeg = 23.44;

// The inverse earth projection of the night shading has constants of its own.
constexpr double kShadingDegreesPerColumn = 0.699;
constexpr double kShadingDegreesPerRow = 0.6923;

// Adds a point to a path, starting a new piece when `breakAt` says so.
void AddPoint(MapPath& path, QPoint point, bool newPiece) {
    if (newPiece || path.isEmpty()) path.append(QPolygon());
    path.last().append(point);
}

void DrawPath(QPainter& painter, const MapPath& path, const QColor& colour) {
    painter.setPen(QPen(colour, 1));
    for (const QPolygon& piece : path)
        for (qsizetype i = 1; i < piece.size(); ++i) painter.drawLine(piece[i - 1], piece[i]);
}

// The circle inscribed in the box from (x - r, y - r) to (x + r, y + r), outlined and filled.
void DrawMarker(QPainter& painter, QPoint centre, int radius, const QColor& outline, const QColor& fill) {
    painter.setPen(QPen(outline, 1));
    painter.setBrush(fill);
    painter.drawEllipse(QRect(centre.x() - radius, centre.y() - radius, 2 * radius, 2 * radius));
}

QPoint SkyPoint(double rightAscensionRad, double declinationRad) {
    return {MapColumn(Projection::Sky, nav::Degrees(rightAscensionRad)),
            MapRow(Projection::Sky, nav::Degrees(declinationRad))};
}

QPoint EarthPoint(double latitudeRad, double longitudeRad) {
    return {MapColumn(Projection::Earth, nav::Degrees(longitudeRad)),
            MapRow(Projection::Earth, nav::Degrees(latitudeRad))};
}

// Night pixels take the world map's colour darkened per channel: to three quarters where the Moon is above
// the place's horizon (with moonlight on), to one half elsewhere. Day pixels stay white.
void ShadeNight(QImage& drawing, const QImage& worldMap, const nav::Vec3& sun, const nav::Vec3& moon, bool moonlight) {
    std::array<double, kMapWidth> cosLongitude, sinLongitude;
    for (int c = 0; c < kMapWidth; ++c) {
        const double longitude = nav::Radians(c * kShadingDegreesPerColumn - 180);
        cosLongitude[c] = std::cos(longitude);
        sinLongitude[c] = std::sin(longitude);
    }
    for (int r = 0; r < kMapHeight; ++r) {
        const double latitude = nav::Radians((kEquatorRow - r) * kShadingDegreesPerRow);
        const double cosLatitude = std::cos(latitude), sinLatitude = std::sin(latitude);
        auto* out = reinterpret_cast<QRgb*>(drawing.scanLine(r));
        const auto* map = r < worldMap.height() ? reinterpret_cast<const QRgb*>(worldMap.constScanLine(r)) : nullptr;
        const int mapColumns = map ? std::min(worldMap.width(), kMapWidth) : 0;
        for (int c = 0; c < kMapWidth; ++c) {
            // AnglesToVector(latitude, longitude), with the column's cosine and sine computed once.
            const nav::Vec3 place{cosLatitude * cosLongitude[c], cosLatitude * sinLongitude[c], sinLatitude};
            if (nav::DotProduct(sun, place) >= 0) continue;
            const int eighths = moonlight && nav::DotProduct(moon, place) >= 0 ? 6 : 4;
            const QRgb pixel = c < mapColumns ? map[c] : qRgb(0, 0, 0);
            out[c] = qRgb(qRed(pixel) * eighths / 8, qGreen(pixel) * eighths / 8, qBlue(pixel) * eighths / 8);
        }
    }
}

}  // namespace

std::array<StarMarker, kStarSlots> StarMarkers() {
    std::array<StarMarker, kStarSlots> markers;
    QColor fill = kMapSilver;
    for (int i = 0; i < kStarSlots; ++i) {
        const StarSlot& star = kStarTable[i];
        switch (star.colour) {
            case 'B': fill = kCyan; break;
            case 'R': fill = kYellow; break;
            case 'W': fill = kMapSilver; break;
            default: break;  // an empty slot keeps the previous slot's fill
        }
        markers[i] = {QPoint(MapColumn(Projection::Sky, star.rightAscension), MapRow(Projection::Sky, star.declination)),
                      2 - star.size, fill};
    }
    return markers;
}

MapPath HorizonCircle(double subLatitude, double subLongitude, double distanceKm) {
    const double radius = nav::ArcCosine(nav::kEarthRadiusKm / distanceKm);
    const double cosRadius = std::cos(radius), sinRadius = std::sin(radius);
    const double cosLatitude = std::cos(subLatitude), sinLatitude = std::sin(subLatitude);
    const double cosLongitude = std::cos(subLongitude), sinLongitude = std::sin(subLongitude);
    MapPath path;
    int previousColumn = 0;
    for (int n = 0; n <= kHorizonPoints; ++n) {
        const double u = 2 * nav::kPi * n / kHorizonPoints;
        // A circle around latitude 0, longitude 0, tilted to the sub-point's latitude, then turned to its
        // longitude.
        const double x0 = cosRadius, y0 = std::sin(u) * sinRadius, z0 = std::cos(u) * sinRadius;
        const double x1 = x0 * cosLatitude - z0 * sinLatitude;
        const double z1 = x0 * sinLatitude + z0 * cosLatitude;
        const double x2 = x1 * cosLongitude - y0 * sinLongitude;
        const double y2 = x1 * sinLongitude + y0 * cosLongitude;
        const QPoint point = EarthPoint(nav::ArcSine(z1), nav::FullCircleAngle(y2, x2));
        AddPoint(path, point, n == 0 || std::abs(point.x() - previousColumn) >= kHorizonBreak);
        previousColumn = point.x();
    }
    return path;
}

MapPath Ecliptic() {
    MapPath path;
    for (int l = 0; l < 360; ++l) {
        const double declination = kEclipticObliquityDeg * std::sin(nav::Radians(l));
        AddPoint(path, QPoint(MapColumn(Projection::Sky, l), MapRow(Projection::Sky, declination)), l == 0);
    }
    return path;
}

MapPath MoonPath(nav::SkyState& sky, const nav::ObserverSite& site) {
    const int day = sky.clock.utcDay;
    const double fraction = sky.clock.utcFraction;
    MapPath path;
    int previousColumn = 0;
    for (int step = 0; step < kMoonPathSteps; ++step) {
        // The fraction runs on past 1; the engine takes day and fraction together.
        sky.clock.utcFraction += kMoonPathStepDays;
        nav::ComputePositions(sky, site);
        const QPoint point = SkyPoint(sky.moon.geoRightAscension, sky.moon.geoDeclination);
        AddPoint(path, point, step == 0 || std::abs(point.x() - previousColumn) >= kMoonPathBreak);
        previousColumn = point.x();
    }
    sky.clock.utcDay = day;
    sky.clock.utcFraction = fraction;
    nav::ComputePositions(sky, site);
    return path;
}

QImage DrawMap(nav::SkyState& sky, const Settings& settings, MapView view, const QImage& worldMap) {
    // The caller may be in the middle of a cycle with refraction already added: it gets its state back.
    const nav::SkyState kept = sky;
    const nav::ObserverSite& site = settings.site;

    QImage drawing(kMapWidth, kMapHeight, QImage::Format_RGB32);
    drawing.fill(Qt::white);
    nav::ComputePositions(sky, site);
    const nav::SphericalAngles sunPoint = nav::VectorToAngles(sky.sun.earthFixedDir);
    const nav::SphericalAngles moonPoint = nav::VectorToAngles(sky.moon.earthFixedDir);

    if (view == MapView::Celestial) {
        QPainter painter(&drawing);
        for (const StarMarker& star : StarMarkers()) DrawMarker(painter, star.centre, star.radius, kMapSilver, star.fill);
    }
    if (view == MapView::Earth && settings.sunShadow) {
        const QImage map = worldMap.format() == QImage::Format_RGB32 ? worldMap
                                                                    : worldMap.convertToFormat(QImage::Format_RGB32);
        ShadeNight(drawing, map, nav::AnglesToVector(sunPoint.latitude, sunPoint.longitude),
                   nav::AnglesToVector(moonPoint.latitude, moonPoint.longitude), settings.moonShadow);
    }

    QPainter painter(&drawing);
    if (view != MapView::Earth) {
        DrawPath(painter, Ecliptic(), kRed);
        DrawPath(painter, MoonPath(sky, site), kBlue);
    }
    const bool earth = view == MapView::Earth;
    if (settings.sunSubPoint)
        DrawMarker(painter,
                   earth ? EarthPoint(sunPoint.latitude, sunPoint.longitude)
                         : SkyPoint(sky.sun.geoRightAscension, sky.sun.geoDeclination),
                   kMarkerRadius, kRed, kYellow);
    if (settings.moonSubPoint)
        DrawMarker(painter,
                   earth ? EarthPoint(moonPoint.latitude, moonPoint.longitude)
                         : SkyPoint(sky.moon.geoRightAscension, sky.moon.geoDeclination),
                   kMarkerRadius, kBlue, kMapSilver);
    if (earth) {
        if (settings.sunHorizon)
            DrawPath(painter, HorizonCircle(sunPoint.latitude, sunPoint.longitude, sky.sun.distance), kBlack);
        if (settings.moonHorizon)
            DrawPath(painter, HorizonCircle(moonPoint.latitude, moonPoint.longitude, sky.moon.distance), kMapSilver);
        DrawMarker(painter,
                   QPoint(MapColumn(Projection::Earth, site.longitude), MapRow(Projection::Earth, site.latitude)),
                   kObserverRadius, kRed, kYellow);
    }
    painter.end();

    sky = kept;
    return drawing;
}

}  // namespace skyrel
