// Iterative radix-2 inverse discrete Fourier transform: the bit-reversed
// permutation, then log2(n) passes of butterflies. Products are written out
// in real arithmetic: std::complex's operator* checks for infinities at
// every step, which this data never holds.
#include "standard_errors/inverse_fft.hpp"

#include <utility>

namespace irteq {

void inverse_fft(std::span<std::complex<double>> values, std::span<const std::complex<double>> roots) {
  const std::size_t n = values.size();
  for (std::size_t i = 1, j = 0; i < n; ++i) {
    std::size_t bit = n >> 1;
    for (; j & bit; bit >>= 1) j ^= bit;
    j ^= bit;
    if (i < j) std::swap(values[i], values[j]);
  }
  for (std::size_t length = 2; length <= n; length <<= 1) {
    const std::size_t half = length / 2;
    const std::size_t step = n / length;
    for (std::size_t start = 0; start < n; start += length) {
      for (std::size_t k = 0; k < half; ++k) {
        // The conjugate root turns the forward roots into the inverse's.
        const double wr = roots[k * step].real();
        const double wi = -roots[k * step].imag();
        const std::complex<double> u = values[start + k];
        const std::complex<double> x = values[start + k + half];
        const double vr = x.real() * wr - x.imag() * wi;
        const double vi = x.real() * wi + x.imag() * wr;
        values[start + k] = {u.real() + vr, u.imag() + vi};
        values[start + k + half] = {u.real() - vr, u.imag() - vi};
      }
    }
  }
}

}  // namespace irteq
