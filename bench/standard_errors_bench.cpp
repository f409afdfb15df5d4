// Standard errors at the limits: two forms of 200 five-category items (801
// score points), 100-point grids, linked through all 200 items by
// Stocking-Lord; the delta method with item-block covariances and with dense
// ones, and parametric draws on two threads, each beside one plain equate()
// of the same run, the unit their costs are stated in. The standard errors
// are timed alone, after the run's linking and equating.

#include <benchmark/benchmark.h>

#include <vector>

#include "common/score_range.hpp"
#include "form_builders.hpp"
#include "irteq/irteq.hpp"
#include "linking/screened_link.hpp"
#include "models/item_model_facts.hpp"
#include "standard_errors/standard_errors.hpp"

namespace {

using namespace irteq;

struct LinkedCase {
  RunInput run;
  RunResult result;  // the linking and the equating, without standard errors
  ParameterCovariances blocks;
  ParameterCovariances dense;

  static const LinkedCase& get() {
    static const LinkedCase instance;
    return instance;
  }

 private:
  LinkedCase() {
    EquatingInput& e = run.equating;
    e.items_y = bench::five_category_form(51001);
    e.items_x = bench::drifted(transform_items(e.items_y, 1.0 / 1.1, -0.2 / 1.1));
    e.grid_group2 = bench::normal_grid(100, -4.0, 4.0, 0.0);
    e.grid_group1 = bench::normal_grid(100, -4.0, 4.0, 0.1);
    const ScoreRange range = score_range(e.items_y);
    for (int raw = range.lowest; raw <= range.highest; ++raw) {
      e.scale_table.scale.push_back(100.0 + 0.125 * (raw - range.lowest));
      e.scale_table.rounded.push_back(static_cast<double>(static_cast<int>(e.scale_table.scale.back() + 0.5)));
    }
    e.scale_table.scale_min = 100;
    e.scale_table.scale_max = 200;
    LinkingInput l;
    for (const Item& item : e.items_y) l.common.push_back({item.number, item.number, 0});
    run.linking = l;
    result = irteq::run(run);
    blocks = {covariance(e.items_x, false), covariance(e.items_y, false)};
    dense = {covariance(e.items_x, true), covariance(e.items_y, true)};
  }

  // Variances 0.002 with covariances 0.0002 within each item; dense adds
  // 0.000002 between all parameters (still positive definite).
  static Covariance covariance(const std::vector<Item>& items, bool dense) {
    const std::size_t size = covariance_size(items);
    Covariance c{size, std::vector<double>(size * size, dense ? 0.000002 : 0.0)};
    std::size_t first = 0;
    for (const Item& item : items) {
      const std::size_t n = covariance_size({item});
      for (std::size_t i = 0; i < n; ++i) {
        for (std::size_t j = 0; j < n; ++j) c.values[(first + i) * size + first + j] = i == j ? 0.002 : 0.0002;
      }
      first += n;
    }
    return c;
  }
};

void BM_StandardErrors_PlainEquating(benchmark::State& state) {
  const LinkedCase& c = LinkedCase::get();
  const EquatingInput input = linked_input(c.run.equating, *c.result.linking);
  for (auto _ : state) benchmark::DoNotOptimize(equate(input).observed_score.equivalents.data());
}
BENCHMARK(BM_StandardErrors_PlainEquating)->Unit(benchmark::kMillisecond);

// The linking with its anchor statistics: 0 unscreened, 1 purified by
// robust z (cut 2.7), 2 purified by the Wald test (p below 0.01, item-block
// covariances), with every 20th form X item's locations moved by 0.5 so
// that purification takes its two rounds. Against BM_StandardErrors_PlainEquating.
void BM_Screening_Link(benchmark::State& state) {
  const LinkedCase& c = LinkedCase::get();
  LinkingInput linking = *c.run.linking;
  EquatingInput forms = c.run.equating;
  for (std::size_t i = 0; i < forms.items_x.size(); i += 20) {
    Item& item = forms.items_x[i];
    const auto m = static_cast<int>(item.category_scores.size());
    for (std::size_t k = 0; k < item.parameters.size(); ++k) {
      if (parameter_role(item.model, m, k) == ParameterRole::location) item.parameters[k] += 0.5;
    }
  }
  const ParameterCovariances* covariances = nullptr;
  if (state.range(0) == 1) {
    linking.screen = ScreeningStatistic::robust_z;
    linking.cut = 2.7;
  } else if (state.range(0) == 2) {
    linking.screen = ScreeningStatistic::wald;
    linking.cut = 0.01;
    covariances = &c.blocks;
  }
  std::size_t rounds = 0;
  std::size_t flagged = 0;
  for (auto _ : state) {
    const LinkingResult result = screened_link(forms, linking, covariances);
    benchmark::DoNotOptimize(result.A);
    rounds = result.rounds.size();
    flagged = rounds > 0 ? result.rounds.back().flagged.size() : 0;
  }
  state.counters["rounds"] = static_cast<double>(rounds);
  state.counters["flagged"] = static_cast<double>(flagged);
}
BENCHMARK(BM_Screening_Link)->DenseRange(0, 2)->Unit(benchmark::kMillisecond);

// Argument: 0 item blocks, 1 dense covariances.
void BM_StandardErrors_DeltaMethod(benchmark::State& state) {
  const LinkedCase& c = LinkedCase::get();
  RunOptions options;
  options.standard_errors.delta_method = true;
  options.covariances = state.range(0) == 0 ? c.blocks : c.dense;
  for (auto _ : state) {
    RunResult result = c.result;
    add_standard_errors(c.run, options, result);
    benchmark::DoNotOptimize(result.standard_errors->observed_raw.delta->data());
  }
}
BENCHMARK(BM_StandardErrors_DeltaMethod)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// Arguments: the number of draws, on two threads; 0 item blocks, 1 dense covariances.
void BM_StandardErrors_Draws(benchmark::State& state) {
  const LinkedCase& c = LinkedCase::get();
  const int draws = static_cast<int>(state.range(0));
  RunOptions options;
  options.standard_errors = {.draws = draws, .seed = 1, .threads = 2};
  options.covariances = state.range(1) == 0 ? c.blocks : c.dense;
  for (auto _ : state) {
    RunResult result = c.result;
    add_standard_errors(c.run, options, result);
    benchmark::DoNotOptimize(result.standard_errors->observed_raw.draws->data());
  }
}
// Wall time: the two threads share the draws.
BENCHMARK(BM_StandardErrors_Draws)->Args({100, 0})->Args({10, 1})->UseRealTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_StandardErrors_Draws)->Args({1000, 0})->Iterations(1)->UseRealTime()->Unit(benchmark::kMillisecond);

}  // namespace
