// One run, from input to every result a front end shows: the root tolerance
// and the covariances checked first, so that a faulty one costs nothing (and
// a covariance given without standard errors is no less a mistake), and the
// cut scores; then the linking (screened, with Wald tests when covariances
// are given), the equating of the linked form, the report's tables when
// asked for, and the standard errors.
#include "irteq/run.hpp"

#include <algorithm>
#include <chrono>
#include <cstdio>

#include "common/number_text.hpp"
#include "irteq/version.hpp"
#include "linking/screened_link.hpp"
#include "standard_errors/standard_errors.hpp"

namespace irteq {

namespace {

// "2025-01-31T09:05:00Z": the calendar of <chrono> is UTC and needs no time zone database.
std::string utc_now() {
  const auto now = std::chrono::floor<std::chrono::seconds>(std::chrono::system_clock::now());
  const auto day = std::chrono::floor<std::chrono::days>(now);
  const std::chrono::year_month_day date(day);
  const std::chrono::hh_mm_ss time(now - day);
  char text[32];
  std::snprintf(text, sizeof text, "%04d-%02u-%02uT%02d:%02d:%02dZ", static_cast<int>(date.year()),
                static_cast<unsigned>(date.month()), static_cast<unsigned>(date.day()),
                static_cast<int>(time.hours().count()), static_cast<int>(time.minutes().count()),
                static_cast<int>(time.seconds().count()));
  return text;
}

RunRecord record_of(const RunInput& input, const RunOptions& options) {
  const auto flag = [](bool on) { return std::string(on ? "true" : "false"); };
  const int threads = std::max(options.equating.threads, 1);
  const StandardErrorOptions& errors = options.standard_errors;
  RunRecord record{.version = version, .time = utc_now(), .front_end = "library", .options = {}, .files = input.files};
  record.options = {{"threads", std::to_string(threads)},
                    {"root_tolerance", shortest_text(options.equating.root_tolerance)},
                    {"delta_method", flag(errors.delta_method)},
                    {"draws", std::to_string(errors.draws)},
                    {"seed", std::to_string(errors.seed)}};
  if (options.tables) record.options.emplace_back("tables", "true");
  if (std::max(errors.threads, 1) != threads) {
    record.options.emplace_back("standard_error_threads", std::to_string(std::max(errors.threads, 1)));
  }
  const auto& covariance_files = options.covariances.files;
  record.files.insert(record.files.end(), covariance_files.begin(), covariance_files.end());
  return record;
}

}  // namespace

RunResult run(const RunInput& input, const RunOptions& options) {
  const StandardErrorOptions& errors = options.standard_errors;
  const bool standard_errors = errors.delta_method || errors.draws > 0;
  validate_root_tolerance(options.equating.root_tolerance);
  check_covariances(input.equating, options.covariances, standard_errors);
  RunResult result;
  result.record = record_of(input, options);
  const ParameterCovariances& covariances = options.covariances;
  const bool known = covariances.x || covariances.y;  // then every pair has its Wald test
  if (input.cut_scores) checked_cut_scores(*input.cut_scores, input.equating.scale_table);
  if (input.linking) {
    const ParameterCovariances probability = probability_metric(covariances, input.equating);
    result.linking = screened_link(input.equating, *input.linking, known ? &probability : nullptr);
    const EquatingInput linked = linked_input(input.equating, *result.linking);
    result.equating = equate(linked, options.equating);
    if (options.tables || input.cut_scores) result.tables = report_tables(linked, result.equating, input.cut_scores);
  } else {
    result.equating = equate(input.equating, options.equating);
    if (options.tables || input.cut_scores) {
      result.tables = report_tables(input.equating, result.equating, input.cut_scores);
    }
  }
  if (!standard_errors) return result;
  if (input.linking && input.linking->screen != ScreeningStatistic::none) {
    // The standard errors take the pairs the screening kept as given.
    RunInput kept = input;
    kept.linking = final_linking(*input.linking, *result.linking);
    add_standard_errors(kept, options, result);
  } else {
    add_standard_errors(input, options, result);
  }
  return result;
}

}  // namespace irteq
