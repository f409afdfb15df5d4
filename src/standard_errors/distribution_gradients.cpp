// Derivatives of a form's score distribution in its parameters and in the
// linking constants, by way of its generating function at the roots of unity.
#include "standard_errors/distribution_gradients.hpp"

#include <algorithm>
#include <atomic>

#include "common/run_on_threads.hpp"
#include "standard_errors/frequency_layout.hpp"
#include "standard_errors/frequency_tile.hpp"
#include "standard_errors/inverse_fft.hpp"

namespace irteq {

namespace {

// Frequencies of one tile: wide enough for each pass over a column's sums to
// be a good run of vector work, narrow enough for the sums of all columns of
// a tile to stay in the second-level cache (1.4 MB on the largest forms).
constexpr std::size_t tile_width = 64;

}  // namespace

DistributionGradients distribution_gradients(std::span<const Item> items, std::span<const GroupThetas> groups,
                                             int threads) {
  const FrequencyLayout form = frequency_layout(items, groups, tile_width, threads);
  const std::size_t half = form.half;
  const std::size_t count = form.frequencies;
  const std::size_t columns = form.columns + 2;
  const std::size_t tiles = count / form.width;
  std::vector<double> transforms(columns * 2 * count);
  std::atomic<std::size_t> next_tile{0};
  run_on_threads(threads, [&](int) {
    FrequencyScratch scratch(form);
    for (std::size_t tile; (tile = next_tile.fetch_add(1)) < tiles;) {
      frequency_tile(form, 1 + tile * form.width, scratch, transforms);
    }
  });

  // Two real columns a and b by one complex transform: the transform of
  // a + i b is A + i B at every frequency, A and B Hermitian.
  DistributionGradients result;
  result.points = form.points;
  result.columns = columns;
  result.values.resize(columns * form.points);
  const std::size_t n = 2 * half;
  const FftPlan plan = fft_plan(n);
  const double scale = 1.0 / static_cast<double>(n);
  const std::size_t pairs = (columns + 1) / 2;
  std::atomic<std::size_t> next_pair{0};
  run_on_threads(threads, [&](int) {
    std::vector<double> real(n);
    std::vector<double> imaginary(n);
    const std::vector<double> zeros(2 * count, 0.0);
    for (std::size_t pair; (pair = next_pair.fetch_add(1)) < pairs;) {
      const std::size_t a = 2 * pair;
      const std::size_t b = a + 1;
      const double* ar = transforms.data() + a * 2 * count;
      const double* ai = ar + count;
      const double* br = b < columns ? ar + 2 * count : zeros.data();
      const double* bi = br + count;
      real[0] = 0.0;
      imaginary[0] = 0.0;
      for (std::size_t f = 1; f < half; ++f) {
        real[f] = ar[f - 1] - bi[f - 1];
        imaginary[f] = ai[f - 1] + br[f - 1];
        real[n - f] = ar[f - 1] + bi[f - 1];
        imaginary[n - f] = br[f - 1] - ai[f - 1];
      }
      // The top frequency's transforms are real.
      real[half] = ar[half - 1];
      imaginary[half] = br[half - 1];
      inverse_fft(plan, real, imaginary);
      double* to_a = result.values.data() + a * form.points;
      for (std::size_t s = 0; s < form.points; ++s) to_a[s] = real[s] * scale;
      if (b < columns) {
        double* to_b = to_a + form.points;
        for (std::size_t s = 0; s < form.points; ++s) to_b[s] = imaginary[s] * scale;
      }
    }
  });
  return result;
}

}  // namespace irteq
