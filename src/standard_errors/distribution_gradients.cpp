// Derivatives of a form's score distribution in its parameters and in the
// linking constants, by way of its generating function at the roots of unity.
#include "standard_errors/distribution_gradients.hpp"

#include <algorithm>
#include <atomic>
#include <complex>

#include "equate/run_on_threads.hpp"
#include "standard_errors/inverse_fft.hpp"
#include "standard_errors/spectral_form.hpp"
#include "standard_errors/spectral_tile.hpp"
#include "standard_errors/unit_roots.hpp"

namespace irteq {

namespace {

// Frequencies of one tile: enough for the sums of a column to stay in the
// nearer caches, few enough that all columns' sums of a tile fit in them too.
constexpr std::size_t tile_width = 64;

}  // namespace

DistributionGradients distribution_gradients(std::span<const Item> items, std::span<const GroupThetas> groups,
                                             int threads) {
  const SpectralForm form = spectral_form(items, groups, threads);
  const std::size_t half = form.half;
  const std::size_t columns = form.columns + 2;
  const std::size_t width = std::min(tile_width, half);
  const std::size_t tiles = (half + width - 1) / width;
  std::vector<double> spectra(columns * 2 * half);
  std::atomic<std::size_t> next_tile{0};
  run_on_threads(threads, [&](int) {
    SpectralScratch scratch(form, width);
    for (std::size_t tile; (tile = next_tile.fetch_add(1)) < tiles;) {
      const std::size_t first = tile * width;
      spectral_tile(form, first + 1, std::min(width, half - first), scratch, spectra);
    }
  });

  // Two real columns a and b by one complex transform: the spectrum of
  // a + i b is A + i B at every frequency, A and B Hermitian.
  DistributionGradients result;
  result.points = form.points;
  result.columns = columns;
  result.values.resize(columns * form.points);
  const std::size_t n = 2 * half;
  const std::vector<std::complex<double>> roots = unit_roots(n);
  const double scale = 1.0 / static_cast<double>(n);
  const std::size_t pairs = (columns + 1) / 2;
  std::atomic<std::size_t> next_pair{0};
  run_on_threads(threads, [&](int) {
    std::vector<std::complex<double>> z(n);
    for (std::size_t pair; (pair = next_pair.fetch_add(1)) < pairs;) {
      const std::size_t a = 2 * pair;
      const std::size_t b = a + 1;
      const double* ar = spectra.data() + a * 2 * half;
      const double* ai = ar + half;
      const double* br = b < columns ? ar + 2 * half : nullptr;
      const double* bi = b < columns ? br + half : nullptr;
      z[0] = 0.0;
      for (std::size_t f = 1; f < half; ++f) {
        const double b_real = br ? br[f - 1] : 0.0;
        const double b_imaginary = bi ? bi[f - 1] : 0.0;
        z[f] = {ar[f - 1] - b_imaginary, ai[f - 1] + b_real};
        z[n - f] = {ar[f - 1] + b_imaginary, b_real - ai[f - 1]};
      }
      // The top frequency's transforms are real.
      z[half] = {ar[half - 1], br ? br[half - 1] : 0.0};
      inverse_fft(z, roots);
      double* to_a = result.values.data() + a * form.points;
      for (std::size_t s = 0; s < form.points; ++s) to_a[s] = z[s].real() * scale;
      if (b < columns) {
        double* to_b = to_a + form.points;
        for (std::size_t s = 0; s < form.points; ++s) to_b[s] = z[s].imag() * scale;
      }
    }
  });
  return result;
}

}  // namespace irteq
