// The frequency-domain sums of distribution_gradients over one tile of
// frequencies. Complex numbers are held as a tile of real parts followed by
// a tile of imaginary parts, so that every inner loop runs over frequencies,
// each lane doing the scalar operations of its own frequency; compiled for
// the distribution kernels' instruction sets (kernel_path), with no fused
// multiply-adds, so that every path gives the same numbers.
#include "standard_errors/spectral_tile.hpp"

#include <algorithm>

#include "observed/kernel_path.hpp"

#if defined(__GNUC__)
#define IRTEQ_ALWAYS_INLINE inline __attribute__((always_inline))
#define IRTEQ_RESTRICT __restrict__
#else
#define IRTEQ_ALWAYS_INLINE inline
#define IRTEQ_RESTRICT
#endif

namespace irteq {

SpectralScratch::SpectralScratch(const SpectralForm& form, std::size_t width_)
    : width(width_),
      rows(form.differences.size() / form.half * width),
      factors(form.items.size() * 2 * width),
      suffix(form.items.size() * 2 * width),
      prefix(2 * width),
      others(2 * width),
      terms(form.widest * 2 * width),
      dtheta(2 * width),
      sums((form.columns + 2) * 2 * width) {}

namespace {

// out = a * b, each n complex numbers.
IRTEQ_ALWAYS_INLINE void multiply(const double* IRTEQ_RESTRICT a, const double* IRTEQ_RESTRICT b,
                                  double* IRTEQ_RESTRICT out, std::size_t n) {
  for (std::size_t t = 0; t < n; ++t) {
    const double ar = a[t];
    const double ai = a[n + t];
    const double br = b[t];
    const double bi = b[n + t];
    out[t] = ar * br - ai * bi;
    out[n + t] = ar * bi + ai * br;
  }
}

// a = a * b.
IRTEQ_ALWAYS_INLINE void multiply_into(double* IRTEQ_RESTRICT a, const double* IRTEQ_RESTRICT b, std::size_t n) {
  for (std::size_t t = 0; t < n; ++t) {
    const double ar = a[t];
    const double ai = a[n + t];
    const double br = b[t];
    const double bi = b[n + t];
    a[t] = ar * br - ai * bi;
    a[n + t] = ar * bi + ai * br;
  }
}

// sum += r * v over n complex numbers (2 n doubles).
IRTEQ_ALWAYS_INLINE void add_scaled(double r, const double* IRTEQ_RESTRICT v, double* IRTEQ_RESTRICT sum,
                                    std::size_t n) {
  for (std::size_t t = 0; t < 2 * n; ++t) sum[t] += r * v[t];
}

IRTEQ_ALWAYS_INLINE void set_real(double value, double* z, std::size_t n) {
  std::fill_n(z, n, value);
  std::fill_n(z + n, n, 0.0);
}

IRTEQ_ALWAYS_INLINE void run_tile(const SpectralForm& form, std::size_t first, std::size_t n, SpectralScratch& s,
                                  std::span<double> spectra) {
  const std::size_t half = form.half;
  const std::size_t stride = 2 * n;
  const std::size_t row_count = form.differences.size() / (2 * half);
  for (std::size_t r = 0; r < row_count; ++r) {
    const double* from = form.differences.data() + r * 2 * half + (first - 1);
    std::copy_n(from, n, s.rows.data() + r * stride);
    std::copy_n(from + half, n, s.rows.data() + r * stride + n);
  }
  std::fill(s.sums.begin(), s.sums.end(), 0.0);
  double* const sums = s.sums.data();
  double* const a_sums = sums + form.columns * stride;
  double* const b_sums = a_sums + stride;
  const std::size_t item_count = form.items.size();
  const auto row = [&](std::size_t number) { return s.rows.data() + form.rows[number] * stride; };

  for (const SpectralGroup& group : form.groups) {
    for (std::size_t q = 0; q < group.points; ++q) {
      const double* block = group.terms.data() + q * form.block;
      // Each item's factor t_0 + sum_c t_c (difference row c).
      for (std::size_t j = 0; j < item_count; ++j) {
        const SpectralItem& item = form.items[j];
        const double* t = block + item.first_term;
        double* factor = s.factors.data() + j * stride;
        set_real(t[0], factor, n);
        for (std::size_t c = 1; c < item.categories; ++c) {
          if (t[c] != 0.0) add_scaled(t[c], row(item.first_row + c - 1), factor, n);
        }
      }
      // suffix j: the product of the factors after item j.
      set_real(1.0, s.suffix.data() + (item_count - 1) * stride, n);
      for (std::size_t j = item_count - 1; j > 0; --j) {
        multiply(s.factors.data() + j * stride, s.suffix.data() + j * stride, s.suffix.data() + (j - 1) * stride, n);
      }
      set_real(1.0, s.prefix.data(), n);
      if (group.moving) set_real(0.0, s.dtheta.data(), n);
      for (std::size_t j = 0; j < item_count; ++j) {
        const SpectralItem& item = form.items[j];
        const std::size_t m = item.categories;
        const double* others = s.suffix.data();
        if (j > 0) {
          multiply(s.prefix.data(), s.suffix.data() + j * stride, s.others.data(), n);
          others = s.others.data();
        }
        for (std::size_t c = 1; c < m; ++c) {
          multiply(others, row(item.first_row + c - 1), s.terms.data() + (c - 1) * stride, n);
        }
        const double* t = block + item.first_term + m;
        if (group.moving) {
          for (std::size_t c = 1; c < m; ++c) {
            if (t[c - 1] != 0.0) add_scaled(t[c - 1], s.terms.data() + (c - 1) * stride, s.dtheta.data(), n);
          }
        }
        for (std::size_t k = 0; k < item.parameters; ++k) {
          t += m - 1;
          double* sum = sums + (item.first_column + k) * stride;
          for (std::size_t c = 1; c < m; ++c) {
            if (t[c - 1] != 0.0) add_scaled(t[c - 1], s.terms.data() + (c - 1) * stride, sum, n);
          }
        }
        if (j + 1 < item_count) multiply_into(s.prefix.data(), s.factors.data() + j * stride, n);
      }
      if (group.moving) {
        add_scaled(group.dtheta_dA[q], s.dtheta.data(), a_sums, n);
        add_scaled(group.dtheta_dB[q], s.dtheta.data(), b_sums, n);
      }
    }
  }

  for (std::size_t k = 0; k < form.columns + 2; ++k) {
    double* to = spectra.data() + k * 2 * half + (first - 1);
    std::copy_n(sums + k * stride, n, to);
    std::copy_n(sums + k * stride + n, n, to + half);
  }
}

void baseline_tile(const SpectralForm& form, std::size_t first, std::size_t n, SpectralScratch& s,
                   std::span<double> spectra) {
  run_tile(form, first, n, s, spectra);
}

#if IRTEQ_X86_KERNELS
// No "fma" in the targets: the products and sums stay separate roundings.
__attribute__((target("avx2"))) void avx2_tile(const SpectralForm& form, std::size_t first, std::size_t n,
                                               SpectralScratch& s, std::span<double> spectra) {
  run_tile(form, first, n, s, spectra);
}

__attribute__((target("avx512f"))) void avx512_tile(const SpectralForm& form, std::size_t first, std::size_t n,
                                                    SpectralScratch& s, std::span<double> spectra) {
  run_tile(form, first, n, s, spectra);
}
#endif

}  // namespace

void spectral_tile(const SpectralForm& form, std::size_t first, std::size_t count, SpectralScratch& scratch,
                   std::span<double> spectra) {
  switch (kernel_path()) {
#if IRTEQ_X86_KERNELS
    case KernelPath::avx512: avx512_tile(form, first, count, scratch, spectra); return;
    case KernelPath::avx2: avx2_tile(form, first, count, scratch, spectra); return;
#endif
    default: baseline_tile(form, first, count, scratch, spectra); return;
  }
}

}  // namespace irteq
