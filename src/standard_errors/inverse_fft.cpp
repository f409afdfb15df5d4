// Iterative radix-2 inverse discrete Fourier transform: the bit-reversed
// permutation, then log2(n) stages of butterflies u + w v, u - w v, each
// stage's roots laid out in order so that its inner loop runs over them.
#include "standard_errors/inverse_fft.hpp"

#include <utility>

namespace irteq {

void inverse_fft(const FftPlan& plan, std::span<double> real, std::span<double> imaginary) {
  const std::size_t n = plan.n;
  for (std::size_t i = 0; i < n; ++i) {
    const std::size_t j = plan.reversed[i];
    if (i < j) {
      std::swap(real[i], real[j]);
      std::swap(imaginary[i], imaginary[j]);
    }
  }
  double* re = real.data();
  double* im = imaginary.data();
  for (std::size_t h = 1; h < n; h *= 2) {
    const double* wr = plan.root_real.data() + h - 1;
    const double* wi = plan.root_imaginary.data() + h - 1;
    for (std::size_t start = 0; start < n; start += 2 * h) {
      double* ur = re + start;
      double* ui = im + start;
      double* xr = ur + h;
      double* xi = ui + h;
      for (std::size_t k = 0; k < h; ++k) {
        const double vr = xr[k] * wr[k] - xi[k] * wi[k];
        const double vi = xr[k] * wi[k] + xi[k] * wr[k];
        const double u_real = ur[k];
        const double u_imaginary = ui[k];
        ur[k] = u_real + vr;
        ui[k] = u_imaginary + vi;
        xr[k] = u_real - vr;
        xi[k] = u_imaginary - vi;
      }
    }
  }
}

}  // namespace irteq
