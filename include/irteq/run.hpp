#pragma once

#include <optional>
#include <vector>

#include "irteq/covariance.hpp"
#include "irteq/equate.hpp"
#include "irteq/input.hpp"
#include "irteq/linking.hpp"
#include "irteq/result.hpp"
#include "irteq/run_record.hpp"
#include "irteq/standard_errors.hpp"
#include "irteq/tables.hpp"

namespace irteq {

// A whole run: the two forms and grids, form Y's scale table and w2, and,
// when the forms were calibrated separately, how to link them.
struct RunInput {
  EquatingInput equating{};               // form X's items and group 1's grid on form X's scale when it links
  std::optional<LinkingInput> linking{};  // absent: the forms are on one scale already
  std::optional<CutScores> cut_scores{};  // performance levels on form Y's scale; they ask for the tables
  std::vector<InputFileRecord> files{};   // what read_run read it from: none when built in memory
};

struct RunOptions {
  EquatingOptions equating{};
  // Standard errors are computed when delta_method or draws asks for them,
  // from covariances (at least one form's); a covariance given is checked
  // either way, and gives every common item its Wald test.
  StandardErrorOptions standard_errors{};
  ParameterCovariances covariances{};
  // The technical report's tables (report_tables), also computed whenever
  // the input has cut scores.
  bool tables = false;
};

struct RunResult {
  std::optional<LinkingResult> linking{};  // when the input links; se_A, se_B with the delta method's errors
  EquatingResult equating{};               // of form X (linked onto form Y's scale when the input links)
  std::optional<StandardErrors> standard_errors{};  // when asked for
  std::optional<ReportTables> tables{};             // when asked for, or the input has cut scores
  // How the run came about: run() gives its time, options and the input's
  // and covariances' files, front end "library"; a front end may name itself
  // and add its own options. write_csv writes it as run.csv.
  RunRecord record{};
};

// One run, in order: the covariances given checked against their forms,
// the linking when the input names common items, the equating of the
// (linked) form X, then the standard errors, the linking's uncertainty
// carried into every equivalent's whenever it links. Every front end runs
// this; the results are the same to the last bit on any number of threads.
// Throws Error on input it cannot use, a linking that fails, results that
// are not finite, and failed or interrupted draws.
RunResult run(const RunInput& input, const RunOptions& options = {});

}  // namespace irteq
