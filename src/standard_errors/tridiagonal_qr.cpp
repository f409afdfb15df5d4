// The symmetric QR algorithm (Golub and Van Loan, Matrix Computations,
// algorithm 8.3.3): a bulge chase per step from a Wilkinson shift (8.3.2),
// deflation where a subdiagonal entry is below rounding beside its two
// diagonal neighbours. The scalar work is O(size) per step; the rotations
// of the eigenvectors, the O(size^3) work, are kept and applied in batches
// (apply_plane_rotations).
// Only + - * / and sqrt, all correctly rounded, so the same bits everywhere.
#include "standard_errors/tridiagonal_qr.hpp"

#include <algorithm>
#include <cmath>
#include <limits>

#include "standard_errors/plane_rotations.hpp"

namespace irteq {

namespace {

constexpr std::size_t steps_per_row = 30;                     // Wilkinson's shift needs about two
constexpr std::size_t kept_rotations = std::size_t{1} << 20;  // 16 MB of cosines and sines between batches

// sqrt(x^2 + y^2) without overflow or underflow of the squares.
double scaled_norm(double x, double y) {
  const double scale = std::max(std::fabs(x), std::fabs(y));
  if (scale == 0.0) return 0.0;
  const double u = x / scale;
  const double w = y / scale;
  return scale * std::sqrt(u * u + w * w);
}

// One implicit QR step on the unreduced block low..high of T.
void qr_step(double* d, double* e, std::size_t low, std::size_t high, PlaneRotations& rotations) {
  // The eigenvalue of T's trailing 2 x 2 nearer its last diagonal entry.
  const double delta = 0.5 * (d[high - 1] - d[high]);
  const double b = e[high - 1];
  const double root = scaled_norm(delta, b);
  const double shift = d[high] - b * (b / (delta >= 0.0 ? delta + root : delta - root));
  rotations.chases.push_back({low, high - low});
  double x = d[low] - shift;
  double z = e[low];
  for (std::size_t k = low; k < high; ++k) {
    // R = [c s; -s c] in the plane (k, k + 1) with R (x, z)' = (r, 0)'.
    const double r = scaled_norm(x, z);
    const double c = r == 0.0 ? 1.0 : x / r;
    const double s = r == 0.0 ? 0.0 : z / r;
    if (k > low) e[k - 1] = r;
    // T's 2 x 2 at (k, k + 1) becomes R T R': the diagonal as a change of
    // its entries, small once s is, so that they keep their digits.
    const double a = d[k];
    const double off = e[k];
    const double g = d[k + 1];
    const double change = s * (s * (a - g) - 2.0 * c * off);
    d[k] = a - change;
    d[k + 1] = g + change;
    e[k] = c * s * (g - a) + (c * c - s * s) * off;
    // Column k + 1 of row k + 2 spills into column k: the bulge chased next.
    if (k + 1 < high) {
      x = e[k];
      z = s * e[k + 1];
      e[k + 1] *= c;
    }
    rotations.cosines_sines.push_back(c);
    rotations.cosines_sines.push_back(s);
  }
}

}  // namespace

void tridiagonal_qr(Tridiagonal& tridiagonal, std::size_t size) {
  const std::size_t n = size;
  if (n < 2) return;
  double* d = tridiagonal.diagonal.data();
  double* e = tridiagonal.subdiagonal.data();
  const double epsilon = std::numeric_limits<double>::epsilon();
  const auto negligible = [&](std::size_t i) {
    return std::fabs(e[i]) <= epsilon * (std::fabs(d[i]) + std::fabs(d[i + 1]));
  };
  PlaneRotations rotations;
  const std::size_t max_steps = steps_per_row * n;
  std::size_t steps = 0;
  std::size_t high = n - 1;
  while (high > 0) {
    if (negligible(high - 1)) {
      e[high - 1] = 0.0;
      --high;
      continue;
    }
    std::size_t low = high - 1;
    while (low > 0 && !negligible(low - 1)) --low;
    if (low > 0) e[low - 1] = 0.0;
    if (++steps > max_steps) break;
    qr_step(d, e, low, high, rotations);
    if (rotations.cosines_sines.size() >= 2 * kept_rotations) {
      apply_plane_rotations(rotations, tridiagonal.basis, n, n);
      rotations.chases.clear();
      rotations.cosines_sines.clear();
    }
  }
  apply_plane_rotations(rotations, tridiagonal.basis, n, n);
}

}  // namespace irteq
