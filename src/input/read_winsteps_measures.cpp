// Reader of Winsteps' IFILE= (item measures) and, for polytomous items, its
// SFILE= (Rasch-Andrich thresholds). The IFILE's columns are found by its
// heading line (";ENTRY MEASURE ST... NAME"), since their number changes
// with the program's version; NAME, the label, is the last.
#include <fstream>
#include <map>
#include <string_view>

#include "common/number_text.hpp"
#include "common/open_input_file.hpp"
#include "input/calibration_source.hpp"
#include "irteq/error.hpp"

namespace irteq {

namespace {

// A line's words; quotes around a name are separators, as blanks and commas are.
std::vector<std::string> tokens_of(std::string_view line) {
  std::vector<std::string> tokens;
  for (const std::string_view word : split_words(line, " \t\r,\"")) tokens.emplace_back(word);
  return tokens;
}

[[noreturn]] void fail(const std::string& file_name, int line, const std::string& label, const std::string& what) {
  throw Error(file_name + ": line " + std::to_string(line) + (label.empty() ? std::string{} : ", item " + label) +
                  ": " + what,
              {.code = ErrorCode::invalid_input, .source = file_name, .line = line});
}

struct Threshold {
  int category;
  double value;
};

// The SFILE's thresholds: by item entry (three columns: entry, category,
// threshold), or for every item (two columns, entry 0), lowest category first.
std::map<long, std::vector<Threshold>> read_thresholds(const std::string& file_name) {
  std::ifstream in;
  open_input_file(in, file_name, "SFILE");
  std::map<long, std::vector<Threshold>> thresholds;
  std::string line;
  int line_number = 0;
  std::size_t columns = 0;
  while (std::getline(in, line)) {
    ++line_number;
    if (line.starts_with(';')) continue;
    const std::vector<std::string> tokens = tokens_of(line);
    if (tokens.empty()) continue;
    if (columns == 0) columns = tokens.size();
    if (tokens.size() != columns || (columns != 2 && columns != 3)) {
      fail(file_name, line_number, "",
           std::to_string(tokens.size()) + " columns; an SFILE line holds a category and its threshold, after the "
                                           "item's entry number when the items have their own thresholds");
    }
    std::vector<double> v(columns);
    for (std::size_t k = 0; k < columns; ++k) {
      if (!parse_number(tokens[k], v[k])) fail(file_name, line_number, "", "\"" + tokens[k] + "\" is not a number");
    }
    const long entry = columns == 3 ? static_cast<long>(v[0]) : 0;
    std::vector<Threshold>& item = thresholds[entry];
    const int category = static_cast<int>(v[columns - 2]);
    if (!item.empty() && category <= item.back().category) {
      fail(file_name, line_number, "", "category " + tokens[columns - 2] + " after category " +
                                           std::to_string(item.back().category) + "; categories ascend");
    }
    item.push_back({category, v[columns - 1]});
  }
  return thresholds;
}

}  // namespace

CalibrationSource read_winsteps_measures(const std::string& file_name, const std::string& sfile, double D) {
  std::map<long, std::vector<Threshold>> thresholds;
  if (!sfile.empty()) thresholds = read_thresholds(sfile);
  std::ifstream in;
  open_input_file(in, file_name, "IFILE");
  CalibrationSource source;
  std::string line;
  int line_number = 0;
  std::size_t measure = 0, status = 0, model = 0, name = 0;
  bool heading = false, has_model = false;
  while (std::getline(in, line)) {
    ++line_number;
    if (line.starts_with(';')) {
      const std::vector<std::string> tokens = tokens_of(std::string_view(line).substr(1));
      bool m = false, s = false, n = false;
      for (std::size_t k = 0; k < tokens.size(); ++k) {
        if (tokens[k] == "MEASURE") measure = k, m = true;
        if (tokens[k].starts_with("ST")) status = k, s = true;
        if (tokens[k] == "M") model = k, has_model = true;
        if (tokens[k] == "NAME") name = k, n = true;
      }
      if (m && s && n) heading = true;
      continue;
    }
    const std::vector<std::string> tokens = tokens_of(line);
    if (tokens.empty()) continue;
    if (!heading) fail(file_name, line_number, "", "an item line before the heading line ;ENTRY MEASURE ST... NAME");
    std::string label;
    for (std::size_t k = name; k < tokens.size(); ++k) label += (k > name ? " " : "") + tokens[k];
    if (tokens.size() <= name) fail(file_name, line_number, "", "the line ends before the NAME column");
    double entry = 0, b = 0, st = 0;
    if (!parse_number(tokens[0], entry)) fail(file_name, line_number, label, "entry \"" + tokens[0] + "\" is not a number");
    if (!parse_number(tokens[measure], b)) fail(file_name, line_number, label, "measure \"" + tokens[measure] + "\" is not a number");
    if (!parse_number(tokens[status], st)) fail(file_name, line_number, label, "status \"" + tokens[status] + "\" is not a number");
    if (st != 1 && st != 2 && st != 3) {
      fail(file_name, line_number, label,
           "status " + tokens[status] +
               "; irteq takes estimated and anchored measures (1, 2, 3), not an extreme (0, -1), unanswered or "
               "deleted item: leave it out of the IFILE");
    }
    bool polytomous = !thresholds.empty();
    if (has_model) {
      const std::string& code = tokens[model];
      if (code != "D" && code != "R") {
        fail(file_name, line_number, label, "model code " + code + "; irteq takes D (dichotomous) and R (rating scale, partial credit)");
      }
      polytomous = code == "R";
    }
    SourceItem item;
    item.number = static_cast<int>(source.items.size() + 1);
    item.D = D;
    if (!polytomous) {
      item.form = SourceForm::logistic_difficulty;
      item.category_scores = {0, 1};
      item.values = {1.0, b};
    } else {
      auto found = thresholds.find(static_cast<long>(entry));
      if (found == thresholds.end()) found = thresholds.find(0);
      if (found == thresholds.end()) {
        fail(file_name, line_number, label,
             "a rating-scale item without thresholds: the SFILE lists neither its entry nor thresholds for all items");
      }
      item.form = SourceForm::partial_credit_thresholds;
      item.values = {1.0, b};
      for (std::size_t k = 0; k < found->second.size(); ++k) {
        item.category_scores.push_back(found->second[k].category);
        if (k > 0) item.values.push_back(found->second[k].value);
      }
    }
    source.items.push_back(std::move(item));
    source.labels.push_back(label);
    source.printed.push_back(0);
    source.jacobians.emplace_back();
  }
  if (source.items.empty()) {
    throw Error(file_name + ": no item lines", {.code = ErrorCode::invalid_input, .source = file_name});
  }
  return source;
}

}  // namespace irteq
