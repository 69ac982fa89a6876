// Deterministic noise for texture in the generated pictures: the same input always gives the same picture.
#pragma once

namespace skyrel::assets {

// A pseudo-random value in [0, 1) for an integer pixel position.
double PixelNoise(int x, int y, unsigned seed = 0);

// Smoothly varying noise in [0, 1): pixel noise on the integer lattice, interpolated between lattice points.
double ValueNoise(double x, double y, unsigned seed = 0);

}  // namespace skyrel::assets
