// The world map picture: land and sea in the earth projection of the map, coloured by a simple climate
// model (no land-cover data: latitude belts and distance from the sea decide between green and tan).
#pragma once

#include <QImage>

#include "topojson.h"

namespace skyrel::assets {

// 516 x 260, RGB888.
QImage MakeWorldMap(const QList<Ring>& landRings);

}  // namespace skyrel::assets
