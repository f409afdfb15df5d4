// One whole run at the limits: two 200-item mixed-format forms of about 800
// score points each and two 100-point grids, read from files, equated and
// reported, exactly as a user's run does it. Beside it, the two stages that
// do the computing are timed alone on the same inputs, so that the share of
// reading and writing is the full run less those two.

#include <benchmark/benchmark.h>

#include <memory>
#include <span>
#include <sstream>
#include <string>

#include "case_files.hpp"
#include "common/console.hpp"
#include "common/report_file.hpp"
#include "driver/run_data.hpp"
#include "driver/run_equating.hpp"
#include "driver/run_steps.hpp"
#include "driver/write_results.hpp"
#include "form_builders.hpp"
#include "observed/score_range.hpp"

namespace {

using namespace irteq;

// The input files of the case, written once into a temporary folder, and the
// run data as the program reads them back (and, for the stages that need
// earlier results, as far as those results go).
class FullRunCase {
 public:
  static FullRunCase& get() {
    static FullRunCase instance;
    return instance;
  }

  const std::filesystem::path& folder() const { return folder_.path(); }
  std::string console_input() const { return (folder() / "control.txt").string() + "\n\n"; }
  const RunData& inputs() const { return *inputs_; }
  const RunData& results() const { return *results_; }

  // The reading half of a run: both forms' files into fresh run data.
  void read_case(RunData& run, const std::filesystem::path& report_path) const {
    run.file_names[slot_output] = report_path.string();
    run.file_names[slot_old_para] = (folder() / bench::form_y_name).string();
    run.file_names[slot_old_quad] = (folder() / bench::group2_name).string();
    run.file_names[slot_raw2scale] = (folder() / bench::scale_name).string();
    run.file_names[slot_new_para] = (folder() / bench::form_x_name).string();
    run.file_names[slot_new_quad] = (folder() / bench::group1_name).string();
    ReportFile report(run.file_names[slot_output]);
    read_inputs(run, report);
    report.close();
  }

 private:
  FullRunCase() : folder_("irteq-bench") {
    const auto form_y = bench::wide_mixed_form(41001, 50);
    const auto form_x = bench::wide_mixed_form(41002, 50);
    const ScoreRange y_range = score_range(*form_y);
    bench::write_item_parameter_file(folder() / bench::form_y_name, *form_y, "form y: 200 mixed-format items");
    bench::write_item_parameter_file(folder() / bench::form_x_name, *form_x, "form x: 200 mixed-format items");
    bench::write_quadrature_file(folder() / bench::group2_name, bench::normal_grid(100, -4.0, 4.0, 0.0),
                                 "group 2: normal, mean 0.0");
    bench::write_quadrature_file(folder() / bench::group1_name, bench::normal_grid(100, -4.0, 4.0, 0.1),
                                 "group 1: normal, mean 0.1");
    bench::write_scale_file(folder() / bench::scale_name, y_range.lowest, y_range.highest, 100, 200, 0.5,
                            "form y raw-to-scale conversion");
    bench::write_control_file(folder() / "control.txt", folder());

    inputs_ = std::make_unique<RunData>();
    read_case(*inputs_, folder() / "setup-report.txt");
    results_ = std::make_unique<RunData>(*inputs_);
    std::istringstream in;
    std::ostringstream out;
    Console console{in, out};
    compute_distributions(*results_);
    compute_equivalents(*results_, console);
  }

  bench::TemporaryFolder folder_;
  std::unique_ptr<RunData> inputs_;
  std::unique_ptr<RunData> results_;
};

void report_score_points(benchmark::State& state, const RunData& run) {
  state.counters["y_points"] = static_cast<double>(score_range(run.items_y).point_count());
  state.counters["x_points"] = static_cast<double>(score_range(run.items_x).point_count());
}

void BM_FullRun(benchmark::State& state) {
  FullRunCase& run_case = FullRunCase::get();
  const std::string console_input = run_case.console_input();
  std::string failure;
  for (auto _ : state) {
    std::istringstream in(console_input);
    std::ostringstream out;
    std::ostringstream errors;
    Console console{in, out};
    const int status = run_equating(console, errors);
    // The console should hold the prompt and the closing line, nothing else.
    if (status != 0) {
      failure = "the run ended with status " + std::to_string(status) + ": " + errors.str();
    } else if (out.str().find("zbrent") != std::string::npos) {
      failure = "the root finder wrote a warning";
    }
    if (!failure.empty()) break;
  }
  if (!failure.empty()) state.SkipWithError(failure.c_str());
  report_score_points(state, run_case.inputs());
}
BENCHMARK(BM_FullRun)->Unit(benchmark::kMillisecond);

// Stage: the four marginal distributions and the two synthetic ones.
void BM_FullRun_Distributions(benchmark::State& state) {
  FullRunCase& run_case = FullRunCase::get();
  const auto run = std::make_unique<RunData>(run_case.inputs());
  for (auto _ : state) {
    compute_distributions(*run);
    benchmark::ClobberMemory();
  }
  const long long madds = (bench::multiply_adds_per_theta(run->items_y) + bench::multiply_adds_per_theta(run->items_x)) *
                          (run->grid_group1.count + run->grid_group2.count);
  state.counters["madds"] = static_cast<double>(madds);
  state.counters["time_per_madd"] = benchmark::Counter(
      static_cast<double>(madds), benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
  report_score_points(state, *run);
}
BENCHMARK(BM_FullRun_Distributions)->Unit(benchmark::kMillisecond);

// The reading half of the rest: both forms' files read and echoed.
void BM_FullRun_ReadInputs(benchmark::State& state) {
  FullRunCase& run_case = FullRunCase::get();
  const auto run = std::make_unique<RunData>();
  const std::filesystem::path report_path = run_case.folder() / "read-report.txt";
  for (auto _ : state) {
    run_case.read_case(*run, report_path);
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_FullRun_ReadInputs)->Unit(benchmark::kMillisecond);

// The writing half of the rest: the result sections of the report.
void BM_FullRun_WriteResults(benchmark::State& state) {
  FullRunCase& run_case = FullRunCase::get();
  const std::string report_path = (run_case.folder() / "results-report.txt").string();
  for (auto _ : state) {
    ReportFile report(report_path);
    write_results(run_case.results(), report);
    report.close();
  }
}
BENCHMARK(BM_FullRun_WriteResults)->Unit(benchmark::kMillisecond);

// Stage: all equivalents (observed, true, scale and rounded), true score
// equating being nearly all of it.
void BM_FullRun_Equivalents(benchmark::State& state) {
  FullRunCase& run_case = FullRunCase::get();
  const auto run = std::make_unique<RunData>(run_case.results());
  std::istringstream in;
  std::ostringstream out;
  Console console{in, out};
  for (auto _ : state) {
    compute_equivalents(*run, console);
    benchmark::ClobberMemory();
  }
  if (!out.str().empty()) state.SkipWithError("the root finder wrote a warning");
}
BENCHMARK(BM_FullRun_Equivalents)->Unit(benchmark::kMillisecond);

}  // namespace
