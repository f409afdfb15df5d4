#include "irteq/tables.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <map>
#include <vector>

#include "irteq/files.hpp"
#include "irteq/linking.hpp"
#include "irteq/models.hpp"
#include "irteq/run.hpp"
#include "models/normalised_grid.hpp"
#include "support/mixed_form.hpp"

namespace irteq::testing {
namespace {

namespace fs = std::filesystem;

// A form of one item of each model but "SL", small enough to enumerate its response patterns.
std::vector<Item> small_form(double shift) {
  return {{1, ItemModel::l3, {0, 1}, {1.7, 1.1, -0.4 + shift, 0.2}},
          {2, ItemModel::sn, {0, 1, 3}, {0.9, -0.7 + shift, 0.8 + shift}},
          {3, ItemModel::mu, {0, 1, 2}, {1.7, 1.0, 0.3 + shift, 0.0, 0.5, -0.5}},
          {4, ItemModel::bn, {1, 2, 4}, {1.0, -0.8, 0.1, 0.7, 0.4, 0.3, -0.7}}};
}

// L_x(theta) by summing the probability of every response pattern with raw score x.
std::map<int, double> brute_force(const std::vector<Item>& items, double theta) {
  std::map<int, double> distribution{{0, 1.0}};
  for (const Item& item : items) {
    const std::vector<double> p = probabilities(item, theta);
    std::map<int, double> next;
    for (const auto& [score, probability] : distribution) {
      for (std::size_t k = 0; k < p.size(); ++k) next[score + item.category_scores[k]] += probability * p[k];
    }
    distribution = next;
  }
  return distribution;
}

RunInput small_run() {
  RunInput input;
  EquatingInput& e = input.equating;
  e.items_y = small_form(0.0);
  e.items_x = small_form(0.3);
  e.grid_group2 = normal_shaped_grid(0.0, 1.0);
  e.grid_group1 = normal_shaped_grid(0.2, 0.9);
  // Form Y's scores 1..10: scale scores 100 + 3.3 r, the top two clamped by scale_max 127.
  for (int r = 1; r <= 10; ++r) {
    e.scale_table.scale.push_back(100.0 + 3.3 * r);
    e.scale_table.rounded.push_back(std::round(100.0 + 3.3 * r));
  }
  e.scale_table.scale_min = 100;
  e.scale_table.scale_max = 127;
  input.cut_scores = CutScores{.cuts = {108.0, 118.5}, .levels = {"basic", "proficient", "advanced"}};
  return input;
}

struct Direct {
  double eap = 0.0;
  double sd = 0.0;
};

// Every formula of the tables, written out over the enumerated distributions.
TEST(ReportTables, FormulasAgreeWithResponsePatternsOnASmallMixedForm) {
  const RunInput input = small_run();
  RunOptions options;
  const RunResult result = run(input, options);
  ASSERT_TRUE(result.tables);
  const ReportTables& t = *result.tables;
  const EquatingResult& e = result.equating;
  const QuadratureGrid g1 = normalised_grid(input.equating.grid_group1);
  const QuadratureGrid g2 = normalised_grid(input.equating.grid_group2);

  // P(r) is the marginal distribution itself; EAP and SD by their definitions.
  EXPECT_EQ(t.eap_x.probabilities, e.x.group1);
  EXPECT_EQ(t.eap_y.probabilities, e.y.group2);
  for (std::size_t r = 0; r < e.x.raw_scores.size(); ++r) {
    const int score = static_cast<int>(e.x.raw_scores[r]);
    double p = 0.0, first = 0.0, second = 0.0;
    for (std::size_t q = 0; q < g1.points.size(); ++q) {
      const double L = brute_force(input.equating.items_x, g1.points[q])[score];
      p += g1.weights[q] * L;
      first += g1.weights[q] * g1.points[q] * L;
      second += g1.weights[q] * g1.points[q] * g1.points[q] * L;
    }
    EXPECT_NEAR(p, e.x.group1[r], 1e-14);
    ASSERT_TRUE(t.eap_x.eap[r]);
    EXPECT_NEAR(*t.eap_x.eap[r], first / p, 1e-11);
    EXPECT_NEAR(*t.eap_x.sd[r], std::sqrt(second / p - (first / p) * (first / p)), 1e-7);
  }

  // The conversion: rounded scale scores clamped, levels at the cuts.
  for (std::size_t i = 0; i < e.x.raw_scores.size(); ++i) {
    EXPECT_EQ(t.conversion.true_reported[i], std::clamp(e.true_score.rounded[i], 100.0, 127.0));
    const double s = t.conversion.observed_reported[i];
    EXPECT_EQ(t.conversion.observed_level[i], (s >= 108.0) + (s >= 118.5));
  }
  EXPECT_EQ(t.conversion.y_reported.back(), 127.0);

  // CSEM by theta and reliability of form X's reported true score equivalents.
  const std::vector<double>& reported = t.conversion.true_reported;
  double error_variance = 0.0;
  std::vector<double> level_p(3, 0.0);
  double accuracy = 0.0, consistency = 0.0;
  for (std::size_t q = 0; q < g1.points.size(); ++q) {
    const std::map<int, double> L = brute_force(input.equating.items_x, g1.points[q]);
    double mean = 0.0, square = 0.0, total = 0.0;
    std::vector<double> p(3, 0.0);
    for (std::size_t i = 0; i < e.x.raw_scores.size(); ++i) {
      const double l = L.at(static_cast<int>(e.x.raw_scores[i]));
      mean += l * reported[i];
      square += l * reported[i] * reported[i];
      total += l;
      p[static_cast<std::size_t>((reported[i] >= 108.0) + (reported[i] >= 118.5))] += l;
    }
    const double csem = std::sqrt(std::max(square - mean * mean, 0.0));
    const auto row = std::find_if(t.csem.begin(), t.csem.end(), [&](const CsemRow& c) {
      return c.form == TableForm::x && !c.raw_score && c.equating == TableEquating::true_score &&
             c.metric == TableMetric::reported && c.theta == g1.points[q];
    });
    ASSERT_NE(row, t.csem.end());
    EXPECT_NEAR(row->csem, csem, 1e-6);
    error_variance += g1.weights[q] * csem * csem;
    const int true_level = (mean >= 108.0) + (mean >= 118.5);
    accuracy += g1.weights[q] * p[static_cast<std::size_t>(true_level)] / total;
    for (std::size_t k = 0; k < 3; ++k) {
      consistency += g1.weights[q] * p[k] * p[k] / (total * total);
      level_p[k] += g1.weights[q] * p[k] / total;
    }
  }
  double mean = 0.0, square = 0.0;
  for (std::size_t i = 0; i < reported.size(); ++i) {
    mean += e.x.group1[i] * reported[i];
    square += e.x.group1[i] * reported[i] * reported[i];
  }
  const auto reliability = std::find_if(t.reliability.begin(), t.reliability.end(), [](const ReliabilityRow& r) {
    return r.form == TableForm::x && r.equating == TableEquating::true_score && r.metric == TableMetric::reported;
  });
  ASSERT_NE(reliability, t.reliability.end());
  EXPECT_NEAR(reliability->reliability, 1.0 - error_variance / (square - mean * mean), 1e-9);

  const ClassificationRow& overall = t.classification.front();
  ASSERT_EQ(overall.equating, TableEquating::true_score);
  EXPECT_NEAR(overall.accuracy, accuracy, 1e-12);
  EXPECT_NEAR(overall.consistency, consistency, 1e-12);
  const double chance = level_p[0] * level_p[0] + level_p[1] * level_p[1] + level_p[2] * level_p[2];
  EXPECT_NEAR(*overall.kappa, (consistency - chance) / (1.0 - chance), 1e-11);
  EXPECT_NEAR(overall.accuracy + overall.false_positive + overall.false_negative, 1.0, 1e-14);
}

// Bounds every table keeps, on every generated case with three cuts inside
// its scale; and one cut at the bottom of the scale classifies every
// examinee in the top level, exactly.
TEST(ReportTables, GeneratedCasesKeepTheirBounds) {
  std::error_code error;
  int cases = 0;
  for (const auto& entry : fs::directory_iterator(IRTEQ_CASES_DIR, error)) {
    if (!fs::exists(entry.path() / "control.txt")) continue;
    SCOPED_TRACE(entry.path().filename().string());
    RunInput input = read_run(read_control(entry.path() / "control.txt"));
    const ScaleTable& scale = input.equating.scale_table;
    const double low = scale.scale_min;
    const double span = scale.scale_max - scale.scale_min;
    for (const std::vector<double>& cuts :
         {std::vector<double>{low + 0.25 * span, low + 0.5 * span + 0.5, low + 0.75 * span + 1.0}, {low}}) {
      if (cuts.size() > 1 && !(cuts[0] < cuts[1] && cuts[1] < cuts[2] && cuts[2] <= scale.scale_max)) continue;
      input.cut_scores = CutScores{.cuts = cuts};
      const RunResult result = run(input);
      const ReportTables& t = *result.tables;
      EXPECT_EQ(t.eap_x.probabilities, result.equating.x.group1);
      EXPECT_EQ(t.eap_y.probabilities, result.equating.y.group2);
      for (const CsemRow& c : t.csem) EXPECT_GE(c.csem, 0.0);
      for (const ClassificationRow& c : t.classification) {
        if (cuts.size() == 1) {
          EXPECT_EQ(c.accuracy, 1.0);
          EXPECT_EQ(c.consistency, 1.0);
          EXPECT_FALSE(c.kappa);
          continue;
        }
        for (const double value : {c.accuracy, c.consistency, c.false_positive, c.false_negative}) {
          EXPECT_GE(value, 0.0);
          EXPECT_LE(value, 1.0);
        }
        EXPECT_NEAR(c.accuracy + c.false_positive + c.false_negative, 1.0, 1e-12);
      }
    }
    ++cases;
  }
  if (cases == 0) GTEST_SKIP() << "no generated cases at " << IRTEQ_CASES_DIR;
}

}  // namespace
}  // namespace irteq::testing
