// The bit-reversed order and the stages' roots of a radix-2 inverse transform.
#include "standard_errors/inverse_fft.hpp"
#include "standard_errors/unit_roots.hpp"

namespace irteq {

FftPlan fft_plan(std::size_t n) {
  FftPlan plan;
  plan.n = n;
  plan.reversed.resize(n);
  std::size_t bits = 0;
  while ((std::size_t{1} << bits) < n) ++bits;
  for (std::size_t i = 0; i < n; ++i) {
    std::size_t r = 0;
    for (std::size_t b = 0; b < bits; ++b) r |= ((i >> b) & 1) << (bits - 1 - b);
    plan.reversed[i] = r;
  }
  // The conjugates of the forward roots, exp(-2 pi i k / (2 h)) = roots[k n / (2 h)].
  const std::vector<std::complex<double>> roots = unit_roots(n);
  plan.root_real.resize(n - 1);
  plan.root_imaginary.resize(n - 1);
  for (std::size_t h = 1; h < n; h *= 2) {
    for (std::size_t k = 0; k < h; ++k) {
      const std::complex<double> root = roots[k * (n / (2 * h))];
      plan.root_real[h - 1 + k] = root.real();
      plan.root_imaginary[h - 1 + k] = -root.imag();
    }
  }
  return plan;
}

}  // namespace irteq
