// Reader of covariance files: a title line, then the full symmetric P x P
// covariance of a form's parameter estimates, one free-format read per row,
// rows in order. P counts the form's parameters without D, items in file
// order, each item's values in file order after D ("L3": a, b, c; "SN" and
// "SL": a, b(1..m-1); "BN": a(1..m), c(1..m); "MU": a, b, d(1..m)). A
// parameter held fixed has a zero row and column. Rows and columns are named
// in messages by item and parameter, since a wrong count is the usual fault.
// A line "guessing logit" (or "guessing probability") may stand between the
// title and the numbers: the metric of the "L3" c rows. No file of numbers
// starts a line with a word, so files without it read as before.
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "input/titled_file.hpp"
#include "irteq/files.hpp"
#include "validate/covariance_problems.hpp"

namespace irteq {

Covariance read_covariance(std::istream& in, const std::string& name, const std::vector<Item>& items,
                           const ReadOptions& options) {
  TitledFile titled(in, name, options);
  FreeFormatReader& reader = titled.reader;
  titled.echo_title();
  GuessingMetric guessing = GuessingMetric::probability;
  if (std::string line; reader.read_line(line)) {
    std::istringstream words(line);
    std::string keyword, metric, more;
    words >> keyword >> metric >> more;
    if (keyword == "guessing") {
      if ((metric != "logit" && metric != "probability") || !more.empty()) {
        reader.fail("the guessing line must read \"guessing logit\" or \"guessing probability\": the metric of "
                    "the L3 items' c in the covariance");
      }
      if (metric == "logit") guessing = GuessingMetric::logit;
      titled.echo.line("guessing parameter c in the " + metric + " metric");
    } else {
      reader.unread_line(std::move(line));
    }
  }

  // What each row and column stands for: "row 7 (item 3, number 12, b)".
  const std::vector<std::string> labels = covariance_labels(items);
  const std::size_t size = labels.size();
  const auto place = [&](const char* what, std::size_t index) {
    return std::string(what) + " " + std::to_string(index + 1) + " " + labels[index];
  };
  Covariance covariance{size, std::vector<double>(size * size, 0.0), guessing};
  std::vector<int> row_lines(size, 0);
  for (std::size_t row = 0; row < size; ++row) {
    reader.begin_read();
    const Diagnostic where{.code = ErrorCode::syntax_error, .row = static_cast<int>(row + 1)};
    for (std::size_t column = 0; column < size; ++column) {
      if (reader.get_real(covariance.values[row * size + column]) == Got::end_of_file) {
        reader.fail("end of file in " + place("row", row) + " at " + place("column", column) + "; the matrix is " +
                        std::to_string(size) + " x " + std::to_string(size) + ", one row per parameter without D",
                    where);
      }
    }
    row_lines[row] = reader.line_number();
    if (const int left = reader.numbers_left_on_line(); left > 0) {
      reader.fail(place("row", row) + " has " + std::to_string(left) + " more number" + (left == 1 ? "" : "s") +
                      " than the " + std::to_string(size) + " columns of the form's parameters without D",
                  where);
    }
  }
  double extra = 0.0;
  reader.begin_read();
  if (reader.get_real(extra) != Got::end_of_file) {
    reader.fail("numbers after the " + std::to_string(size) + " rows of the form's parameters without D",
                {.code = ErrorCode::syntax_error});
  }

  if (const std::optional<CovarianceFault> fault = covariance_fault(covariance, labels)) {
    reader.fail(fault->message, {.code = ErrorCode::invalid_input, .line = row_lines[fault->row],
                                 .row = static_cast<int>(fault->row + 1)});
  }
  std::string line = "covariance of ";
  line += std::to_string(size) + " parameters read";
  titled.echo.line(line);
  titled.warnings.finish();
  return covariance;
}

}  // namespace irteq
