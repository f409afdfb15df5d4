// Reading a covariance file at the limits: the 600 x 600 covariance of a form
// of 200 "L3" items, every value in %.17g, beside the form's item parameter
// file, so that the two readers compare per value, and beside one plain
// equate() of two such forms, the unit a run's costs are stated in.

#include <benchmark/benchmark.h>

#include <cstdint>
#include <vector>

#include "case_files.hpp"
#include "form_builders.hpp"
#include "irteq/irteq.hpp"

namespace {

using namespace irteq;

class CovarianceCase {
 public:
  static const CovarianceCase& get() {
    static const CovarianceCase instance;
    return instance;
  }

  std::filesystem::path covariance_file() const { return folder_.path() / "formx.cov"; }
  std::filesystem::path item_file() const { return folder_.path() / bench::form_x_name; }
  const EquatingInput& input() const { return input_; }
  std::size_t size() const { return size_; }

 private:
  CovarianceCase() : folder_("irteq-bench-cov") {
    EquatingInput& e = input_;
    e.items_y = bench::build_form({.l3_items = 200}, 61001);
    e.items_x = bench::build_form({.l3_items = 200}, 61002);
    e.grid_group2 = bench::normal_grid(100, -4.0, 4.0, 0.0);
    e.grid_group1 = bench::normal_grid(100, -4.0, 4.0, 0.1);
    for (int raw = 0; raw <= 200; ++raw) {
      e.scale_table.scale.push_back(100.0 + 0.5 * raw);
      e.scale_table.rounded.push_back(static_cast<double>(static_cast<int>(e.scale_table.scale.back() + 0.5)));
    }
    e.scale_table.scale_min = 100;
    e.scale_table.scale_max = 200;
    bench::write_item_parameter_file(item_file(), e.items_x, "form x: 200 L3 items");

    // Variances of real calibrations and small covariances, each written
    // once for both halves so that the mirror holds the very same double.
    size_ = covariance_size(e.items_x);
    Covariance c{size_, std::vector<double>(size_ * size_, 0.0)};
    bench::Draws draws(61003);
    for (std::size_t i = 0; i < size_; ++i) {
      c.values[i * size_ + i] = draws.uniform(0.001, 0.05);
      for (std::size_t j = 0; j < i; ++j) {
        c.values[i * size_ + j] = c.values[j * size_ + i] = draws.uniform(-1e-4, 1e-4);
      }
    }
    bench::write_covariance_file(covariance_file(), c, "form x: covariance of 600 estimates");
  }

  bench::TemporaryFolder folder_;
  EquatingInput input_;
  std::size_t size_ = 0;
};

// Time per value read, and the file's bytes per second.
void count_values(benchmark::State& state, double values, const std::filesystem::path& file) {
  state.counters["values"] = values;
  state.counters["time_per_value"] =
      benchmark::Counter(values, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                          static_cast<std::int64_t>(std::filesystem::file_size(file)));
}

void BM_CovarianceFile_Read(benchmark::State& state) {
  const CovarianceCase& c = CovarianceCase::get();
  for (auto _ : state) benchmark::DoNotOptimize(read_covariance(c.covariance_file(), c.input().items_x).values.data());
  count_values(state, static_cast<double>(c.size() * c.size()), c.covariance_file());
}
BENCHMARK(BM_CovarianceFile_Read)->Unit(benchmark::kMillisecond);

// Every value the item reader takes: per item its number, type code, number
// of categories, two category scores and D, a, b, c.
void BM_CovarianceFile_ReadItems(benchmark::State& state) {
  const CovarianceCase& c = CovarianceCase::get();
  for (auto _ : state) benchmark::DoNotOptimize(read_items(c.item_file()).data());
  count_values(state, 9.0 * static_cast<double>(c.input().items_x.size()), c.item_file());
}
BENCHMARK(BM_CovarianceFile_ReadItems)->Unit(benchmark::kMicrosecond);

void BM_CovarianceFile_PlainEquating(benchmark::State& state) {
  const CovarianceCase& c = CovarianceCase::get();
  bool warned = false;
  for (auto _ : state) {
    const EquatingResult result = equate(c.input());
    benchmark::DoNotOptimize(result.moments.data());
    warned = warned || !result.warnings.empty();
  }
  if (warned) state.SkipWithError("the root finder gave a warning");
}
BENCHMARK(BM_CovarianceFile_PlainEquating)->Unit(benchmark::kMillisecond);

}  // namespace
