// Reader of flexMIRT's and IRTPRO's -prm.txt: one tab-separated line per item
// (type 1) or group (type 0). An item line holds its label, group, number of
// factors, model code and number of categories, then the model's values:
//   1, 3PL:     logit-guessing g, intercept d, slope a
//   2, graded:  intercepts d(1..K-1), slope a
//   3, nominal: scoring contrast type, alpha(1..K-1), intercept contrast type, gamma(1..K-1), slope a
#include <cmath>
#include <fstream>
#include <limits>
#include <numbers>
#include <set>
#include <string_view>

#include "common/number_text.hpp"
#include "common/open_input_file.hpp"
#include "input/calibration_source.hpp"
#include "irteq/error.hpp"

namespace irteq {

namespace {

// Tab-separated fields, blanks around them trimmed, so that a label may hold
// blanks; a line without tabs is split at blanks.
std::vector<std::string> fields_of(const std::string& line) {
  const char* separators = line.find('\t') == std::string::npos ? " \r" : "\t\r";
  std::vector<std::string> fields;
  std::size_t start = 0;
  while (start < line.size()) {
    const std::size_t begin = line.find_first_not_of(" \t\r", start);
    if (begin == std::string::npos) break;
    std::size_t end = line.find_first_of(separators, begin);
    if (end == std::string::npos) end = line.size();
    const std::size_t last = line.find_last_not_of(' ', end - 1);
    fields.push_back(line.substr(begin, last + 1 - begin));
    start = end;
  }
  return fields;
}

// The contrast matrix T (K rows, K-1 columns) of a contrast type: 0 the
// Fourier trend basis of Thissen, Cai and Bock (2010), 1 the identity below a
// zero first row.
std::vector<double> contrasts(int type, std::size_t K) {
  std::vector<double> T(K * (K - 1), 0.0);
  for (std::size_t k = 0; k < K; ++k) {
    for (std::size_t j = 0; j + 1 < K; ++j) {
      double value;
      if (type == 1) {
        value = k == j + 1 ? 1.0 : 0.0;
      } else if (j == 0) {
        value = static_cast<double>(k);
      } else {
        value = std::sin(std::numbers::pi * static_cast<double>(j) * static_cast<double>(k) /
                         static_cast<double>(K - 1));
      }
      T[k * (K - 1) + j] = value;
    }
  }
  return T;
}

}  // namespace

CalibrationSource read_flexmirt_parameters(const std::string& file_name, const char* program) {
  std::ifstream in;
  open_input_file(in, file_name, "parameter file");
  CalibrationSource source;
  source.guessing = GuessingMetric::logit;
  std::set<long> groups;
  std::string line;
  int line_number = 0;
  while (std::getline(in, line)) {
    ++line_number;
    const std::vector<std::string> fields = fields_of(line);
    if (fields.empty()) continue;
    const std::string label = fields.size() > 1 ? fields[1] : std::string{};
    const auto fail = [&](const std::string& what) {
      throw Error(file_name + ": line " + std::to_string(line_number) +
                      (label.empty() ? std::string{} : ", item " + label) + ": " + what,
                  {.code = ErrorCode::invalid_input, .source = file_name, .line = line_number});
    };
    const auto number = [&](std::size_t k, const char* what) {
      if (k >= fields.size()) fail(std::string("the line ends before the ") + what);
      double value = 0.0;
      const std::string& text = fields[k];
      if (!parse_number(text, value)) {
        fail(std::string(what) + " is \"" + text + "\", not a number");
      }
      return value;
    };
    const auto integer = [&](std::size_t k, const char* what) {
      const double value = number(k, what);
      if (value != std::floor(value) || std::abs(value) > 1e6) {
        fail(std::string(what) + " is \"" + fields[k] + "\", not a whole number");
      }
      return static_cast<long>(value);
    };
    const long type = integer(0, "entry type");
    if (type == 0) {
      // Label, number, number of factors, then the means and the covariance's
      // elements; one factor's are a mean and a variance. The items do not
      // depend on it, so a line of another layout is kept with NaN, not refused.
      const auto value = [&](std::size_t k) {
        double v = std::numeric_limits<double>::quiet_NaN();
        if (k >= fields.size() || !parse_number(fields[k], v)) v = std::numeric_limits<double>::quiet_NaN();
        return v;
      };
      const double group_number = value(2);
      const bool one_factor = fields.size() == 6 && value(3) == 1.0;
      source.groups.push_back({.number = group_number == std::floor(group_number) && std::abs(group_number) < 1e6
                                             ? static_cast<int>(group_number)
                                             : 0,
                               .label = label,
                               .mean = one_factor ? value(4) : std::numeric_limits<double>::quiet_NaN(),
                               .variance = one_factor ? value(5) : std::numeric_limits<double>::quiet_NaN()});
      continue;
    }
    if (type != 1) fail("entry type " + fields[0] + " is neither 1 (item) nor 0 (group)");
    groups.insert(integer(2, "group number"));
    if (groups.size() > 1) {
      fail("items of more than one group; irteq reads one form's items: write each group's to its own file");
    }
    const long factors = integer(3, "number of factors");
    if (factors != 1) {
      fail("a multidimensional item (" + std::to_string(factors) + " factors); irteq equates unidimensional items");
    }
    const long model = integer(4, "model code");
    const long K = integer(5, "number of categories");
    if (K < 2 || K > 1000) fail("number of categories " + fields[5] + "; an item has 2 to 1000");
    const std::size_t m = static_cast<std::size_t>(K);
    SourceItem item;
    item.number = static_cast<int>(source.items.size() + 1);
    item.D = 1.0;
    for (long k = 0; k < K; ++k) item.category_scores.push_back(static_cast<int>(k));
    std::vector<double> printed;  // the item's values as printed, contrast types left out
    std::vector<double> J;
    std::size_t expected = 0;
    if (model == 1) {
      if (K != 2) fail("a 3PL item with " + fields[5] + " categories; it has 2");
      expected = 6 + 3;
      if (fields.size() == expected + 1) fail("a four-parameter item (4PL); irteq's L3 has no upper asymptote");
      if (fields.size() != expected) fail(std::to_string(fields.size() - 6) + " values; a 3PL item has g, d and a");
      const double g = number(6, "logit-guessing"), d = number(7, "intercept"), a = number(8, "slope");
      printed = {g, d, a};
      const double c = 1.0 / (1.0 + std::exp(-g));
      item.form = SourceForm::logistic_intercept;
      item.values = {a, d, c};
      // c's row is logit(c) = g itself: the covariance stays in the metric
      // the program estimated, so that draws keep c inside (0, 1).
      J = {0, 0, 1, 0, 1, 0, 1, 0, 0};
    } else if (model == 2) {
      expected = 6 + m;
      if (fields.size() != expected) {
        fail(std::to_string(fields.size() - 6) + " values; a graded item of " + fields[5] + " categories has " +
             std::to_string(m - 1) + " intercepts and a slope");
      }
      for (std::size_t k = 0; k < m; ++k) printed.push_back(number(6 + k, k + 1 < m ? "intercept" : "slope"));
      item.form = SourceForm::graded_intercept;
      item.values = {printed[m - 1]};
      J.assign(m * m, 0.0);
      J[m - 1] = 1.0;
      for (std::size_t k = 1; k < m; ++k) item.values.push_back(printed[k - 1]), J[k * m + k - 1] = 1.0;
    } else if (model == 3) {
      std::size_t at = 6;
      const auto contrast_type = [&](const char* what) {
        const long t = integer(at++, what);
        if (t == 2) {
          fail(std::string(what) + " 2, user-specified contrasts: the documentation does not give the matrix's layout "
                                   "in the file, so irteq does not read it");
        }
        if (t != 0 && t != 1) fail(std::string(what) + " " + fields[at - 1] + "; 0 (trend) or 1 (identity)");
        return contrasts(static_cast<int>(t), m);
      };
      const std::vector<double> Ta = contrast_type("scoring contrast type");
      for (std::size_t k = 0; k + 1 < m; ++k) printed.push_back(number(at++, "scoring function value"));
      const std::vector<double> Tc = contrast_type("intercept contrast type");
      for (std::size_t k = 0; k + 1 < m; ++k) printed.push_back(number(at++, "intercept value"));
      expected = at + 1;
      if (fields.size() != expected) {
        fail(std::to_string(fields.size() - 6) + " values; a nominal item of " + fields[5] +
             " categories has 2 contrast types, " + std::to_string(2 * (m - 1)) + " contrast values and a slope");
      }
      printed.push_back(number(at, "slope"));
      // nominal_scored: a, s(1..K), c(1..K); s = Ta alpha, c = Tc gamma.
      const std::size_t q = printed.size();  // 2K - 1
      item.form = SourceForm::nominal_scored;
      item.values.assign(2 * m + 1, 0.0);
      J.assign((2 * m + 1) * q, 0.0);
      item.values[0] = printed[q - 1];
      J[q - 1] = 1.0;
      for (std::size_t k = 0; k < m; ++k) {
        double s = 0.0, c = 0.0;
        for (std::size_t j = 0; j + 1 < m; ++j) {
          s += Ta[k * (m - 1) + j] * printed[j];
          c += Tc[k * (m - 1) + j] * printed[m - 1 + j];
          J[(1 + k) * q + j] = Ta[k * (m - 1) + j];
          J[(1 + m + k) * q + m - 1 + j] = Tc[k * (m - 1) + j];
        }
        item.values[1 + k] = s;
        item.values[1 + m + k] = c;
      }
    } else {
      fail("model code " + fields[4] + ", which " + std::string(program) +
           "'s documentation does not give (1 3PL, 2 graded, 3 nominal)");
    }
    source.items.push_back(std::move(item));
    source.labels.push_back(label);
    source.printed.push_back(printed.size());
    source.jacobians.push_back(std::move(J));
  }
  if (source.items.empty()) {
    throw Error(file_name + ": no item lines (entry type 1)", {.code = ErrorCode::invalid_input, .source = file_name});
  }
  return source;
}

}  // namespace irteq
