// Cut scores against form Y's scale, from a file or built in memory: one set
// of checks, whose messages name the file's line or, in memory, the cut.
#include <algorithm>
#include <cmath>
#include <string>

#include "common/number_text.hpp"
#include "irteq/error.hpp"
#include "irteq/tables.hpp"

namespace irteq {

CutScores checked_cut_scores(CutScores cuts, const ScaleTable& scale_table) {
  const std::size_t count = cuts.cuts.size();
  // k counts from 0; row k + 1 is what messages call it.
  const auto fail = [&](std::size_t k, const std::string& what) {
    const bool from_file = k < count && k < cuts.lines.size();
    const int line = from_file ? cuts.lines[k] : 0;
    throw Error(cuts.name + (from_file ? " line " + std::to_string(line) : std::string()) + ": " + what,
                {.code = ErrorCode::invalid_input, .input = InputPart::cut_scores, .source = cuts.name, .line = line,
                 .row = k < count ? static_cast<int>(k) + 1 : 0});
  };
  const auto cut = [&](std::size_t k) {
    return "cut " + std::to_string(k + 1) + " (" + shortest_text(cuts.cuts[k]) + ")";
  };
  if (count == 0) fail(count, "no cut scores; performance levels need at least one");
  for (std::size_t k = 0; k < count; ++k) {
    const double value = cuts.cuts[k];
    if (!std::isfinite(value)) fail(k, cut(k) + " is not a finite number");
    if (value < scale_table.scale_min) {
      fail(k, cut(k) + " is below the scale score minimum " + std::to_string(scale_table.scale_min));
    }
    if (value > scale_table.scale_max) {
      fail(k, cut(k) + " is above the scale score maximum " + std::to_string(scale_table.scale_max));
    }
    if (k > 0 && !(value > cuts.cuts[k - 1])) {
      fail(k, cut(k) + " is not above " + cut(k - 1) + "; each cut must be above the one before");
    }
  }
  if (cuts.levels.empty()) {
    for (std::size_t k = 0; k <= count; ++k) cuts.levels.push_back(std::to_string(k + 1));
  } else if (cuts.levels.size() != count + 1) {
    const std::string cuts_text = std::to_string(count) + (count == 1 ? " cut" : " cuts");
    fail(count, std::to_string(cuts.levels.size()) + " level names for " + cuts_text + "; " + cuts_text +
                    (count == 1 ? " makes " : " make ") + std::to_string(count + 1) + " levels, lowest first");
  }
  return cuts;
}

int performance_level(const std::vector<double>& cuts, double reported) {
  // The cuts increase: those at or below the score come first.
  return static_cast<int>(std::upper_bound(cuts.begin(), cuts.end(), reported) - cuts.begin());
}

}  // namespace irteq
