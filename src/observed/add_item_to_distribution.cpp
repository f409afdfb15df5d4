#include "observed/add_item_to_distribution.hpp"

#include <cstddef>

#include "common/double_vectors.hpp"

namespace irteq {

namespace {

// One step, written once and inlined into a function per instruction set, so
// that each path compiles the same arithmetic for its own vector width.
class Step {
 public:
  IRTEQ_ALWAYS_INLINE Step(std::span<const double> previous, std::span<const int> item_scores,
                           std::span<const double> item_probabilities, std::span<double> next)
      : in_(previous.data()),
        out_(next.data()),
        scores_(item_scores.data()),
        p_(item_probabilities.data()),
        previous_count_(previous.size()),
        categories_(item_scores.size()),
        first_score_(item_scores.front()),
        spread_(static_cast<std::size_t>(item_scores.back() - first_score_)) {}

  // Each new point sums its categories' terms in category order, from 0, and
  // skips the categories that reach outside the previous range. Points near
  // the two ends take that test per category.
  IRTEQ_ALWAYS_INLINE void edge_point(std::size_t x) const {
    double sum = 0.0;
    for (std::size_t k = 0; k < categories_; ++k) {
      const std::size_t shift = offset(k);
      if (x >= shift && x - shift < previous_count_) sum += in_[x - shift] * p_[k];
    }
    out_[x] = sum;
  }

  // Points spread .. previous_count - 1 reach inside the previous range for
  // every category; there the sums run over blocks of Registers vectors of
  // points at once, as many running sums as the registers hold without spilling.
  // A vector's + and * are the scalar operations lane by lane, and a double
  // operand takes part in every lane as it is.
  template <std::size_t Lanes, std::size_t Registers>
  IRTEQ_ALWAYS_INLINE std::size_t interior_blocks(std::size_t x) const {
    using Vector = typename Doubles<Lanes>::Vector;
    constexpr std::size_t block = Registers * Lanes;
    const std::size_t interior_end = previous_count_ > spread_ ? previous_count_ : spread_;
    for (; x + block <= interior_end; x += block) {
      Vector sum[Registers] = {};
      for (std::size_t k = 0; k < categories_; ++k) {
        const double p = p_[k];
        const double* from = in_ + (x - offset(k));
        for (std::size_t r = 0; r < Registers; ++r) sum[r] += *reinterpret_cast<const Vector*>(from + r * Lanes) * p;
      }
      for (std::size_t r = 0; r < Registers; ++r) *reinterpret_cast<Vector*>(out_ + x + r * Lanes) = sum[r];
    }
    return x;
  }

  // Blocks of eight vectors; the points left over, when there were whole
  // blocks, by one more block ending at the last inside point, which works
  // some points out again to the same values; else blocks of four, two and
  // one vectors. Then single points.
  template <std::size_t Lanes>
  IRTEQ_ALWAYS_INLINE void run() const {
    const std::size_t next_count = previous_count_ + spread_;
    const std::size_t interior_end = previous_count_ > spread_ ? previous_count_ : spread_;
    std::size_t x = 0;
    for (; x < spread_ && x < next_count; ++x) edge_point(x);
    const std::size_t first_block = x;
    x = interior_blocks<Lanes, 8>(x);
    if (x != first_block && x != interior_end) x = interior_blocks<Lanes, 8>(interior_end - 8 * Lanes);
    x = interior_blocks<Lanes, 4>(x);
    x = interior_blocks<Lanes, 2>(x);
    x = interior_blocks<Lanes, 1>(x);
    for (; x < next_count; ++x) edge_point(x);
  }

 private:
  IRTEQ_ALWAYS_INLINE std::size_t offset(std::size_t k) const {
    return static_cast<std::size_t>(scores_[k] - first_score_);
  }

  const double* in_;
  double* out_;
  const int* scores_;
  const double* p_;
  std::size_t previous_count_;
  std::size_t categories_;
  int first_score_;
  std::size_t spread_;
};

// Eight vectors hold the running sums on each path: the additions' latency
// needs about eight independent sums to keep the adders busy.

void baseline_step(std::span<const double> previous, std::span<const int> item_scores,
                   std::span<const double> item_probabilities, std::span<double> next) {
  Step(previous, item_scores, item_probabilities, next).run<baseline_lanes>();
}

#if IRTEQ_X86_KERNELS
// No "fma" in the targets: the products and sums stay separate roundings.
__attribute__((target("avx2"))) void avx2_step(std::span<const double> previous, std::span<const int> item_scores,
                                               std::span<const double> item_probabilities, std::span<double> next) {
  Step(previous, item_scores, item_probabilities, next).run<4>();
}

__attribute__((target("avx512f"))) void avx512_step(std::span<const double> previous,
                                                    std::span<const int> item_scores,
                                                    std::span<const double> item_probabilities,
                                                    std::span<double> next) {
  Step(previous, item_scores, item_probabilities, next).run<8>();
}
#endif

}  // namespace

void add_item_to_distribution(std::span<const double> previous, std::span<const int> item_scores,
                              std::span<const double> item_probabilities, std::span<double> next, KernelPath path) {
  switch (path) {
#if IRTEQ_X86_KERNELS
    case KernelPath::avx512: avx512_step(previous, item_scores, item_probabilities, next); return;
    case KernelPath::avx2: avx2_step(previous, item_scores, item_probabilities, next); return;
#endif
    default: baseline_step(previous, item_scores, item_probabilities, next); return;
  }
}

void add_item_to_distribution(std::span<const double> previous, std::span<const int> item_scores,
                              std::span<const double> item_probabilities, std::span<double> next) {
  add_item_to_distribution(previous, item_scores, item_probabilities, next, kernel_path());
}

}  // namespace irteq
