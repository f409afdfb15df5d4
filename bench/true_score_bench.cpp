// True score equating of two 200-item mixed-format forms: one root search per
// form X score point, each a few dozen evaluations of the test characteristic
// function over all 200 items.

#include <benchmark/benchmark.h>

#include <sstream>
#include <vector>

#include "common/console.hpp"
#include "form_builders.hpp"
#include "truescore/test_characteristic_function.hpp"
#include "truescore/true_score_equivalents.hpp"

namespace {

using namespace irteq;

void BM_TrueScoreEquivalents_Mixed200(benchmark::State& state) {
  const auto items_y = bench::mixed_form(20240501);
  const auto items_x = bench::mixed_form(20240502);
  const std::vector<double> scores_x = bench::raw_score_points(*items_x);
  const std::vector<double> scores_y = bench::raw_score_points(*items_y);
  std::vector<double> thetas(scores_x.size());
  std::vector<double> equivalents(scores_x.size());

  std::istringstream console_in;
  std::ostringstream console_out;
  Console console{console_in, console_out};
  for (auto _ : state) {
    true_score_equivalents(*items_y, *items_x, scores_x, scores_y, thetas, equivalents, console);
    benchmark::DoNotOptimize(equivalents.data());
    benchmark::ClobberMemory();
  }
  // A root finder warning would mean the forms do not make a fair case.
  if (!console_out.str().empty()) state.SkipWithError("the root finder wrote a warning");
  state.counters["x_points"] = static_cast<double>(scores_x.size());
  state.SetItemsProcessed(state.iterations() * static_cast<long long>(scores_x.size()));
}
BENCHMARK(BM_TrueScoreEquivalents_Mixed200)->Unit(benchmark::kMillisecond);

// One evaluation of the test characteristic function, the unit of work of
// every root search step.
void BM_TestCharacteristicFunction_Mixed200(benchmark::State& state) {
  const auto items = bench::mixed_form(20240502);
  double theta = -3.0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(test_characteristic_function(*items, theta));
    theta = theta < 3.0 ? theta + 0.01 : -3.0;
  }
}
BENCHMARK(BM_TestCharacteristicFunction_Mixed200)->Unit(benchmark::kMicrosecond);

}  // namespace
