#include <array>
#include <cmath>
#include <cstddef>

#include "core/analysis/OscillatorIntegrators.h"

namespace travik {
namespace {

// Below this product omega h the closed form loses its digits: C, D, C' and D' are
// differences of terms up to 6 zeta / (omega h)^3 times larger than themselves, so at
// omega h = 1e-5 not one digit is left. Below it the coefficients come from the Taylor
// series of the matrix exponential, which is exact to rounding there; above it the closed
// form loses at most a few digits more than rounding (6 / 0.01^3 x 1.1e-16 < 1e-9 at the
// worst damping, far less at usual ones).
constexpr double kSeriesBelowOmegaH = 0.01;

using Matrix = std::array<std::array<double, 4>, 4>;

Matrix Multiply(const Matrix& a, const Matrix& b) {
    Matrix product{};
    for (std::size_t i = 0; i < 4; ++i) {
        for (std::size_t j = 0; j < 4; ++j) {
            for (std::size_t k = 0; k < 4; ++k) {
                product[i][j] += a[i][k] * b[k][j];
            }
        }
    }
    return product;
}

// Nigam & Jennings (1969), "Calculation of response spectra from strong-motion
// earthquake records": the exact response of a damped oscillator to a load varying
// linearly over a step of length h, written for the loading -p.
PiecewiseExactCoefficients ClosedForm(double dampingRatio, double step, double omega) {
    const double zeta = dampingRatio;
    const double h = step;
    const double E = std::exp(-zeta * omega * h);
    const double omegaD = omega * std::sqrt(1 - zeta * zeta);
    const double S = std::sin(omegaD * h);
    const double K = std::cos(omegaD * h);

    PiecewiseExactCoefficients c{};
    c.A = (zeta * omega * S / omegaD + K) * E;
    c.B = E * S / omegaD;
    c.Ap = -(omega * omega) * E * S / omegaD;
    c.Bp = (K - zeta * omega * S / omegaD) * E;

    const double P = (2 * zeta * zeta - 1) / (omega * omega * h);
    const double Q = 2 * zeta / (omega * omega * omega * h);
    const double X = K - omega * zeta * S / omegaD;
    const double Y = omegaD * S + zeta * omega * K;
    const double inverseOmega2 = 1 / (omega * omega);
    const double inverseOmega2h = 1 / (omega * omega * h);

    c.C = E * ((zeta / omega + P) * S / omegaD + (inverseOmega2 + Q) * K) - Q;
    c.D = -E * (P * S / omegaD + Q * K) - inverseOmega2 + Q;
    c.Cp = E * ((zeta / omega + P) * X - (inverseOmega2 + Q) * Y) + inverseOmega2h;
    c.Dp = -E * (P * X - Q * Y) - inverseOmega2h;
    return c;
}

// The same recurrence as the exponential of the oscillator's augmented state matrix over
// one step (Moler and Van Loan, 2003, "Nineteen dubious ways to compute the exponential of
// a matrix", method 1, Taylor series), for small omega h. The state, scaled so that every
// entry of the matrix is of order one, is y = (omega u, v, p / omega, p' / omega^2) for the
// load p varying linearly over the step; y' = omega N y with
//   N = [[0, 1, 0, 0], [-1, -2 zeta, -1, 0], [0, 0, 0, 1], [0, 0, 0, 0]],
// so y(h) = exp(x N) y(0) with x = omega h. Entry (i, j) of exp(x N) starts with x^p(i, j),
// p the length of the shortest path from i to j through N; each entry is summed divided
// by that power, so that none underflows however small x is (C is of order h^2 while x^3
// underflows below x = 1e-103). With x below 0.01 each term is at least 30 times smaller
// than the one before, and twelve terms reach far below rounding.
PiecewiseExactCoefficients Series(double dampingRatio, double step, double omega) {
    const double x = omega * step;
    Matrix n{};
    n[0][1] = 1;
    n[1][0] = -1;
    n[1][1] = -2 * dampingRatio;
    n[1][2] = -1;
    n[2][3] = 1;
    constexpr std::array<std::array<int, 4>, 2> kLowestPower = {{{0, 1, 2, 3}, {1, 0, 1, 2}}};
    constexpr int kTerms = 12;
    std::array<double, kTerms + 1> powers{};  // x^0 .. x^kTerms
    powers[0] = 1;
    for (int k = 1; k <= kTerms; ++k) {
        powers[k] = powers[k - 1] * x;
    }
    // s[i][j] = (exp(x N))[i][j] / x^p(i, j), rows 0 and 1 (u and v).
    std::array<std::array<double, 4>, 2> s{};
    s[0][0] = 1;
    s[1][1] = 1;
    Matrix term{};  // N^k / k!
    for (std::size_t i = 0; i < 4; ++i) {
        term[i][i] = 1;
    }
    for (int k = 1; k <= kTerms; ++k) {
        term = Multiply(term, n);
        for (auto& row : term) {
            for (double& entry : row) {
                entry /= k;
            }
        }
        for (std::size_t i = 0; i < 2; ++i) {
            for (std::size_t j = 0; j < 4; ++j) {
                const int power = k - kLowestPower[i][j];
                if (power >= 0) {
                    s[i][j] += term[i][j] * powers[static_cast<std::size_t>(power)];
                }
            }
        }
    }
    // Back to u and v: u(h) = y0(h) / omega, v(h) = y1(h), with p(0) = a_i and
    // p' = (a_(i+1) - a_i) / h; the powers of x turn into powers of h.
    const double h = step;
    PiecewiseExactCoefficients c{};
    c.A = s[0][0];
    c.B = h * s[0][1];
    c.Ap = omega * omega * h * s[1][0];
    c.Bp = s[1][1];
    c.D = h * h * s[0][3];
    c.C = h * h * s[0][2] - c.D;
    c.Dp = h * s[1][3];
    c.Cp = h * s[1][2] - c.Dp;
    return c;
}

}  // namespace

PiecewiseExactCoefficients ComputePiecewiseExactCoefficients(double dampingRatio, double step,
                                                             double omega) {
    const double x = omega * step;
    if (std::isfinite(x) && x > 0 && x < kSeriesBelowOmegaH && std::fabs(dampingRatio) < 1) {
        return Series(dampingRatio, step, omega);
    }
    return ClosedForm(dampingRatio, step, omega);
}

}  // namespace travik
