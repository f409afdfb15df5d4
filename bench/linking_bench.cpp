// Linking at the limits: 200 common items (the form of the full-run
// benchmark, about 800 score points), 100-point grids on both scales, every
// method computed, the symmetric criteria. Form X is form Y on another scale
// with each item drifted a little, so that the criteria keep a residual and
// Newton's method works from moment-method start values as it does on real data.

#include <benchmark/benchmark.h>

#include <vector>

#include "form_builders.hpp"
#include "irteq/irteq.hpp"
#include "irteq/linking.hpp"

namespace {

using namespace irteq;

LinkingInput largest_linking(bool symmetric) {
  LinkingInput input;
  input.items_y = bench::wide_mixed_form(41001, 50);
  input.items_x = bench::drifted(transform_items(input.items_y, 1.0 / 1.1, -0.2 / 1.1));
  input.grid_group2 = bench::normal_grid(100, -4.0, 4.0, 0.0);
  input.grid_group1 = bench::normal_grid(100, -4.0, 4.0, 0.1);
  for (const Item& item : input.items_y) input.common.push_back({item.number, item.number, 0});
  input.symmetric = symmetric;
  return input;
}

void BM_Link_200Common(benchmark::State& state) {
  const LinkingInput input = largest_linking(state.range(0) != 0);
  int iterations = 0;
  for (auto _ : state) {
    const LinkingResult result = link(input);
    benchmark::DoNotOptimize(result.A);
    iterations = result.methods[2].iterations + result.methods[3].iterations;
  }
  state.counters["newton_steps"] = iterations;
}
// Argument 1: the symmetric criteria, on both scales.
BENCHMARK(BM_Link_200Common)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

}  // namespace
