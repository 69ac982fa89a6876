// The program icon: day above a white diagonal, night below it.
#pragma once

#include <QImage>

namespace skyrel::assets {

// The sixteen colours of the classic 4-bit palette; the icon uses no others.
QList<QRgb> SixteenColourPalette();

// 32 x 32, indexed with the sixteen-colour palette: a white line from the bottom-left to the top-right
// corner; above it a blue day sky with a yellow, red-rimmed Sun; below it a black night sky with white
// stars and a grey crescent Moon.
QImage MakeIcon();

}  // namespace skyrel::assets
