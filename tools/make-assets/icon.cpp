#include "icon.h"

#include <cmath>

namespace skyrel::assets {
namespace {

constexpr int kSize = 32;

constexpr QRgb kBlack = qRgb(0, 0, 0);
constexpr QRgb kRed = qRgb(255, 0, 0);
constexpr QRgb kYellow = qRgb(255, 255, 0);
constexpr QRgb kBlue = qRgb(0, 0, 255);
constexpr QRgb kGrey = qRgb(128, 128, 128);
constexpr QRgb kWhite = qRgb(255, 255, 255);

double DistanceTo(int x, int y, double centreX, double centreY) {
    return std::hypot(x + 0.5 - centreX, y + 0.5 - centreY);
}

}  // namespace

QList<QRgb> SixteenColourPalette() {
    return {kBlack,           qRgb(128, 0, 0),   qRgb(0, 128, 0),   qRgb(128, 128, 0),
            qRgb(0, 0, 128),  qRgb(128, 0, 128), qRgb(0, 128, 128), qRgb(192, 192, 192),
            kGrey,            kRed,              qRgb(0, 255, 0),   kYellow,
            kBlue,            qRgb(255, 0, 255), qRgb(0, 255, 255), kWhite};
}

QImage MakeIcon() {
    // Sun and Moon centres and radii, in pixels, clear of the diagonal.
    constexpr double kSunX = 10, kSunY = 10, kSunRadius = 6.5;
    constexpr double kMoonX = 22, kMoonY = 22, kMoonRadius = 6.5;
    // The dark disc that cuts the crescent out of the Moon.
    constexpr double kShadowX = 24.5, kShadowY = 19.5, kShadowRadius = 5.8;
    constexpr struct {
        int x, y;
    } kStars[] = {{12, 27}, {27, 9}, {29, 29}, {17, 30}, {30, 16}, {20, 14}, {8, 29}};

    QImage icon(kSize, kSize, QImage::Format_RGB32);
    for (int y = 0; y < kSize; ++y) {
        for (int x = 0; x < kSize; ++x) {
            // The line runs through (0, 31) and (31, 0): the pixels with x + y = 31.
            const int side = x + y - (kSize - 1);
            QRgb colour = side < 0 ? kBlue : side > 0 ? kBlack : kWhite;
            if (side < 0) {
                const double sun = DistanceTo(x, y, kSunX, kSunY);
                if (sun <= kSunRadius) colour = sun > kSunRadius - 1.2 ? kRed : kYellow;
            } else if (side > 0) {
                const bool moonDisc = DistanceTo(x, y, kMoonX, kMoonY) <= kMoonRadius;
                const bool shadow = DistanceTo(x, y, kShadowX, kShadowY) <= kShadowRadius;
                if (moonDisc && !shadow) colour = kGrey;
            }
            icon.setPixel(x, y, colour);
        }
    }
    for (auto star : kStars)
        if (star.x + star.y > kSize && icon.pixel(star.x, star.y) == kBlack) icon.setPixel(star.x, star.y, kWhite);
    return icon.convertToFormat(QImage::Format_Indexed8, SixteenColourPalette(), Qt::ThresholdDither);
}

}  // namespace skyrel::assets
