#include "support/random_case.hpp"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <stdexcept>

#include "support/binary_run.hpp"

namespace irteq::testing {

namespace {

// Values are written with four decimals; drawing them rounded so keeps the
// generator's values equal to the values the program reads.
double round4(double value) { return std::round(value * 1e4) / 1e4; }

std::string number(const char* format, double value) {
  char text[64];
  std::snprintf(text, sizeof text, format, value);
  return text;
}

// Upper bounds of how far an item's expected score stays above its lowest
// score (plus c for "L3") at theta -8, and below its highest score at theta 8.
// Logistic tails are below exp(-z); normal tails below exp(-z^2/2)/2, plus
// 1.5e-7 for the error of the program's approximation; a nominal category's
// probability is below its exponential over the top (bottom) category's.
struct EndGaps {
  double bottom = 0.0;
  double top = 0.0;
};

EndGaps end_gaps(const std::string& code, const std::vector<int>& u, const std::vector<double>& q) {
  EndGaps gaps;
  const std::size_t m = u.size();
  const auto gap = [&](std::size_t k) { return static_cast<double>(u[k + 1] - u[k]); };
  if (code == "L3") {
    gaps.bottom = std::exp(-q[0] * q[1] * (8.0 + q[2]));
    gaps.top = std::exp(-q[0] * q[1] * (8.0 - q[2]));
  } else if (code == "SL" || code == "SN") {
    const bool normal = code == "SN";
    const double slope = normal ? q[0] : q[0] * q[1];
    const std::size_t first_threshold = normal ? 1 : 2;
    const auto tail = [&](double z) { return normal ? 0.5 * std::exp(-z * z / 2.0) + 1.5e-7 : std::exp(-z); };
    for (std::size_t k = 0; k + 1 < m; ++k) {
      const double b = q[first_threshold + k];
      gaps.bottom += gap(k) * tail(slope * (8.0 + b));
      gaps.top += gap(k) * tail(slope * (8.0 - b));
    }
  } else {  // "BN", and "MU" as its nominal equivalent
    const double d = q[0];
    std::vector<double> slope(m);
    std::vector<double> intercept(m);
    double steps = 0.0;
    for (std::size_t k = 0; k < m; ++k) {
      if (code == "BN") {
        slope[k] = q[1 + k];
        intercept[k] = q[1 + m + k];
      } else {
        steps += q[1] * q[3 + k];
        slope[k] = static_cast<double>(k + 1) * q[1];
        intercept[k] = steps - static_cast<double>(k + 1) * q[1] * q[2];
      }
    }
    for (std::size_t k = 0; k < m; ++k) {
      gaps.bottom += static_cast<double>(u[k] - u[0]) *
                     std::exp(d * ((slope[k] - slope[0]) * -8.0 + intercept[k] - intercept[0]));
      gaps.top += static_cast<double>(u[m - 1] - u[k]) *
                  std::exp(d * ((slope[k] - slope[m - 1]) * 8.0 + intercept[k] - intercept[m - 1]));
    }
  }
  return gaps;
}

// True score equating searches score points from the integer part of form X's
// chance score (plus 0.0001) + 2 upwards; keeping that fraction at most 0.6
// leaves room for the form's gap at theta -8. At least 0.01 keeps the linear
// region's last value below every chance score, so the equivalents rise.
bool chance_score_fits(double chance) {
  const double shifted = chance + 0.0001;
  const double fraction = shifted - std::trunc(shifted);
  return fraction <= 0.6 && (shifted < 1.0 || fraction >= 0.01);
}

}  // namespace

double RandomCaseGenerator::uniform(double low, double high) {
  const double unit = static_cast<double>(engine_() >> 11) * 0x1.0p-53;
  return low + (high - low) * unit;
}

int RandomCaseGenerator::integer(int low, int high) {
  const auto range = static_cast<std::uint64_t>(high - low) + 1;
  return low + static_cast<int>(engine_() % range);
}

CaseShape RandomCaseGenerator::random_shape() {
  CaseShape shape;
  shape.y_items = integer(1, 60);
  shape.x_items = integer(1, 60);
  shape.group1_points = integer(0, 4) == 0 ? integer(1, 100) : integer(1, 30);
  shape.group2_points = integer(0, 4) == 0 ? integer(1, 100) : integer(1, 30);
  shape.self_equating = integer(0, 3) == 0;
  const int weight = integer(0, 7);
  shape.w2 = weight == 0 ? 0.0 : weight == 1 ? 1.0 : -1.0;
  return shape;
}

RandomCase RandomCaseGenerator::make(const CaseShape& shape) {
  const char* const separators[] = {" ", ",", "\t", ", ", "  "};
  separator_ = separators[integer(0, 4)];
  RandomCase run;
  const DrawnForm y = form(shape.y_items, shape.y_target_points, "form Y");
  run.y_items = y.text;
  run.x_items = shape.self_equating ? y.text : form(shape.x_items, shape.x_target_points, "form X").text;
  run.group2 = grid(shape.group2_points, "group 2");
  run.group1 = shape.self_equating ? run.group2 : grid(shape.group1_points, "group 1");
  const double w2 = shape.w2 >= 0.0 ? shape.w2 : round4(uniform(0.0, 1.0));
  run.scale_table = scale_table(y.points, y.lowest, w2);
  return run;
}

RandomCaseGenerator::DrawnForm RandomCaseGenerator::form(int item_count, int target_points, const std::string& title) {
  constexpr int widest_item = 15;  // 6 categories, steps of up to 3
  const int span = (target_points > 0 ? target_points : 1000) - 1;
  if (item_count < 1 || item_count > 200 || span < item_count || (target_points > 0 && span > widest_item * item_count)) {
    throw std::invalid_argument("no form of that many items has that many score points");
  }
  std::vector<DrawnItem> items;
  int used = 0;
  for (int i = 0; i < item_count; ++i) {
    const int after = item_count - i - 1;
    const int low = target_points > 0 ? std::max(1, span - used - after * widest_item) : 1;
    const int high = std::min(widest_item, span - used - after);
    items.push_back(item(low, high, 0.25 / item_count));
    used += items.back().scores.back() - items.back().scores.front();
  }
  const auto chance = [&] {
    double sum = 0.0;
    for (const DrawnItem& drawn : items) {
      if (drawn.code == "L3") sum += drawn.parameters[3];
    }
    return sum;
  };
  while (!chance_score_fits(chance())) {
    for (DrawnItem& drawn : items) {
      if (drawn.code == "L3") drawn.parameters[3] = round4(uniform(0.0, 0.3));
    }
  }

  DrawnForm result;
  result.text = "1 " + title + " items, " + std::to_string(item_count) + "\n";
  result.points = used + 1;
  for (std::size_t i = 0; i < items.size(); ++i) {
    const DrawnItem& drawn = items[i];
    result.lowest += drawn.scores.front();
    result.text += std::to_string(i + 1) + " " + drawn.code + " " + std::to_string(drawn.scores.size()) + "\n";
    for (std::size_t k = 0; k < drawn.scores.size(); ++k) {
      result.text += (k == 0 ? "" : separator_) + std::to_string(drawn.scores[k]);
    }
    result.text += "\n";
    for (std::size_t k = 0; k < drawn.parameters.size(); ++k) {
      result.text += (k == 0 ? "" : k % 5 == 0 ? "\n" : separator_) + number("%.4f", drawn.parameters[k]);
    }
    result.text += "\n";
  }
  return result;
}

RandomCaseGenerator::DrawnItem RandomCaseGenerator::item(int span_low, int span_high, double end_budget) {
  for (int attempt = 0; attempt < 100000; ++attempt) {
    DrawnItem drawn;
    const char* const codes[] = {"L3", "SN", "SL", "BN", "MU"};
    drawn.code = codes[integer(span_low > 1 ? 1 : 0, 4)];
    const double d = integer(0, 1) == 0 ? 1.7 : 1.0;
    if (drawn.code == "L3") {
      drawn.scores = {0, 1};
      drawn.parameters = {d, round4(uniform(0.5, 2.2)), round4(uniform(-2.5, 2.5)), round4(uniform(0.0, 0.3))};
    } else {
      const int m = integer(std::max(2, (span_low + 2) / 3 + 1), std::min(6, span_high + 1));
      drawn.scores = scores(m, integer(std::max(m - 1, span_low), std::min(3 * (m - 1), span_high)));
      if (drawn.code == "SN") {
        drawn.parameters = {round4(uniform(0.5, 2.0))};
      } else {
        drawn.parameters = {d};
      }
      if (drawn.code == "SN" || drawn.code == "SL") {
        if (drawn.code == "SL") drawn.parameters.push_back(round4(uniform(0.5, 2.2)));
        for (const double b : thresholds(m - 1)) drawn.parameters.push_back(b);
      } else if (drawn.code == "BN") {
        double slope = round4(uniform(-1.5, 0.5));
        for (int k = 0; k < m; ++k, slope = round4(slope + uniform(0.6, 1.6))) drawn.parameters.push_back(slope);
        for (int k = 0; k < m; ++k) drawn.parameters.push_back(round4(uniform(-1.5, 1.5)));
      } else {  // "MU": a, b, then one step per category
        drawn.parameters.push_back(round4(uniform(0.6, 1.8)));
        drawn.parameters.push_back(round4(uniform(-1.5, 1.5)));
        for (int k = 0; k < m; ++k) drawn.parameters.push_back(round4(uniform(-1.5, 1.5)));
      }
    }
    const EndGaps gaps = end_gaps(drawn.code, drawn.scores, drawn.parameters);
    if (gaps.bottom <= end_budget && gaps.top <= end_budget) return drawn;
  }
  throw std::runtime_error("no item within the end budget");
}

// Increasing scores over the given span: the two ends and distinct steps between them.
std::vector<int> RandomCaseGenerator::scores(int categories, int span) {
  std::vector<int> offsets = {0, span};
  while (static_cast<int>(offsets.size()) < categories) {
    const int offset = integer(1, span - 1);
    if (std::find(offsets.begin(), offsets.end(), offset) == offsets.end()) offsets.push_back(offset);
  }
  std::sort(offsets.begin(), offsets.end());
  const int lowest = integer(0, 1) == 0 ? 0 : integer(-3, 3);
  for (int& offset : offsets) offset += lowest;
  return offsets;
}

// Increasing thresholds in [-2.5, 2.5], at least 0.05 apart.
std::vector<double> RandomCaseGenerator::thresholds(int count) {
  for (;;) {
    std::vector<double> b;
    for (int k = 0; k < count; ++k) b.push_back(round4(uniform(-2.5, 2.5)));
    std::sort(b.begin(), b.end());
    bool apart = true;
    for (std::size_t k = 1; k < b.size(); ++k) apart = apart && b[k] - b[k - 1] >= 0.05;
    if (apart) return b;
  }
}

// Evenly spaced, sorted or unsorted points within [-5, 5]; weights like a
// normal density times a count, or anything positive.
std::string RandomCaseGenerator::grid(int count, const std::string& title) {
  std::string text = title + " ability distribution\n";
  const int layout = integer(0, 2);
  const bool normal_weights = integer(0, 1) == 0;
  const double scale = uniform(0.1, 1000.0);
  const double reach = uniform(2.0, 5.0);
  std::vector<double> points;
  for (int j = 0; j < count; ++j) {
    points.push_back(layout == 0 && count > 1 ? -reach + 2.0 * reach * j / (count - 1) : uniform(-reach, reach));
  }
  if (layout == 1) std::sort(points.begin(), points.end());
  for (const double point : points) {
    const double weight = normal_weights ? scale * std::exp(-point * point / 2.0) : uniform(0.01, 5.0);
    text += number("%.6f", point) + separator_ + number("%.6g", weight) + "\n";
  }
  return text;
}

// Rising scale scores from anywhere in [-20, 500], rounded half away from zero.
std::string RandomCaseGenerator::scale_table(int points, int lowest_score, double w2) {
  double scale = round4(uniform(-20.0, 500.0));
  std::string rows;
  const double first = scale;
  for (int k = 0; k < points; ++k) {
    if (k > 0) scale = round4(scale + uniform(0.3, 3.0));
    const double rounded = scale >= 0.0 ? std::trunc(scale + 0.5) : -std::trunc(-scale + 0.5);
    rows += std::to_string(lowest_score + k) + separator_ + number("%.4f", scale) + separator_ +
            number("%.0f", rounded) + "\n";
  }
  const int scale_min = static_cast<int>(std::floor(first)) - integer(0, 2);
  const int scale_max = static_cast<int>(std::ceil(scale)) + integer(0, 2);
  return "form Y raw-to-scale conversion\n" + std::to_string(scale_min) + separator_ + std::to_string(scale_max) +
         separator_ + number("%.4f", w2) + "\n" + rows;
}

void write_case(const RandomCase& run, const std::filesystem::path& folder) {
  write_file(folder / "control.txt",
             "output report.txt\nold_para y.par\nold_quad g2.qd\nraw2scale y.scl\nnew_para x.par\nnew_quad g1.qd\n");
  write_file(folder / "y.par", run.y_items);
  write_file(folder / "x.par", run.x_items);
  write_file(folder / "g1.qd", run.group1);
  write_file(folder / "g2.qd", run.group2);
  write_file(folder / "y.scl", run.scale_table);
}

}  // namespace irteq::testing
