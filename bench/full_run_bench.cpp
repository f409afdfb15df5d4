// One whole run at the limits: two 200-item mixed-format forms of about 800
// score points each and two 100-point grids, read from files, equated and
// reported, exactly as a user's run does it (the dialogue on the cores
// available, batch mode and the library on one thread and on two). Beside it, the library's
// equate() on the same input held in memory, and the stages timed alone:
// reading, the two that do the computing, and writing.

#include <benchmark/benchmark.h>

#include <sstream>
#include <string>
#include <vector>

#include "case_files.hpp"
#include "common/kernel_path.hpp"
#include "common/score_range.hpp"
#include "driver/console.hpp"
#include "driver/report_file.hpp"
#include "driver/run_batch.hpp"
#include "driver/run_dialogue.hpp"
#include "form_builders.hpp"
#include "irteq/irteq.hpp"
#include "models/normalised_grid.hpp"
#include "models/prepare_items.hpp"
#include "observed/adjust_zero_probabilities.hpp"
#include "observed/equipercentile_equivalents.hpp"
#include "observed/marginal_score_distribution.hpp"
#include "observed/raw_to_scale.hpp"
#include "observed/round_scale_scores.hpp"
#include "observed/synthetic_distribution.hpp"
#include "truescore/true_score_equivalents.hpp"

namespace {

using namespace irteq;

// The input files of the case, written once into a temporary folder; the
// input as the library reads them back, the items and grids as equate()
// hands them to the stages, and its result for the stages that start from one.
class FullRunCase {
 public:
  static FullRunCase& get() {
    static FullRunCase instance;
    return instance;
  }

  const std::filesystem::path& folder() const { return folder_.path(); }
  std::filesystem::path control_file() const { return folder() / "control.txt"; }
  const ControlFile& files() const { return files_; }
  const EquatingInput& input() const { return input_; }
  const EquatingResult& result() const { return result_; }
  const std::vector<Item>& items_x() const { return items_x_; }
  const std::vector<Item>& items_y() const { return items_y_; }
  const QuadratureGrid& group1() const { return group1_; }
  const QuadratureGrid& group2() const { return group2_; }

 private:
  FullRunCase() : folder_("irteq-bench") {
    const std::vector<Item> form_y = bench::wide_mixed_form(41001, 50);
    const std::vector<Item> form_x = bench::wide_mixed_form(41002, 50);
    const ScoreRange y_range = score_range(form_y);
    bench::write_item_parameter_file(folder() / bench::form_y_name, form_y, "form y: 200 mixed-format items");
    bench::write_item_parameter_file(folder() / bench::form_x_name, form_x, "form x: 200 mixed-format items");
    bench::write_quadrature_file(folder() / bench::group2_name, bench::normal_grid(100, -4.0, 4.0, 0.0),
                                 "group 2: normal, mean 0.0");
    bench::write_quadrature_file(folder() / bench::group1_name, bench::normal_grid(100, -4.0, 4.0, 0.1),
                                 "group 1: normal, mean 0.1");
    bench::write_scale_file(folder() / bench::scale_name, y_range.lowest, y_range.highest, 100, 200, 0.5,
                            "form y raw-to-scale conversion");
    bench::write_control_file(control_file(), folder());

    files_ = read_control(control_file());
    input_ = read_control_file(control_file());
    items_x_ = prepare_items(input_.items_x);
    items_y_ = prepare_items(input_.items_y);
    group1_ = normalised_grid(input_.grid_group1);
    group2_ = normalised_grid(input_.grid_group2);
    result_ = equate(input_);
  }

