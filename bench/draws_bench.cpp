// Parametric draws at the limits: the full-run benchmark's two 200-item
// forms of about 800 score points and 100-point grids, each item's
// parameters with a covariance block of their own (as calibration programs
// give them), 1000 draws on two threads. Beside it one plain equate() of
// the same input, and the counters give the draws' time in plain equatings
// on two threads and on one. A linked variant draws form X on its own scale
// and links each draw again by Stocking-Lord over 200 common items.

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <optional>
#include <vector>

#include "case_files.hpp"
#include "common/score_range.hpp"
#include "form_builders.hpp"
#include "irteq/irteq.hpp"
#include "irteq/linking.hpp"
#include "irteq/standard_errors.hpp"
#include "models/parameter_derivatives.hpp"
#include "standard_errors/parametric_draws.hpp"
#include "standard_errors/summarise_draws.hpp"

namespace {

using namespace irteq;

// Standard errors of the size a calibration of a few thousand examinees
// gives: 0.05 for slopes and locations, 0.02 for a lower asymptote, and a
// correlation of 0.3 between any two of an item's parameters.
Covariance item_blocks(const std::vector<Item>& items) {
  const std::size_t size = covariance_size(items);
  Covariance covariance{size, std::vector<double>(size * size, 0.0)};
  std::size_t first = 0;
  for (const Item& item : items) {
    const std::size_t n = estimated_parameter_count(item);
    const auto sd = [&](std::size_t k) { return item.model == ItemModel::l3 && k == 2 ? 0.02 : 0.05; };
    for (std::size_t i = 0; i < n; ++i) {
      for (std::size_t j = 0; j < n; ++j) {
        covariance.values[(first + i) * size + first + j] = (i == j ? 1.0 : 0.3) * sd(i) * sd(j);
      }
    }
    first += n;
  }
  return covariance;
}

// Form Y on another scale with each item drifted a little, as in the linking benchmark.
std::vector<Item> drifted_copy(const std::vector<Item>& form_y) {
  std::vector<Item> items = transform_items(form_y, 1.0 / 1.1, -0.2 / 1.1);
  for (std::size_t i = 0; i < items.size(); ++i) {
    const double drift = 0.05 * std::sin(static_cast<double>(i));
    std::vector<double>& p = items[i].parameters;
    const std::size_t first = p.size() - estimated_parameter_count(items[i]);
    if (items[i].model == ItemModel::bn) {
      for (std::size_t k = first; k < first + (p.size() - first) / 2; ++k) p[k] *= 1.0 + drift;
    } else {
      p[first] *= 1.0 + drift;
      for (std::size_t k = first + 1; k < p.size(); ++k) p[k] += items[i].model == ItemModel::l3 && k == 3 ? 0.0 : drift;
    }
  }
  return items;
}

class DrawsCase {
 public:
  static DrawsCase& get() {
    static DrawsCase instance;
    return instance;
  }
  const RunInput& run(bool linked) const { return linked ? linked_ : plain_; }
  const std::optional<LinkingResult>& linking(bool linked) const { return linked ? linking_ : no_linking_; }
  ParameterCovariances covariances(bool linked) const {
    const RunInput& r = run(linked);
    return {item_blocks(r.equating.items_x), item_blocks(r.equating.items_y), "form X covariance", "form Y covariance"};
  }

