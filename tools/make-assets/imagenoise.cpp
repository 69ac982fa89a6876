#include "imagenoise.h"

#include <cmath>
#include <cstdint>

#include "colour.h"

namespace skyrel::assets {

double PixelNoise(int x, int y, unsigned seed) {
    std::uint32_t h = static_cast<std::uint32_t>(x) * 374761393u + static_cast<std::uint32_t>(y) * 668265263u +
                      seed * 2246822519u;
    h = (h ^ (h >> 13)) * 1274126177u;
    h ^= h >> 16;
    return (h & 0xFFFFFF) / double(1 << 24);
}

double ValueNoise(double x, double y, unsigned seed) {
    const double fx = std::floor(x), fy = std::floor(y);
    const int ix = int(fx), iy = int(fy);
    const double tx = SmoothStep(0, 1, x - fx), ty = SmoothStep(0, 1, y - fy);
    const double top = PixelNoise(ix, iy, seed) + (PixelNoise(ix + 1, iy, seed) - PixelNoise(ix, iy, seed)) * tx;
    const double bottom =
        PixelNoise(ix, iy + 1, seed) + (PixelNoise(ix + 1, iy + 1, seed) - PixelNoise(ix, iy + 1, seed)) * tx;
    return top + (bottom - top) * ty;
}

}  // namespace skyrel::assets