  bench::TemporaryFolder folder_;
  ControlFile files_;
  EquatingInput input_;
  std::vector<Item> items_x_;
  std::vector<Item> items_y_;
  QuadratureGrid group1_;
  QuadratureGrid group2_;
  EquatingResult result_;
};

// The distribution kernel's instruction set (IRTEQ_KERNEL chooses another).
void label_kernel_path(benchmark::State& state) { state.SetLabel(std::string(kernel_path_name(kernel_path()))); }

// Whole runs on one thread and on two: wall time, with the CPU time of every thread.
void on_one_and_two_threads(benchmark::internal::Benchmark* b) {
  b->ArgName("threads")->Arg(1)->Arg(2)->MeasureProcessCPUTime()->UseRealTime();
}

void report_score_points(benchmark::State& state, const EquatingInput& input) {
  state.counters["y_points"] = static_cast<double>(score_range(input.items_y).point_count());
  state.counters["x_points"] = static_cast<double>(score_range(input.items_x).point_count());
}

void BM_FullRun(benchmark::State& state) {
  FullRunCase& run_case = FullRunCase::get();
  const std::string console_input = run_case.control_file().string() + "\n\n";
  std::string failure;
  for (auto _ : state) {
    std::istringstream in(console_input);
    std::ostringstream out;
    std::ostringstream errors;
    Console console{in, out};
    const int status = run_dialogue(console, errors);
    // The console should hold the prompt and the closing line, nothing else.
    if (status != 0) {
      failure = "the run ended with status " + std::to_string(status) + ": " + errors.str();
    } else if (out.str().find("zbrent") != std::string::npos) {
      failure = "the root finder wrote a warning";
    } else if (!errors.str().empty()) {
      failure = "the run warned of its input: " + errors.str();
    }
    if (!failure.empty()) break;
  }
  if (!failure.empty()) state.SkipWithError(failure.c_str());
  report_score_points(state, run_case.input());
}
BENCHMARK(BM_FullRun)->MeasureProcessCPUTime()->UseRealTime()->Unit(benchmark::kMillisecond);

// The same run in batch mode, the report and the three CSV files written:
// what batch mode with --csv costs beside the dialogue, on one thread and on two.
void BM_FullRun_BatchWithCsv(benchmark::State& state) {
  FullRunCase& run_case = FullRunCase::get();
  const std::string csv_folder = (run_case.control_file().parent_path() / "csv").string();
  CommandLine line;
  line.control_file = run_case.control_file().string();
  line.csv_folder = csv_folder;
  line.threads = static_cast<int>(state.range(0));
  label_kernel_path(state);
  std::string failure;
  for (auto _ : state) {
    std::ostringstream errors;
    if (run_batch(line, errors) != 0 || !errors.str().empty()) {
      failure = "the batch run failed or warned: " + errors.str();
      break;
    }
  }
  if (!failure.empty()) state.SkipWithError(failure.c_str());
}
BENCHMARK(BM_FullRun_BatchWithCsv)->Apply(on_one_and_two_threads)->Unit(benchmark::kMillisecond);


// The library's figure: the same equating with no files and no console, on
// as many threads as the argument says.
void BM_FullRun_Equate(benchmark::State& state) {
  FullRunCase& run_case = FullRunCase::get();
  const EquatingOptions options{.threads = static_cast<int>(state.range(0))};
  label_kernel_path(state);
  bool warned = false;
  for (auto _ : state) {
    const EquatingResult result = equate(run_case.input(), options);
    benchmark::DoNotOptimize(result.moments.data());
    warned = warned || !result.warnings.empty();
  }
  if (warned) state.SkipWithError("the root finder gave a warning");
  report_score_points(state, run_case.input());
}
BENCHMARK(BM_FullRun_Equate)->Apply(on_one_and_two_threads)->Unit(benchmark::kMillisecond);

// equate() on the threads the argument says.
void time_equate(benchmark::State& state, const EquatingInput& input) {
  const EquatingOptions options{.threads = static_cast<int>(state.range(0))};
  label_kernel_path(state);
  for (auto _ : state) {
    const EquatingResult result = equate(input, options);
    benchmark::DoNotOptimize(result.moments.data());
  }
  report_score_points(state, input);
}

void BM_FiveCategoryRun_Equate(benchmark::State& state) {
  static const EquatingInput input = bench::five_category_run();
  time_equate(state, input);
}
BENCHMARK(BM_FiveCategoryRun_Equate)->Apply(on_one_and_two_threads)->Unit(benchmark::kMillisecond);

// The technical report's tables of the full run and of the bundled example,
// after their equating (one thread), with three cut scores inside the scale:
// against BM_FullRun_Equate/1 and BM_BundledExample_Equate/1.
void time_tables(benchmark::State& state, const EquatingInput& input) {
  const EquatingResult result = equate(input);
  const ScaleTable& scale = input.scale_table;
  const double span = scale.scale_max - scale.scale_min;
  const CutScores cuts{.cuts = {scale.scale_min + 0.3 * span, scale.scale_min + 0.5 * span,
                                scale.scale_min + 0.7 * span}};
  for (auto _ : state) {
    const ReportTables tables = report_tables(input, result, cuts);
    benchmark::DoNotOptimize(tables.csem.data());
  }
  report_score_points(state, input);
}

void BM_FullRun_Tables(benchmark::State& state) { time_tables(state, FullRunCase::get().input()); }
BENCHMARK(BM_FullRun_Tables)->Unit(benchmark::kMillisecond);

void BM_BundledExample_Tables(benchmark::State& state) {
  time_tables(state, read_control_file(std::filesystem::path(IRTEQ_EXAMPLE_DIR) / "control.txt"));
}
BENCHMARK(BM_BundledExample_Tables)->Unit(benchmark::kMicrosecond);

// A typical run: the bundled example (two forms of a few dozen items), read
// from its files and equated in memory.
void BM_BundledExample_Equate(benchmark::State& state) {
  time_equate(state, read_control_file(std::filesystem::path(IRTEQ_EXAMPLE_DIR) / "control.txt"));
}
BENCHMARK(BM_BundledExample_Equate)->Apply(on_one_and_two_threads)->Unit(benchmark::kMicrosecond);

// Stage: the four marginal distributions and the two synthetic ones.
void BM_FullRun_Distributions(benchmark::State& state) {
  FullRunCase& run_case = FullRunCase::get();
  const std::vector<Item>& items_y = run_case.items_y();
  const std::vector<Item>& items_x = run_case.items_x();
  const double w2 = run_case.input().w2;
  for (auto _ : state) {
    const ScoreDistribution y_group2 = marginal_score_distribution(items_y, run_case.group2());
    const ScoreDistribution y_group1 = marginal_score_distribution(items_y, run_case.group1());
    const ScoreDistribution x_group1 = marginal_score_distribution(items_x, run_case.group1());
    const ScoreDistribution x_group2 = marginal_score_distribution(items_x, run_case.group2());
    benchmark::DoNotOptimize(synthetic_distribution(y_group1, y_group2, w2).probabilities.data());
    benchmark::DoNotOptimize(synthetic_distribution(x_group1, x_group2, w2).probabilities.data());
  }
  const long long madds = (bench::multiply_adds_per_theta(items_y) + bench::multiply_adds_per_theta(items_x)) *
                          static_cast<long long>(run_case.group1().points.size() + run_case.group2().points.size());
  state.counters["madds"] = static_cast<double>(madds);
  state.counters["time_per_madd"] = benchmark::Counter(
      static_cast<double>(madds), benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
  report_score_points(state, run_case.input());
}
BENCHMARK(BM_FullRun_Distributions)->Unit(benchmark::kMillisecond);

// The reading half of the rest: both forms' files read and echoed into a report.
void BM_FullRun_ReadInputs(benchmark::State& state) {
  FullRunCase& run_case = FullRunCase::get();
  const std::string report_path = (run_case.folder() / "read-report.txt").string();
  for (auto _ : state) {
    ReportFile report(report_path);
    const EquatingInput input = read_inputs(run_case.files(), {.echo = report.lines(), .warning = {}});
    report.close();
    benchmark::DoNotOptimize(input.items_x.data());
  }
}
BENCHMARK(BM_FullRun_ReadInputs)->Unit(benchmark::kMillisecond);

// The writing half of the rest: the result sections of the report.
void BM_FullRun_WriteResults(benchmark::State& state) {
  FullRunCase& run_case = FullRunCase::get();
  const std::string report_path = (run_case.folder() / "results-report.txt").string();
  for (auto _ : state) {
    ReportFile report(report_path);
    write_report(run_case.result(), report.lines());
    report.close();
  }
}
BENCHMARK(BM_FullRun_WriteResults)->Unit(benchmark::kMillisecond);

// The CSV files of batch mode's --csv.
void BM_FullRun_WriteCsv(benchmark::State& state) {
  FullRunCase& run_case = FullRunCase::get();
  const std::filesystem::path folder = run_case.folder() / "csv-stage";
  for (auto _ : state) write_csv(run_case.result(), folder);
}
BENCHMARK(BM_FullRun_WriteCsv)->Unit(benchmark::kMillisecond);

// Stage: all equivalents (observed, true, scale and rounded), true score
// equating being nearly all of it. The synthetic distributions come as
// equate() left them, so the adjustment only looks.
void BM_FullRun_Equivalents(benchmark::State& state) {
  FullRunCase& run_case = FullRunCase::get();
  EquatingResult run = run_case.result();
  const ScaleTable& table = run_case.input().scale_table;
  for (auto _ : state) {
    run.warnings.clear();
    adjust_zero_probabilities(run.x.synthetic);
    adjust_zero_probabilities(run.y.synthetic);
    ObservedScoreEquating& observed = run.observed_score;
    observed.equivalents = equipercentile_equivalents(run.x.synthetic, run.y.synthetic, run.y.raw_scores);
    TrueScoreEquating& true_score = run.true_score;
    true_score_equivalents(run_case.items_y(), run_case.items_x(), run.x.raw_scores, run.y.raw_scores,
                           default_root_tolerance, true_score, run.warnings);
    true_score.scale = raw_to_scale(true_score.equivalents, run.y.raw_scores, table);
    observed.scale = raw_to_scale(observed.equivalents, run.y.raw_scores, table);
    true_score.rounded = round_scale_scores(true_score.scale);
    observed.rounded = round_scale_scores(observed.scale);
    benchmark::ClobberMemory();
  }
  if (!run.warnings.empty()) state.SkipWithError("the root finder gave a warning");
}
BENCHMARK(BM_FullRun_Equivalents)->Unit(benchmark::kMillisecond);

}  // namespace
