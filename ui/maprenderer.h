// The map renderer: draws the map window's overlay for the chosen view from the engine's state, without
// any window, so that it can be drawn and checked off-screen.
#pragma once

#include <QColor>
#include <QImage>
#include <QList>
#include <QPolygon>
#include <array>

#include "app/settings/settings.h"
#include "navlib/skystate.h"
#include "ui/mapprojection.h"
#include "ui/startable.h"

namespace skyrel {

enum class MapView { Earth, Celestial, SkyNoise };

inline const QColor kMapSilver(192, 192, 192);

// A path drawn as pieces: each piece starts with a move to its first point and is joined by lines from
// there on.
using MapPath = QList<QPolygon>;

// The star markers in drawing order: position in the sky projection, radius 2 - size, fill colour. An
// empty slot takes the fill of the slot drawn before it.
struct StarMarker {
    QPoint centre;
    int radius;
    QColor fill;
};
std::array<StarMarker, kStarSlots> StarMarkers();

// The line on the Earth where a body at distanceKm stands on the geometric horizon, around its sub-point
// (radians), as 201 projected points; a new piece begins where the column jumps by 400 or more, that is
// where the circle crosses the +-180 degree meridian.
MapPath HorizonCircle(double subLatitude, double subLongitude, double distanceKm);

// The approximate ecliptic, declination 23.44 sin(l) at right ascension l, in the sky projection.
MapPath Ecliptic();

// The Moon's geocentric path over the next 28 days, one point every 0.1 day starting 0.1 day from now; a
// new piece begins where the column jumps by 10 or more (the path crosses 0h). The clock is stepped while
// it works and put back, and the positions are computed again for the present, so the caller sees the
// present positions afterwards.
MapPath MoonPath(nav::SkyState& sky, const nav::ObserverSite& site);

// The overlay drawing (516 x 260, RGB32) for `view`: white where the base picture is to show through. It
// computes the positions for the clock in `sky` and gives `sky` back exactly as it found it. `worldMap` is
// the Earth view's picture (516 x 260), whose pixels the night shading darkens.
QImage DrawMap(nav::SkyState& sky, const Settings& settings, MapView view, const QImage& worldMap);

}  // namespace skyrel