 private:
  DrawsCase() : folder_("irteq-draws-bench") {
    const std::vector<Item> form_y = bench::wide_mixed_form(41001, 50);
    const std::vector<Item> form_x = bench::wide_mixed_form(41002, 50);
    const ScoreRange y_range = score_range(form_y);
    const std::filesystem::path folder = folder_.path();
    bench::write_item_parameter_file(folder / bench::form_y_name, form_y, "form y: 200 mixed-format items");
    bench::write_item_parameter_file(folder / bench::form_x_name, form_x, "form x: 200 mixed-format items");
    bench::write_quadrature_file(folder / bench::group2_name, bench::normal_grid(100, -4.0, 4.0, 0.0),
                                 "group 2: normal, mean 0.0");
    bench::write_quadrature_file(folder / bench::group1_name, bench::normal_grid(100, -4.0, 4.0, 0.1),
                                 "group 1: normal, mean 0.1");
    bench::write_scale_file(folder / bench::scale_name, y_range.lowest, y_range.highest, 100, 200, 0.5,
                            "form y raw-to-scale conversion");
    bench::write_control_file(folder / "control.txt", folder);
    plain_.equating = read_control_file(folder / "control.txt");

    linked_ = plain_;
    EquatingInput& input = linked_.equating;
    input.items_x = drifted_copy(input.items_y);
    LinkingInput linking;
    linking.items_x = input.items_x;
    linking.items_y = input.items_y;
    linking.grid_group1 = input.grid_group1;
    linking.grid_group2 = input.grid_group2;
    for (const Item& item : input.items_y) linking.common.push_back({item.number, item.number, 0});
    linked_.linking = linking;
    linking_ = link(linking);
  }

  bench::TemporaryFolder folder_;
  RunInput plain_;
  RunInput linked_;
  std::optional<LinkingResult> linking_;
  std::optional<LinkingResult> no_linking_;
};

// Seconds of the fastest of a few plain equatings of the run (linked first when it links).
double plain_equating_seconds(const RunInput& run, const std::optional<LinkingResult>& linking, int threads) {
  const EquatingInput input = linking ? linked_input(run.equating, *linking) : run.equating;
  double best = 1e300;
  for (int k = 0; k < 5; ++k) {
    const auto start = std::chrono::steady_clock::now();
    benchmark::DoNotOptimize(equate(input, {.threads = threads}).moments.data());
    best = std::min(best, std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
  }
  return best;
}

// Arguments: the number of draws and whether the run links.
void BM_ParametricDraws(benchmark::State& state) {
  const bool linked = state.range(1) != 0;
  const DrawsCase& draws_case = DrawsCase::get();
  const RunInput& run = draws_case.run(linked);
  const std::optional<LinkingResult>& linking = draws_case.linking(linked);
  const ParameterCovariances covariances = draws_case.covariances(linked);
  const StandardErrorOptions options{.draws = static_cast<int>(state.range(0)), .seed = 1, .threads = 2, .progress = {}};
  const double one_thread = plain_equating_seconds(run, linking, 1);
  const double two_threads = plain_equating_seconds(run, linking, 2);
  double seconds = 0.0;
  int redraws = 0;
  for (auto _ : state) {
    const auto start = std::chrono::steady_clock::now();
    StandardErrors errors;
    summarise_draws(parametric_draws(run, linking, covariances, options), errors);
    seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    redraws = errors.redraws;
    benchmark::DoNotOptimize(errors.true_raw.draws_sd.data());
  }
  state.counters["redraws"] = redraws;
  state.counters["equatings_2_threads"] = seconds / two_threads;
  state.counters["equatings_1_thread"] = seconds / one_thread;
}
BENCHMARK(BM_ParametricDraws)
    ->ArgNames({"draws", "linked"})
    ->Args({1000, 0})
    ->Args({200, 1})
    ->Iterations(1)
    ->MeasureProcessCPUTime()
    ->UseRealTime()
    ->Unit(benchmark::kSecond);

// One plain equate() of the same input, on one thread and on two.
void BM_ParametricDraws_PlainEquate(benchmark::State& state) {
  const RunInput& run = DrawsCase::get().run(false);
  const EquatingOptions options{.threads = static_cast<int>(state.range(0))};
  for (auto _ : state) benchmark::DoNotOptimize(equate(run.equating, options).moments.data());
}
BENCHMARK(BM_ParametricDraws_PlainEquate)
    ->ArgName("threads")
    ->Arg(1)
    ->Arg(2)
    ->MeasureProcessCPUTime()
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond);

}  // namespace
