// The frequency-domain sums of distribution_gradients over one tile of
// frequencies. Complex numbers are held as a tile of real parts followed by
// a tile of imaginary parts, and every inner loop runs over frequencies in
// vectors of doubles, each lane doing the scalar operations of its own
// frequency; written once and compiled for the distribution kernels'
// instruction sets (kernel_path), with no fused multiply-adds, so that every
// path gives the same numbers.
#include "standard_errors/frequency_tile.hpp"

#include <algorithm>
#include <array>

#include "common/double_vectors.hpp"
#include "irteq/limits.hpp"

namespace irteq {

FrequencyScratch::FrequencyScratch(const FrequencyLayout& form)
    : rows(form.powers.size() / form.frequencies * form.width),
      factors(form.items.size() * 2 * form.width),
      suffix(form.items.size() * 2 * form.width),
      prefix(2 * form.width),
      basis(form.widest * 2 * form.width),
      dtheta(2 * form.width),
      sums((form.columns + 2) * 2 * form.width) {}

namespace {

// The tile's arithmetic for one vector width. A complex array of n numbers
// is n real parts, then n imaginary parts.
template <std::size_t Lanes>
class Tile {
  using Vector = typename Doubles<Lanes>::Vector;

 public:
  IRTEQ_ALWAYS_INLINE Tile(const FrequencyLayout& form, std::size_t first, FrequencyScratch& s)
      : form_(form), first_(first), n_(form.width), stride_(2 * form.width), s_(s) {}

  IRTEQ_ALWAYS_INLINE void run(std::span<double> transforms) {
    load_rows();
    std::fill(s_.sums.begin(), s_.sums.end(), 0.0);
    for (const FrequencyGroup& group : form_.groups) {
      for (std::size_t q = 0; q < group.points; ++q) grid_point(group, q);
    }
    const std::size_t count = form_.frequencies;
    for (std::size_t k = 0; k < form_.columns + 2; ++k) {
      double* to = transforms.data() + k * 2 * count + (first_ - 1);
      std::copy_n(s_.sums.data() + k * stride_, n_, to);
      std::copy_n(s_.sums.data() + k * stride_ + n_, n_, to + count);
    }
  }

 private:
  // References rather than values: a vector passed by value would change the calling convention.
  static IRTEQ_ALWAYS_INLINE const Vector& load(const double* at) { return *reinterpret_cast<const Vector*>(at); }
  static IRTEQ_ALWAYS_INLINE void store(double* at, const Vector& value) { *reinterpret_cast<Vector*>(at) = value; }

  IRTEQ_ALWAYS_INLINE void load_rows() {
    const std::size_t count = form_.frequencies;
    const std::size_t rows = form_.powers.size() / (2 * count);
    for (std::size_t r = 0; r < rows; ++r) {
      const double* from = form_.powers.data() + r * 2 * count + (first_ - 1);
      std::copy_n(from, n_, s_.rows.data() + r * stride_);
      std::copy_n(from + count, n_, s_.rows.data() + r * stride_ + n_);
    }
  }

  IRTEQ_ALWAYS_INLINE const double* row(std::size_t number) const {
    return s_.rows.data() + form_.rows[number] * stride_;
  }

  IRTEQ_ALWAYS_INLINE void set_real(double value, double* z) const {
    std::fill_n(z, n_, value);
    std::fill_n(z + n_, n_, 0.0);
  }

  // sum += r_0 v_0 + r_1 v_1 + ..., one term after another, over the terms
  // whose coefficient is not zero (the others would add zeros); v_i at
  // vectors + i * stride, real and imaginary parts alike.
  IRTEQ_ALWAYS_INLINE void accumulate(const double* r, std::size_t count, const double* vectors,
                                      double* sum) const {
    std::array<double, max_categories> coefficients;
    std::array<const double*, max_categories> terms;
    std::size_t used = 0;
    for (std::size_t i = 0; i < count; ++i) {
      if (r[i] == 0.0) continue;
      coefficients[used] = r[i];
      terms[used++] = vectors + i * stride_;
    }
    add_terms(coefficients.data(), terms.data(), used, sum);
  }

