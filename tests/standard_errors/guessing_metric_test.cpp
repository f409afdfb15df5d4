// Covariances with logit(c) on the "L3" c rows, as calibration programs give
// them: the delta method sees the same uncertainty as in the probability
// metric, and parametric draws keep c inside (0, 1) where draws of c itself
// fall below 0 and name the items that did.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numeric>
#include <string>
#include <vector>

#include "irteq/error.hpp"
#include "irteq/linking.hpp"
#include "irteq/models.hpp"
#include "irteq/run.hpp"
#include "support/mixed_form.hpp"

namespace irteq::testing {
namespace {

constexpr double c_se = 0.03;

// Ten "L3" items with c from 0.03 to 0.05, labelled R05001 ...; form X is
// form Y on another scale, a little drifted, linked by all of them when linked.
RunInput guessing_run(bool linked) {
  RunInput run;
  EquatingInput& e = run.equating;
  for (int i = 0; i < 10; ++i) {
    const double b = -1.5 + 0.3 * i;
    e.items_y.push_back({i + 1, ItemModel::l3, {0, 1}, {1.7, 0.8 + 0.05 * i, b, 0.03 + 0.002 * i},
                         "R0500" + std::to_string(i)});
  }
  e.items_x = linked ? transform_items(e.items_y, 1.0 / 1.2, -0.3 / 1.2) : e.items_y;
  if (linked) {
    // A little drift, so that every pair has a Wald statistic above 0.
    for (std::size_t i = 0; i < e.items_x.size(); ++i) e.items_x[i].parameters[2] += 0.02 + 0.01 * (i % 3);
  }
  e.grid_group2 = normal_shaped_grid();
  e.grid_group1 = linked ? normal_shaped_grid(-0.2, 0.9) : e.grid_group2;
  e.scale_table = raw_score_table(e.items_y);
  if (linked) {
    run.linking = LinkingInput{{}, LinkingMethod::stocking_lord};
    for (const Item& item : e.items_y) run.linking->common.push_back({item.number, item.number, 0});
  }
  return run;
}

// Each item's a, b, c with standard errors 0.05, 0.08 and c_se, correlated
// 0.3 with each other; in the logit metric the c rows are those of
// logit(c), whose standard error is c_se / (c(1 - c)).
Covariance item_blocks(const std::vector<Item>& items, GuessingMetric metric) {
  const std::size_t size = covariance_size(items);
  Covariance covariance{size, std::vector<double>(size * size, 0.0), metric};
  for (std::size_t item = 0; item < items.size(); ++item) {
    const double c = items[item].parameters[3];
    const double sd[] = {0.05, 0.08, metric == GuessingMetric::logit ? c_se / (c * (1.0 - c)) : c_se};
    for (std::size_t i = 0; i < 3; ++i) {
      for (std::size_t j = 0; j < 3; ++j) {
        covariance.values[(3 * item + i) * size + 3 * item + j] = (i == j ? 1.0 : 0.3) * sd[i] * sd[j];
      }
    }
  }
  return covariance;
}

ParameterCovariances both(const RunInput& run, GuessingMetric metric) {
  return {item_blocks(run.equating.items_x, metric), item_blocks(run.equating.items_y, metric)};
}

RunOptions with_errors(const StandardErrorOptions& errors, const ParameterCovariances& covariances) {
  RunOptions options;
  options.standard_errors = errors;
  options.covariances = covariances;
  return options;
}

TEST(GuessingMetric, GivesTheSameDeltaMethodAndWaldTestsInEitherMetric) {
  const RunInput run = guessing_run(true);
  const StandardErrorOptions delta{.delta_method = true};
  const RunResult probability = irteq::run(run, with_errors(delta, both(run, GuessingMetric::probability)));
  const RunResult logit = irteq::run(run, with_errors(delta, both(run, GuessingMetric::logit)));
  std::vector<double> expected, got;
  for (const auto& [from, to] : {std::pair{&probability, &expected}, std::pair{&logit, &got}}) {
    const StandardErrors& e = *from->standard_errors;
    for (const auto* v : {&*e.true_raw.delta, &*e.observed_raw.delta}) to->insert(to->end(), v->begin(), v->end());
    for (const MethodConstants& m : from->linking->methods) {
      if (m.available()) to->insert(to->end(), {*m.se_A, *m.se_B});
    }
    for (const AnchorFit& anchor : from->linking->anchors) to->push_back(*anchor.wald);
  }
  ASSERT_EQ(got.size(), expected.size());
  EXPECT_GT(std::count_if(expected.begin(), expected.end(), [](double v) { return v > 0.0; }), 30);
  for (std::size_t i = 0; i < got.size(); ++i) EXPECT_NEAR(got[i], expected[i], 1e-12 * expected[i]) << i;
}

TEST(GuessingMetric, DrawsLogitsWithoutRedrawsWhereCDrawsNameTheItems) {
  const RunInput run = guessing_run(false);
  const StandardErrorOptions draws{.draws = 1000, .seed = 7, .threads = 2};
  for (const GuessingMetric metric : {GuessingMetric::logit, GuessingMetric::probability}) {
    SCOPED_TRACE(metric == GuessingMetric::logit ? "logit" : "probability");
    ParameterCovariances covariances;
    covariances.x = item_blocks(run.equating.items_x, metric);
    const StandardErrors errors = *irteq::run(run, with_errors(draws, covariances)).standard_errors;
    EXPECT_EQ(errors.draws, 1000);
    const std::string warning = redraws_warning(errors);
    if (metric == GuessingMetric::logit) {
      EXPECT_EQ(errors.redraws, 0);
      EXPECT_TRUE(errors.invalid_items.empty());
      EXPECT_EQ(warning, "");
      continue;
    }
    // Every attempt drawn again had an invalid item.
    ASSERT_FALSE(errors.invalid_items.empty());
    int counted = 0;
    for (std::size_t k = 0; k < errors.invalid_items.size(); ++k) {
      const InvalidDrawnItem& item = errors.invalid_items[k];
      counted += item.count;
      EXPECT_EQ(item.form, 'X');
      EXPECT_EQ(item.label, "R0500" + std::to_string(item.item - 1));
      if (k > 0) {
        EXPECT_LE(item.count, errors.invalid_items[k - 1].count);
      }
    }
    EXPECT_GE(counted, errors.redraws);
    const std::string start = "parametric draws: " + std::to_string(errors.redraws) + " of " +
                              std::to_string(errors.redraws + 1000) + " drawn again (";
    EXPECT_EQ(warning.substr(0, start.size()), start);
    const InvalidDrawnItem& first = errors.invalid_items[0];
    const std::string worst = "; invalid most often: form X item " + std::to_string(first.item) + " (" +
                              first.label + ") " + std::to_string(first.count) + ", form X item ";
    EXPECT_NE(warning.find(worst), std::string::npos) << warning;
  }
}

// An estimate of c = 0 has no logit: a variance of logit(c) there is refused
// naming the item, while a c of 0 held fixed (a zero row) is used as it is.
TEST(GuessingMetric, RefusesAVarianceOfTheLogitOfACOfZero) {
  RunInput run = guessing_run(false);
  ParameterCovariances covariances;
  covariances.x = item_blocks(run.equating.items_x, GuessingMetric::logit);
  run.equating.items_x[3].parameters[3] = 0.0;
  try {
    irteq::run(run, with_errors({.delta_method = true}, covariances));
    ADD_FAILURE() << "no error";
  } catch (const Error& error) {
    EXPECT_EQ(error.diagnostic().item, 4);
    EXPECT_NE(std::string(error.what()).find("item 4 (number 4, R05003) has c = 0"), std::string::npos)
        << error.what();
  }
  Covariance& x = *covariances.x;
  for (std::size_t j = 0; j < x.size; ++j) x.values[11 * x.size + j] = x.values[j * x.size + 11] = 0.0;
  EXPECT_NO_THROW(irteq::run(run, with_errors({.delta_method = true, .draws = 5}, covariances)));
}

}  // namespace
}  // namespace irteq::testing
