#pragma once

#include <filesystem>
#include <functional>
#include <istream>
#include <optional>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "irteq/covariance.hpp"
#include "irteq/input.hpp"
#include "irteq/linking.hpp"
#include "irteq/result.hpp"
#include "irteq/run.hpp"
#include "irteq/tables.hpp"

namespace irteq {

// Receives one line at a time, without its line end.
using LineSink = std::function<void(std::string_view line)>;

struct ReadOptions {
  LineSink echo;     // the report's echo of what was read; none when empty
  LineSink warning;  // one message per suspicious line (the run goes on); none when empty
  bool strict = false;  // every warning of the readers is thrown as an Error (ErrorCode::input_warning) instead
};

// The six files a control file names, by keyword.
struct ControlFile {
  std::string output;     // the report
  std::string old_para;   // form Y's item parameters
  std::string old_quad;   // group 2's quadrature points
  std::string raw2scale;  // form Y's raw-to-scale table and w2
  std::string new_para;   // form X's item parameters
  std::string new_quad;   // group 1's quadrature points
  std::string common_items;  // the pairs that link form X's scale onto form Y's; empty when not named
  std::string new_cov;       // form X's parameter covariance; empty when not named
  std::string old_cov;       // form Y's parameter covariance; empty when not named
  std::string cut_scores;    // the performance levels' cut scores on form Y's scale; empty when not named
  std::string control;       // the control file itself, as given to read_control

