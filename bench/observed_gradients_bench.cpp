// Delta-method gradients of the observed score equivalents at the limits:
// two forms of 200 five-category items (801 score points each) and two
// 100-point grids, form X linked by A = 1.1, B = -0.2; beside them one
// equate() of the same linked input, the unit they are measured in.

#include <benchmark/benchmark.h>

#include <vector>

#include "common/kernel_path.hpp"
#include "form_builders.hpp"
#include "irteq/irteq.hpp"
#include "irteq/linking.hpp"
#include "standard_errors/gradients.hpp"
#include "standard_errors/observed_score_gradients.hpp"

namespace {

using namespace irteq;

constexpr double linking_a = 1.1;
constexpr double linking_b = -0.2;

// The run as read (form X on its own scale), its linked input and the result equate() gives for it.
struct GradientCase {
  EquatingInput input;
  EquatingInput linked;
  EquatingResult result;
  ParameterLayout layout;

  static const GradientCase& get() {
    static const GradientCase instance;
    return instance;
  }

 private:
  GradientCase() {
    input = bench::five_category_run();
    linked = input;
    linked.items_x = transform_items(input.items_x, linking_a, linking_b);
    linked.grid_group1 = transform_grid(input.grid_group1, linking_a, linking_b);
    result = equate(linked);
    layout = parameter_layout(input.items_x, input.items_y);
  }
};

void report_size(benchmark::State& state, const GradientCase& c) {
  state.counters["x_points"] = static_cast<double>(c.result.x.raw_scores.size());
  state.counters["columns"] = static_cast<double>(c.layout.columns());
  state.SetLabel(std::string(kernel_path_name(kernel_path())));
}

void BM_ObservedGradients_Equate(benchmark::State& state) {
  const GradientCase& c = GradientCase::get();
  for (auto _ : state) {
    const EquatingResult result = equate(c.linked);
    benchmark::DoNotOptimize(result.observed_score.equivalents.data());
  }
  report_size(state, c);
}
BENCHMARK(BM_ObservedGradients_Equate)->MeasureProcessCPUTime()->UseRealTime()->Unit(benchmark::kMillisecond);

void BM_ObservedGradients(benchmark::State& state) {
  const GradientCase& c = GradientCase::get();
  const int threads = static_cast<int>(state.range(0));
  for (auto _ : state) {
    const Gradients gradients = observed_score_gradients(c.input, linking_a, linking_b, c.result, c.layout, threads);
    benchmark::DoNotOptimize(gradients.values.data());
  }
  report_size(state, c);
}
BENCHMARK(BM_ObservedGradients)
    ->ArgName("threads")
    ->Arg(1)
    ->Arg(2)
    ->MeasureProcessCPUTime()
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond);

}  // namespace