  // sum += c_0 v_0 + ... + c_(used-1) v_(used-1) in that order. One to four
  // terms, the most items have, with their coefficients held in registers.
  IRTEQ_ALWAYS_INLINE void add_terms(const double* c, const double* const* v, std::size_t used, double* sum) const {
    switch (used) {
      case 0: return;
      case 1: {
        const Vector c0 = Vector{} + c[0];
        for (std::size_t t = 0; t < stride_; t += Lanes) store(sum + t, load(sum + t) + c0 * load(v[0] + t));
        return;
      }
      case 2: {
        const Vector c0 = Vector{} + c[0];
        const Vector c1 = Vector{} + c[1];
        for (std::size_t t = 0; t < stride_; t += Lanes) {
          store(sum + t, load(sum + t) + c0 * load(v[0] + t) + c1 * load(v[1] + t));
        }
        return;
      }
      case 3: {
        const Vector c0 = Vector{} + c[0];
        const Vector c1 = Vector{} + c[1];
        const Vector c2 = Vector{} + c[2];
        for (std::size_t t = 0; t < stride_; t += Lanes) {
          store(sum + t, load(sum + t) + c0 * load(v[0] + t) + c1 * load(v[1] + t) + c2 * load(v[2] + t));
        }
        return;
      }
      case 4: {
        const Vector c0 = Vector{} + c[0];
        const Vector c1 = Vector{} + c[1];
        const Vector c2 = Vector{} + c[2];
        const Vector c3 = Vector{} + c[3];
        for (std::size_t t = 0; t < stride_; t += Lanes) {
          store(sum + t, load(sum + t) + c0 * load(v[0] + t) + c1 * load(v[1] + t) + c2 * load(v[2] + t) +
                             c3 * load(v[3] + t));
        }
        return;
      }
      default:
        for (std::size_t t = 0; t < stride_; t += Lanes) {
          Vector value = load(sum + t);
          for (std::size_t i = 0; i < used; ++i) value += c[i] * load(v[i] + t);
          store(sum + t, value);
        }
    }
  }

  IRTEQ_ALWAYS_INLINE void grid_point(const FrequencyGroup& group, std::size_t q) {
    const std::size_t item_count = form_.items.size();
    const double* block = group.terms.data() + q * form_.block;
    const auto factor = [&](std::size_t j) { return s_.factors.data() + j * stride_; };
    const auto suffix = [&](std::size_t j) { return s_.suffix.data() + j * stride_; };
    // Backwards: each item's factor, and the product of the factors after each item.
    set_real(1.0, suffix(item_count - 1));
    for (std::size_t j = item_count; j-- > 0;) {
      factor_and_suffix(form_.items[j], block, factor(j), suffix(j), j > 0 ? suffix(j - 1) : nullptr);
    }
    // Forwards: the product of the other items' factors times each basis
    // function of the item, and the sums in theta and in the item's parameters.
    set_real(1.0, s_.prefix.data());
    if (group.moving) set_real(0.0, s_.dtheta.data());
    double* const sums = s_.sums.data();
    double* const basis = s_.basis.data();
    for (std::size_t j = 0; j < item_count; ++j) {
      const FrequencyItem& item = form_.items[j];
      item_basis(item, factor(j), suffix(j), s_.prefix.data(), basis);
      const double* t = block + item.first_term + item.categories;
      if (group.moving) accumulate(t, item.basis, basis, s_.dtheta.data());
      for (std::size_t k = 0; k < item.parameters; ++k) {
        t += item.basis;
        accumulate(t, item.basis, basis, sums + (item.first_column + k) * stride_);
      }
    }
    if (group.moving) {
      const double a = group.dtheta_dA[q];
      const double b = group.dtheta_dB[q];
      accumulate(&a, 1, s_.dtheta.data(), sums + form_.columns * stride_);
      accumulate(&b, 1, s_.dtheta.data(), sums + (form_.columns + 1) * stride_);
    }
  }

