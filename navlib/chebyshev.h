// Chebyshev series of a smooth vector function of time over one interval, fitted from the function's
// values at the Chebyshev nodes: the form in which numerical ephemerides store the bodies. Interpolating
// at the nodes comes within a factor of a few of the best polynomial of its degree and never swings at
// the interval's ends the way equally spaced nodes do.
#pragma once

#include <array>
#include <cmath>
#include <cstddef>

namespace nav {

// The coefficients of Terms Chebyshev polynomials per component, over one interval.
template <std::size_t Components, std::size_t Terms>
struct ChebyshevSegment {
    using Values = std::array<double, Components>;
    std::array<std::array<double, Terms>, Components> coefficients{};
};

// FitChebyshev - the series through f at the Terms Chebyshev nodes of [start, start + length].
//   in:  start and length (in the unit f takes), f(t) -> Values
//   out: segment.coefficients
//   accuracy: for f as smooth as an orbit over a small part of its period, the error falls by a factor
//   of (length / period)^Terms; exact for polynomials of degree Terms - 1.
template <std::size_t Components, std::size_t Terms, typename Function>
void FitChebyshev(ChebyshevSegment<Components, Terms>& segment, double start, double length, Function f) {
    std::array<typename ChebyshevSegment<Components, Terms>::Values, Terms> values;
    std::array<double, Terms> angle;
    for (std::size_t k = 0; k < Terms; ++k) {
        angle[k] = M_PI * (double(k) + 0.5) / double(Terms);
        values[k] = f(start + length * 0.5 * (1 + std::cos(angle[k])));
    }
    for (std::size_t c = 0; c < Components; ++c) {
        for (std::size_t j = 0; j < Terms; ++j) {
            double sum = 0;
            for (std::size_t k = 0; k < Terms; ++k) sum += values[k][c] * std::cos(double(j) * angle[k]);
            segment.coefficients[c][j] = 2 * sum / double(Terms);
        }
    }
}

// EvaluateChebyshev - the series at x (Clenshaw's recurrence).
//   in:  x, the instant scaled to [-1, 1] over the segment's interval
//   out: one value per component, in the unit f returned
template <std::size_t Components, std::size_t Terms>
typename ChebyshevSegment<Components, Terms>::Values EvaluateChebyshev(const ChebyshevSegment<Components, Terms>& segment,
                                                                       double x) {
    typename ChebyshevSegment<Components, Terms>::Values result;
    for (std::size_t c = 0; c < Components; ++c) {
        const std::array<double, Terms>& a = segment.coefficients[c];
        double b1 = 0, b2 = 0;
        for (std::size_t j = Terms - 1; j > 0; --j) {
            const double b0 = 2 * x * b1 - b2 + a[j];
            b2 = b1;
            b1 = b0;
        }
        result[c] = x * b1 - b2 + 0.5 * a[0];
    }
    return result;
}

}  // namespace nav
