// Marginal raw score distribution at the largest sizes a run allows: 200
// five-category items scored 0 to 4 (801 score points) over 100 quadrature
// points. Nearly all of its time is the item-by-item recursion, so the time
// per multiply-add of that recursion is reported beside the time per call.

#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "common/kernel_path.hpp"
#include "common/score_distribution.hpp"
#include "common/score_range.hpp"
#include "form_builders.hpp"
#include "observed/conditional_score_distributions.hpp"
#include "observed/marginal_score_distribution.hpp"

namespace {

using namespace irteq;

void report_multiply_adds(benchmark::State& state, long long per_iteration) {
  const auto madds = static_cast<double>(per_iteration);
  state.counters["madds"] = benchmark::Counter(madds);
  // Iteration-invariant rate, inverted: CPU seconds per multiply-add.
  state.counters["time_per_madd"] =
      benchmark::Counter(madds, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

void BM_MarginalDistribution_200x5cat_100pts(benchmark::State& state) {
  const std::vector<Item> items = bench::five_category_form(7301);
  const QuadratureGrid grid = bench::normal_grid(100, -4.0, 4.0, 0.0);
  std::size_t points = 0;
  for (auto _ : state) {
    const ScoreDistribution result = marginal_score_distribution(items, grid);
    benchmark::DoNotOptimize(result.probabilities.data());
    points = result.point_count();
  }
  if (points != 801) state.SkipWithError("the form does not have 801 score points");
  report_multiply_adds(state, bench::multiply_adds_per_theta(items) * static_cast<long long>(grid.points.size()));
}
BENCHMARK(BM_MarginalDistribution_200x5cat_100pts)->Unit(benchmark::kMillisecond);

// One batch of conditional distributions, as many as the recursion carries
// at once, for the cost per quadrature point.
void BM_ConditionalDistributions_200x5cat(benchmark::State& state) {
  const std::vector<Item> items = bench::five_category_form(7301);
  const auto points = static_cast<std::size_t>(score_range(items).point_count());
  const std::size_t lanes = kernel_lanes(kernel_path());
  std::vector<double> thetas(lanes);
  std::vector<double> probabilities(lanes * points);
  double theta = -3.0;
  for (auto _ : state) {
    for (double& t : thetas) {
      t = theta;
      theta = theta < 3.0 ? theta + 0.1 : -3.0;
    }
    conditional_score_distributions(thetas, items, probabilities);
    benchmark::DoNotOptimize(probabilities.data());
    benchmark::ClobberMemory();
  }
  state.SetLabel(std::string(kernel_path_name(kernel_path())));
  report_multiply_adds(state, bench::multiply_adds_per_theta(items) * static_cast<long long>(lanes));
}
BENCHMARK(BM_ConditionalDistributions_200x5cat)->Unit(benchmark::kMicrosecond);

}  // namespace
