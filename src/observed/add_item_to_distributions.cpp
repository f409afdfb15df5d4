#include "observed/add_item_to_distributions.hpp"

#include <cstddef>

#include "common/double_vectors.hpp"

namespace irteq {

namespace {

// One step, written once and inlined into a function per instruction set, so
// that each path compiles the same arithmetic for its own vector width. A
// vector holds one point of `Lanes` distributions, so a lane's + and * are
// exactly the scalar operations of its own distribution: no lane ever meets
// another, and every vector is a whole aligned unit of the buffer. Vectors
// are read and written in place rather than through functions, whose vector
// arguments would take the baseline's calling convention.
template <std::size_t Lanes>
class Step {
 public:
  using Vector = typename Doubles<Lanes>::Vector;

  IRTEQ_ALWAYS_INLINE Step(std::span<const double> previous, std::span<const int> item_scores,
                           std::span<const double> item_probabilities, std::span<double> next)
      : scores_(item_scores),
        p_(item_probabilities.data()),
        out_(next.data()),
        count_(next.size() / Lanes),
        spread_(static_cast<std::size_t>(item_scores.back() - item_scores.front())),
        in_(previous.data() + spread_ * Lanes) {}

  // Scores first, first + 1, ... (most items) have offsets known to the
  // compiler, which then loads each previous point once for all the
  // categories that reach it; other items take the general form.
  IRTEQ_ALWAYS_INLINE void run() const {
    if (!consecutive()) return run_general();
    switch (scores_.size()) {
      case 2: return run_consecutive<2>();
      case 3: return run_consecutive<3>();
      case 4: return run_consecutive<4>();
      case 5: return run_consecutive<5>();
      case 6: return run_consecutive<6>();
      default: return run_general();
    }
  }

 private:
  static constexpr std::size_t block = 4;  // points summed at once: running sums that hide the adds' latency

  // Previous point x - offset, which may lie in the zeros below point 0.
  IRTEQ_ALWAYS_INLINE const double* point(std::size_t x, std::size_t offset) const {
    const std::ptrdiff_t from = static_cast<std::ptrdiff_t>(x) - static_cast<std::ptrdiff_t>(offset);
    return in_ + from * static_cast<std::ptrdiff_t>(Lanes);
  }

  IRTEQ_ALWAYS_INLINE bool consecutive() const {
    for (std::size_t k = 1; k < scores_.size(); ++k) {
      if (scores_[k] != scores_[0] + static_cast<int>(k)) return false;
    }
    return true;
  }

  // Points x .. x + Points - 1: in category order, from 0, previous point
  // x - offset(k) times category k's probability.
  template <std::size_t Categories, std::size_t Points>
  IRTEQ_ALWAYS_INLINE void consecutive_points(std::size_t x, const Vector (&p)[Categories]) const {
    Vector sum[Points] = {};
    for (std::size_t k = 0; k < Categories; ++k) {
      const double* from = point(x, k);
      for (std::size_t r = 0; r < Points; ++r) sum[r] += *reinterpret_cast<const Vector*>(from + r * Lanes) * p[k];
    }
    for (std::size_t r = 0; r < Points; ++r) *reinterpret_cast<Vector*>(out_ + (x + r) * Lanes) = sum[r];
  }

  template <std::size_t Categories>
  IRTEQ_ALWAYS_INLINE void run_consecutive() const {
    Vector p[Categories];
    for (std::size_t k = 0; k < Categories; ++k) p[k] = *reinterpret_cast<const Vector*>(p_ + k * Lanes);
    std::size_t x = 0;
    for (; x + block <= count_; x += block) consecutive_points<Categories, block>(x, p);
    for (; x < count_; ++x) consecutive_points<Categories, 1>(x, p);
  }

  template <std::size_t Points>
  IRTEQ_ALWAYS_INLINE void general_points(std::size_t x) const {
    Vector sum[Points] = {};
    for (std::size_t k = 0; k < scores_.size(); ++k) {
      const Vector p = *reinterpret_cast<const Vector*>(p_ + k * Lanes);
      const double* from = point(x, static_cast<std::size_t>(scores_[k] - scores_[0]));
      for (std::size_t r = 0; r < Points; ++r) sum[r] += *reinterpret_cast<const Vector*>(from + r * Lanes) * p;
    }
    for (std::size_t r = 0; r < Points; ++r) *reinterpret_cast<Vector*>(out_ + (x + r) * Lanes) = sum[r];
  }

  IRTEQ_ALWAYS_INLINE void run_general() const {
    std::size_t x = 0;
    for (; x + block <= count_; x += block) general_points<block>(x);
    for (; x < count_; ++x) general_points<1>(x);
  }

  std::span<const int> scores_;
  const double* p_;
  double* out_;
  std::size_t count_;
  std::size_t spread_;
  const double* in_;  // point 0 of the previous distributions
};

void baseline_step(std::span<const double> previous, std::span<const int> item_scores,
                   std::span<const double> item_probabilities, std::span<double> next) {
  Step<baseline_lanes>(previous, item_scores, item_probabilities, next).run();
}

#if IRTEQ_X86_KERNELS
// No "fma" in the targets: the products and sums stay separate roundings.
__attribute__((target("avx2"))) void avx2_step(std::span<const double> previous, std::span<const int> item_scores,
                                               std::span<const double> item_probabilities, std::span<double> next) {
  Step<4>(previous, item_scores, item_probabilities, next).run();
}

__attribute__((target("avx512f"))) void avx512_step(std::span<const double> previous,
                                                    std::span<const int> item_scores,
                                                    std::span<const double> item_probabilities,
                                                    std::span<double> next) {
  Step<8>(previous, item_scores, item_probabilities, next).run();
}
#endif

}  // namespace

void add_item_to_distributions(std::span<const double> previous, std::span<const int> item_scores,
                               std::span<const double> item_probabilities, std::span<double> next, KernelPath path) {
  switch (path) {
#if IRTEQ_X86_KERNELS
    case KernelPath::avx512: avx512_step(previous, item_scores, item_probabilities, next); return;
    case KernelPath::avx2: avx2_step(previous, item_scores, item_probabilities, next); return;
#endif
    default: baseline_step(previous, item_scores, item_probabilities, next); return;
  }
}

}  // namespace irteq