  // The item's factor t_0 + sum_c t_c (w^d_c - w^d_(c-1)) into factor, and,
  // unless before is null, before = factor * after.
  IRTEQ_ALWAYS_INLINE void factor_and_suffix(const FrequencyItem& item, const double* block, double* factor,
                                             const double* after, double* before) const {
    const double* r = block + item.first_term;
    std::array<double, max_categories> coefficients;
    std::array<const double*, max_categories> rows;
    std::size_t used = 0;
    for (std::size_t c = 1; c < item.categories; ++c) {
      if (r[c] == 0.0) continue;
      coefficients[used] = r[c];
      rows[used++] = row(item.first_row + c - 1);
    }
    const Vector first = Vector{} + r[0];
    for (std::size_t t = 0; t < n_; t += Lanes) {
      Vector fr = first;
      Vector fi = {};
      for (std::size_t i = 0; i < used; ++i) {
        fr += coefficients[i] * load(rows[i] + t);
        fi += coefficients[i] * load(rows[i] + n_ + t);
      }
      store(factor + t, fr);
      store(factor + n_ + t, fi);
      if (before) {
        const Vector sr = load(after + t);
        const Vector si = load(after + n_ + t);
        store(before + t, fr * sr - fi * si);
        store(before + n_ + t, fr * si + fi * sr);
      }
    }
  }

  // With others = prefix * after, the product of all factors but the item's:
  // basis c = others * (w^d_c - w^d_(c-1)), c = 1 .. m - 1, or on the nominal
  // basis others * (w^d_c - factor), c = 0 .. m - 1; then prefix *= factor.
  IRTEQ_ALWAYS_INLINE void item_basis(const FrequencyItem& item, const double* factor, const double* after,
                                      double* prefix, double* basis) const {
    std::array<const double*, max_categories> rows;
    const std::size_t first = item.nominal ? item.first_row + item.categories - 1 : item.first_row;
    for (std::size_t c = 0; c < item.basis; ++c) rows[c] = row(first + c);
    for (std::size_t t = 0; t < n_; t += Lanes) {
      const Vector pr = load(prefix + t);
      const Vector pi = load(prefix + n_ + t);
      const Vector sr = load(after + t);
      const Vector si = load(after + n_ + t);
      const Vector lr = pr * sr - pi * si;
      const Vector li = pr * si + pi * sr;
      const Vector fr = load(factor + t);
      const Vector fi = load(factor + n_ + t);
      for (std::size_t c = 0; c < item.basis; ++c) {
        Vector dr = load(rows[c] + t);
        Vector di = load(rows[c] + n_ + t);
        if (item.nominal) {
          dr = dr - fr;
          di = di - fi;
        }
        store(basis + c * stride_ + t, lr * dr - li * di);
        store(basis + c * stride_ + n_ + t, lr * di + li * dr);
      }
      store(prefix + t, pr * fr - pi * fi);
      store(prefix + n_ + t, pr * fi + pi * fr);
    }
  }

  const FrequencyLayout& form_;
  std::size_t first_;
  std::size_t n_;
  std::size_t stride_;
  FrequencyScratch& s_;
};

void baseline_tile(const FrequencyLayout& form, std::size_t first, FrequencyScratch& s,
                   std::span<double> transforms) {
  Tile<baseline_lanes>(form, first, s).run(transforms);
}

#if IRTEQ_X86_KERNELS
// No "fma" in the targets: the products and sums stay separate roundings.
__attribute__((target("avx2"))) void avx2_tile(const FrequencyLayout& form, std::size_t first, FrequencyScratch& s,
                                               std::span<double> transforms) {
  Tile<4>(form, first, s).run(transforms);
}

__attribute__((target("avx512f"))) void avx512_tile(const FrequencyLayout& form, std::size_t first,
                                                    FrequencyScratch& s, std::span<double> transforms) {
  Tile<8>(form, first, s).run(transforms);
}
#endif

}  // namespace

void frequency_tile(const FrequencyLayout& form, std::size_t first, FrequencyScratch& scratch,
                    std::span<double> transforms, KernelPath path) {
  switch (path) {
#if IRTEQ_X86_KERNELS
    case KernelPath::avx512: avx512_tile(form, first, scratch, transforms); return;
    case KernelPath::avx2: avx2_tile(form, first, scratch, transforms); return;
#endif
    default: baseline_tile(form, first, scratch, transforms); return;
  }
}

void frequency_tile(const FrequencyLayout& form, std::size_t first, FrequencyScratch& scratch,
                    std::span<double> transforms) {
  frequency_tile(form, first, scratch, transforms, kernel_path());
}

}  // namespace irteq