  friend bool operator==(const ControlFile&, const ControlFile&) = default;
};

// The control file's six names, and the common-item, covariance and cut-score
// files when common_items, new_cov, old_cov and cut_scores records name them (anywhere among or
// after the six; they do not count as any of them), each relative one
// resolved against the control file's own folder. Covariance files are read
// only for standard errors (read_covariances).
ControlFile read_control(const std::filesystem::path& control_file);

// The record of one input file (run.csv): its name as given, its absolute
// canonical path, and the size and SHA-256 (OpenSSL's) of its bytes, read
// once more. Throws Error (file_error) when it cannot be read.
InputFileRecord describe_input_file(const std::filesystem::path& name, std::string role);

// Readers of the three input formats; name is what messages call the stream.
std::vector<Item> read_items(std::istream& in, const std::string& name, const ReadOptions& options = {});
QuadratureGrid read_grid(std::istream& in, const std::string& name, const ReadOptions& options = {});
struct RawToScaleFile {
  ScaleTable table;
  double w2 = 0.0;
};
RawToScaleFile read_scale_table(std::istream& in, const std::string& name, const ReadOptions& options = {});

// A common-item file: the linking method applied, optionally a screening
// line ("screen robust-z 2.7"), and the pairs of item numbers, as written in
// form X's and form Y's item files.
struct CommonItemsFile {
  LinkingMethod method = LinkingMethod::stocking_lord;
  bool symmetric = false;
  int method_line = 0;
  ScreeningStatistic screen = ScreeningStatistic::none;
  double cut = 0.0;
  int screen_line = 0;
  std::vector<CommonItemPair> pairs;
};
CommonItemsFile read_common_items(std::istream& in, const std::string& name, const ReadOptions& options = {});

// A cut-score file: a title line; optionally the lowest level's name alone,
// in quotes; then one free-format read per cut of the scale score at which a
// level starts, optionally followed by that level's name in quotes. Cuts as
// read, each with its line; checked_cut_scores checks them against the
// scale table. Unnamed levels are "1" ... "K+1".
CutScores read_cut_scores(std::istream& in, const std::string& name, const ReadOptions& options = {});

// A covariance file: the P x P covariance of a form's parameter estimates,
// P = covariance_size(items), one free-format read per row. A wrong count,
// an asymmetry beyond 1e-9 relative or a negative variance is an Error
// naming the line, row and column by item and parameter. A line "guessing
// logit" after the title says the "L3" c rows are the covariance of logit(c)
// (GuessingMetric); "guessing probability", or no such line, that they are c's.
Covariance read_covariance(std::istream& in, const std::string& name, const std::vector<Item>& items,
                           const ReadOptions& options = {});

// The same from files, which must exist; messages name them by the path given.
std::vector<Item> read_items(const std::filesystem::path& file, const ReadOptions& options = {});
QuadratureGrid read_grid(const std::filesystem::path& file, const ReadOptions& options = {});
RawToScaleFile read_scale_table(const std::filesystem::path& file, const ReadOptions& options = {});
CommonItemsFile read_common_items(const std::filesystem::path& file, const ReadOptions& options = {});
CutScores read_cut_scores(const std::filesystem::path& file, const ReadOptions& options = {});
Covariance read_covariance(const std::filesystem::path& file, const std::vector<Item>& items,
                           const ReadOptions& options = {});

// The five input files, form Y's first. The echo is the report's first part:
// "form y input", form Y's three files, "form x input", form X's two. A
// control file that names common items is refused: its forms are on two
// scales and must be linked first (read_run). Cut scores it names are not
// read: they belong to the tables of a run.
EquatingInput read_inputs(const ControlFile& files, const ReadOptions& options = {});
// read_inputs(read_control(control_file)).
EquatingInput read_control_file(const std::filesystem::path& control_file, const ReadOptions& options = {});

// A run as its control file describes it: the five input files and, when
// the control file names common items, how to link form X's scale onto form
// Y's, the common-item file echoed after form X's input; when it names cut
// scores, those as read (cut_scores), echoed after form X's input and any
// common-item file, and checked against the scale table by run(); and the
// records of the control file and of those files (files). run() runs it.
RunInput read_run(const ControlFile& files, const ReadOptions& options = {});

// The covariance files that the control file's new_cov (form X) and old_cov
// (form Y) records name, read against the run's items (form X's as read, on
// its own scale), named in messages by their file names. Throws Error when
// it names neither, or on a file that does not fit its form. Their records
// are in files.
ParameterCovariances read_covariances(const ControlFile& files, const RunInput& run, const ReadOptions& options = {});
// The covariances a run of the control file reads: read_covariances when
// standard errors are asked for, or when the common items are screened by
// the Wald test and the control file names a covariance (naming none, the
// linking says what it needs); none otherwise.
ParameterCovariances read_run_covariances(const ControlFile& files, const RunInput& run, bool standard_errors,
                                          const ReadOptions& options = {});

// The report's result sections, line by line; after the echo of read_inputs
// they complete the report. Report files end every line in CR LF.
void write_report(const EquatingResult& result, const LineSink& line);
// A run's: the linking section (every method's constants, the one applied,
// the anchors' fit) when it links, the result sections, and the standard
// errors' section when it has standard errors (the routes and covariances
// of options); after the echo of read_run they complete the report.
void write_report(const RunResult& result, const RunOptions& options, const LineSink& line);

// equivalents.csv, distributions.csv and moments.csv in folder (created if
// absent), every number written so that it reads back to the same double.
// Each file is written under a temporary name and replaces the old one when
// all are complete; a failure leaves none of them, nor any other file of an
// earlier run's (run.csv included: equate() alone keeps no record).
void write_csv(const EquatingResult& result, const std::filesystem::path& folder);
// Every file batch mode writes for a run: the equating's three and, when it
// links, linking.csv (every method's constants, criterion and standard
// errors, the one applied), common_items.csv (each anchor's statistics and
// screening), and form
// X's items and group 1's grid on form Y's scale as an item parameter file
// and a quadrature points file (linked_items_x.par, linked_grid_group1.qd)
// that read back to the same doubles; with standard errors,
// standard_errors.csv: raw,equating,metric,delta_se,draws_se,draws_lower,
// draws_upper, one row per equating method (true, observed), metric (raw,
// scale) and form X score point, a column empty when its route was not run;
// and run.csv, the run's record (write_run_record).
void write_csv(const RunResult& result, const std::filesystem::path& folder);

// run.csv: field,name,value,path,bytes,sha256 with the rows version, time,
// front_end (in value), an option row per option (name, value) and an input
// row per input file (name: its role; value: its name as given; path, bytes,
// sha256), or one input row with the value "none: built in memory". Fields
// with a comma, quote or line end are quoted, quotes doubled.
void write_run_record(const RunRecord& record, std::ostream& out);

// An item parameter file, a quadrature points file and a covariance file
// that the readers read back to the very same items, grid and matrix:
// numbers in their shortest exact text, "MU" items as "MU". What they write
// is checked first, as run() checks it, so no file irteq cannot use is
// written. A covariance in the logit metric gets its "guessing logit" line.
void write_items(const std::vector<Item>& items, std::ostream& out, std::string_view title);
void write_grid(const QuadratureGrid& grid, std::ostream& out, std::string_view title);
void write_covariance(const Covariance& covariance, const std::vector<Item>& items, std::ostream& out,
                      std::string_view title);

}  // namespace irteq
