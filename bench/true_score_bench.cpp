// True score equating of two 200-item mixed-format forms: one root search per
// form X score point, each a few dozen evaluations of the test characteristic
// function over all 200 items; at the default root tolerance and tighter ones.

#include <benchmark/benchmark.h>

#include <cmath>
#include <vector>

#include "common/score_range.hpp"
#include "form_builders.hpp"
#include "irteq/equate.hpp"
#include "irteq/result.hpp"
#include "models/test_characteristic_function.hpp"
#include "truescore/true_score_equivalents.hpp"

namespace {

using namespace irteq;

// Argument: n of the root tolerance 10^-n (6, the default, with the reports' rule).
void BM_TrueScoreEquivalents_Mixed200(benchmark::State& state) {
  const double root_tolerance =
      state.range(0) == 6 ? default_root_tolerance : std::pow(10.0, -static_cast<double>(state.range(0)));
  const std::vector<Item> items_y = bench::mixed_form(20240501);
  const std::vector<Item> items_x = bench::mixed_form(20240502);
  const std::vector<double> scores_x = score_points(score_range(items_x));
  const std::vector<double> scores_y = score_points(score_range(items_y));
  TrueScoreEquating result;
  std::vector<RootFinderWarning> warnings;
  for (auto _ : state) {
    true_score_equivalents(items_y, items_x, scores_x, scores_y, root_tolerance, result, warnings);
    benchmark::DoNotOptimize(result.equivalents.data());
    benchmark::ClobberMemory();
  }
  // A root finder warning would mean the forms do not make a fair case.
  if (!warnings.empty()) state.SkipWithError("the root finder gave a warning");
  state.counters["x_points"] = static_cast<double>(scores_x.size());
  state.SetItemsProcessed(state.iterations() * static_cast<long long>(scores_x.size()));
}
BENCHMARK(BM_TrueScoreEquivalents_Mixed200)->Arg(6)->Arg(12)->Arg(14)->Arg(16)->Unit(benchmark::kMillisecond);

// One evaluation of the test characteristic function, the unit of work of
// every root search step.
void BM_TestCharacteristicFunction_Mixed200(benchmark::State& state) {
  const std::vector<Item> items = bench::mixed_form(20240502);
  double theta = -3.0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(test_characteristic_function(items, theta));
    theta = theta < 3.0 ? theta + 0.01 : -3.0;
  }
}
BENCHMARK(BM_TestCharacteristicFunction_Mixed200)->Unit(benchmark::kMicrosecond);

}  // namespace
