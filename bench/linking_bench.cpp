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

EquatingInput largest_forms() {
  EquatingInput forms;
  forms.items_y = bench::wide_mixed_form(41001, 50);
  forms.items_x = bench::drifted(transform_items(forms.items_y, 1.0 / 1.1, -0.2 / 1.1));
  forms.grid_group2 = bench::normal_grid(100, -4.0, 4.0, 0.0);
  forms.grid_group1 = bench::normal_grid(100, -4.0, 4.0, 0.1);
  return forms;
}

void BM_Link_200Common(benchmark::State& state) {
  const EquatingInput forms = largest_forms();
  LinkingInput linking;
  for (const Item& item : forms.items_y) linking.common.push_back({item.number, item.number, 0});
  linking.symmetric = state.range(0) != 0;
  int iterations = 0;
  for (auto _ : state) {
    const LinkingResult result = link(forms, linking);
    benchmark::DoNotOptimize(result.A);
    iterations = *result.methods[2].iterations + *result.methods[3].iterations;
  }
  state.counters["newton_steps"] = iterations;
}
// Argument 1: the symmetric criteria, on both scales.
BENCHMARK(BM_Link_200Common)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

}  // namespace
