// The machine's peak for the recursion's arithmetic: separate multiplications
// and additions (no fused multiply-add), on as many independent running sums
// as keep the adders busy, all in registers. Beside it, the recursion's steps
// alone on each instruction set, on the largest distribution's sizes, as many
// distributions at once as the path carries, so that their times per
// multiply-add can be compared.

#include <benchmark/benchmark.h>

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "common/kernel_path.hpp"
#include "form_builders.hpp"
#include "models/category_probabilities.hpp"
#include "observed/add_item_to_distributions.hpp"

namespace {

using namespace irteq;

constexpr long long rounds = 1 << 16;

// Keeps the compiler from hoisting the products out of the loop, without
// sending the sums to memory as benchmark::DoNotOptimize's clobber would.
[[gnu::always_inline]] inline void opaque(double& p) {
#if IRTEQ_X86_KERNELS
  __asm__ volatile("" : "+x"(p));
#else
  benchmark::DoNotOptimize(p);
#endif
}

// GCC vectors of two, four and eight doubles, so that the loop is vector code
// on every path whatever the compiler's vectoriser decides.
template <std::size_t Lanes>
struct Doubles;
template <>
struct Doubles<2> {
  typedef double Vector __attribute__((vector_size(16)));
};
template <>
struct Doubles<4> {
  typedef double Vector __attribute__((vector_size(32)));
};
template <>
struct Doubles<8> {
  typedef double Vector __attribute__((vector_size(64)));
};

// Six vector registers of sums, enough to cover the additions' latency:
// sums[r] += factors[r] * p, the recursion's multiply-add, the factors in
// registers too.
template <std::size_t Lanes>
[[gnu::always_inline]] inline double plain_multiply_adds(double p, long long count) {
  using Vector = typename Doubles<Lanes>::Vector;
  constexpr std::size_t registers = 6;
  Vector sums[registers] = {};
  Vector factors[registers];
  for (std::size_t r = 0; r < registers; ++r) {
    for (std::size_t t = 0; t < Lanes; ++t) factors[r][t] = 1.0 + 1e-9 * static_cast<double>(r * Lanes + t);
  }
  for (long long i = 0; i < count; ++i) {
    for (std::size_t r = 0; r < registers; ++r) sums[r] += factors[r] * p;
    opaque(p);
  }
  double total = 0.0;
  for (std::size_t r = 0; r < registers; ++r) {
    for (std::size_t t = 0; t < Lanes; ++t) total += sums[r][t];
  }
  return total;
}

double peak_loop(KernelPath path, double p, long long count, long long& madds) {
  switch (path) {
#if IRTEQ_X86_KERNELS
    case KernelPath::avx512:
      madds = count * 6 * 8;
      return [](double q, long long n) __attribute__((target("avx512f"))) { return plain_multiply_adds<8>(q, n); }(
          p, count);
    case KernelPath::avx2:
      madds = count * 6 * 4;
      return [](double q, long long n) __attribute__((target("avx2"))) { return plain_multiply_adds<4>(q, n); }(
          p, count);
#endif
    default: madds = count * 6 * 2; return plain_multiply_adds<2>(p, count);
  }
}

void time_per_madd(benchmark::State& state, double madds) {
  state.counters["time_per_madd"] =
      benchmark::Counter(madds, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

void BM_VectorPeak(benchmark::State& state) {
  const auto path = static_cast<KernelPath>(state.range(0));
  if (!kernel_path_supported(path)) return state.SkipWithError("this processor lacks the instruction set");
  state.SetLabel(std::string(kernel_path_name(path)));
  long long madds = 0;
  for (auto _ : state) benchmark::DoNotOptimize(peak_loop(path, 0.5, rounds, madds));
  time_per_madd(state, static_cast<double>(madds));
}
BENCHMARK(BM_VectorPeak)->Arg(0)->Arg(1)->Arg(2);

// The recursion's steps of one batch of conditional distributions (200
// five-category items, 801 score points), with fixed category probabilities
// for thetas 0.30, 0.31, ..., in 64-byte aligned buffers with four points of
// zeros below point 0, as the recursion lays them out.
void BM_RecursionSteps(benchmark::State& state) {
  const auto path = static_cast<KernelPath>(state.range(0));
  if (!kernel_path_supported(path)) return state.SkipWithError("this processor lacks the instruction set");
  state.SetLabel(std::string(kernel_path_name(path)));
  const std::size_t lanes = kernel_lanes(path);
  const std::vector<Item> items = bench::five_category_form(7301);
  std::vector<double> probabilities(items.size() * 5 * lanes);
  for (std::size_t i = 0; i < items.size(); ++i) {
    for (std::size_t t = 0; t < lanes; ++t) {
      std::array<double, 5> p;
      category_probabilities(items[i], 0.3 + 0.01 * static_cast<double>(t), p);
      for (std::size_t k = 0; k < 5; ++k) probabilities[(i * 5 + k) * lanes + t] = p[k];
    }
  }
  constexpr std::size_t padding = 4;
  const std::size_t size = (padding + 801) * lanes;
  std::vector<double> storage(2 * size + 8);
  double* const first = storage.data() + (64 - reinterpret_cast<std::uintptr_t>(storage.data()) % 64) % 64 / 8;
  for (auto _ : state) {
    double* current = first;
    double* next = first + size;
    std::fill_n(first, 2 * size, 0.0);
    std::fill_n(current + padding * lanes, lanes, 1.0);
    std::size_t count = 1;
    for (std::size_t i = 0; i < items.size(); ++i) {
      const std::span<const int> scores(items[i].category_scores);
      add_item_to_distributions({current, (padding + count + 4) * lanes}, scores,
                                {probabilities.data() + i * 5 * lanes, 5 * lanes},
                                {next + padding * lanes, (count + 4) * lanes}, path);
      count += 4;
      std::swap(current, next);
    }
    benchmark::DoNotOptimize(current);
    benchmark::ClobberMemory();
  }
  time_per_madd(state, static_cast<double>(bench::multiply_adds_per_theta(items)) * static_cast<double>(lanes));
}
BENCHMARK(BM_RecursionSteps)->Arg(0)->Arg(1)->Arg(2)->Unit(benchmark::kMicrosecond);

}  // namespace
