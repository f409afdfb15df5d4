// The standard errors of a whole linked run of a form of all five models:
// the delta method against central differences of link() and equate()
// themselves, and against the spread of parametric draws.
#include "irteq/run.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <utility>
#include <vector>

#include "irteq/models.hpp"
#include "models/item_model_facts.hpp"
#include "support/mixed_form.hpp"
#include "support/model_examples.hpp"

namespace irteq::testing {
namespace {

// Form X is form Y a little changed and put on a scale theta_X = (theta_Y - 0.3) / 1.2,
// linked through all its items; form Y's scale conversion bends, so that its
// slopes differ from point to point, and its end lines (to the scale limits
// +-0.5) continue its slopes, so that no result sits at a kink that the
// draws would straddle.
RunInput linked_run(const std::vector<Item>& items_y, LinkingMethod method) {
  RunInput run;
  EquatingInput& e = run.equating;
  e.items_y = items_y;
  std::vector<Item> changed = items_y;
  for (Item& item : changed) item.parameters.back() += 0.05;
  e.items_x = transform_items(changed, 1.0 / 1.2, -0.3 / 1.2);
  e.grid_group2 = normal_shaped_grid(0.0, 1.0);
  e.grid_group1 = transform_grid(normal_shaped_grid(0.2, 0.9), 1.0 / 1.2, -0.3 / 1.2);
  ScaleTable& table = e.scale_table = raw_score_table(items_y);
  for (std::size_t j = 0; j < table.scale.size(); ++j) {
    table.scale[j] = 100.0 + static_cast<double>(j) + 0.02 * static_cast<double>(j * j);
    table.rounded[j] = std::round(table.scale[j]);
  }
  table.scale_min = 100;
  table.scale_max = table.scale.back() + 0.5;
  run.linking = LinkingInput{{}, method};
  for (const Item& item : e.items_y) run.linking->common.push_back({item.number, item.number, 0});
  return run;
}

// Each item's block: variance v, covariance v / 10 between its parameters;
// the first item's c is held fixed (a zero row and column).
Covariance item_blocks(const std::vector<Item>& items, double v) {
  const std::size_t size = covariance_size(items);
  Covariance c{size, std::vector<double>(size * size, 0.0)};
  std::size_t first = 0;
  for (const Item& item : items) {
    const std::size_t n = covariance_size({item});
    for (std::size_t i = 0; i < n; ++i) {
      for (std::size_t j = 0; j < n; ++j) c.values[(first + i) * size + first + j] = i == j ? v : v / 10.0;
    }
    first += n;
  }
  for (std::size_t j = 0; j < size; ++j) c.values[2 * size + j] = c.values[j * size + 2] = 0.0;
  return c;
}

// Form Y equated to itself, unlinked, each form with a covariance of its own. Its
// equivalents fall on form Y's score points, the scale conversion's knots,
// where differences would straddle two slopes: the conversion is a straight line.
RunInput self_run() {
  RunInput run = linked_run(mixed_form(), LinkingMethod::haebara);
  run.equating.items_x = run.equating.items_y;
  run.equating.grid_group1 = run.equating.grid_group2;
  run.linking.reset();
  ScaleTable& table = run.equating.scale_table;
  for (std::size_t j = 0; j < table.scale.size(); ++j) table.scale[j] = table.rounded[j] = 100.0 + j;
  table.scale_max = 125;
  return run;
}

// Built field by field: GCC 12 takes a std::function in nested designated
// initializers for one that may be used uninitialized.
RunOptions with_errors(const StandardErrorOptions& errors, const ParameterCovariances& covariances) {
  RunOptions options;
  options.standard_errors = errors;
  options.covariances = covariances;
  return options;
}

// A, B (when linked), then every point's true and observed equivalents on both metrics.
std::vector<double> flattened(const RunResult& o) {
  std::vector<double> values;
  if (o.linking) values = {o.linking->A, o.linking->B};
  const EquatingResult& r = o.equating;
  for (const auto* v : {&r.true_score.equivalents, &r.true_score.scale, &r.observed_score.equivalents,
                        &r.observed_score.scale}) {
    values.insert(values.end(), v->begin(), v->end());
  }
  return values;
}

// The same order: the applied constants' standard errors, then the equivalents'.
std::vector<double> standard_errors_of(const RunResult& o, bool draws) {
  const StandardErrors& se = *o.standard_errors;
  std::vector<double> values;
  if (o.linking) {
    const MethodConstants& applied = o.linking->methods[static_cast<std::size_t>(o.linking->applied)];
    values = {draws ? se.A_draws->sd : *applied.se_A, draws ? se.B_draws->sd : *applied.se_B};
  }
  for (const PointStandardErrors* p : {&se.true_raw, &se.true_scale, &se.observed_raw, &se.observed_scale}) {
    if (draws) {
      for (const DrawSpread& spread : *p->draws) values.push_back(spread.sd);
    } else {
      values.insert(values.end(), p->delta->begin(), p->delta->end());
    }
  }
  return values;
}

// The delta method's standard errors of A, B and every equivalent against
// sqrt(g' V g) of central differences of run() itself, one parameter at a time.
void expect_delta_method_matches_differences(RunInput run, const ParameterCovariances& covariances) {
  const RunResult at = irteq::run(run, with_errors({.delta_method = true}, covariances));
  const std::vector<double> centre = flattened(at);
  std::vector<std::vector<double>> gradient;
  for (const bool form_x : {true, false}) {
    std::vector<Item>& items = form_x ? run.equating.items_x : run.equating.items_y;
    for (std::size_t i = 0; i < items.size(); ++i) {
      for (std::size_t k = first_estimated_parameter(items[i].model); k < items[i].parameters.size(); ++k) {
        const double kept = items[i].parameters[k];
        const double h = 1e-6;
        std::vector<double> step[2];
        for (int side = 0; side < 2; ++side) {
          items[i].parameters[k] = kept + (side == 0 ? h : -h);
          step[side] = flattened(irteq::run(run));
        }
        items[i].parameters[k] = kept;
        std::vector<double> g(centre.size());
        for (std::size_t r = 0; r < g.size(); ++r) g[r] = (step[0][r] - step[1][r]) / (2 * h);
        gradient.push_back(g);
      }
    }
  }
  const std::size_t px = covariances.x->size;
  const std::vector<double> delta = standard_errors_of(at, false);
  for (std::size_t r = 0; r < centre.size(); ++r) {
    double variance = 0.0;
    for (std::size_t a = 0; a < gradient.size(); ++a) {
      for (std::size_t b = 0; b < gradient.size(); ++b) {
        const bool same_form = (a < px) == (b < px);
        if (!same_form) continue;
        const Covariance& v = a < px ? *covariances.x : *covariances.y;
        const std::size_t ia = a < px ? a : a - px;
        const std::size_t ib = b < px ? b : b - px;
        variance += gradient[a][r] * v.values[ia * v.size + ib] * gradient[b][r];
      }
    }
    EXPECT_NEAR(delta[r], std::sqrt(variance), 1e-5 + 1e-4 * delta[r]) << "result " << r;
  }
}

// The mixed form equated to itself and linked by two methods, then every
// model of the table in a run of its own (with an "L3" item) linked by
// Stocking-Lord: a model the standard errors took wrongly anywhere (its
// estimated parameters, its linking, its derivatives) shows here.
TEST(StandardErrors, DeltaMethodMatchesDifferencesOfTheWholeRun) {
  std::vector<std::pair<std::string, RunInput>> runs{{"form equated to itself", self_run()},
                                                     {"mean/sigma", linked_run(mixed_form(), LinkingMethod::mean_sigma)},
                                                     {"haebara", linked_run(mixed_form(), LinkingMethod::haebara)}};
  for (const ItemModelFacts& facts : item_model_table) {
    std::vector<Item> items = model_examples(facts.model);
    items.push_back({3, ItemModel::l3, {0, 1}, {1.7, 1.2, 0.3, 0.2}});
    runs.emplace_back(facts.code, linked_run(items, LinkingMethod::stocking_lord));
  }
  for (const auto& [name, run] : runs) {
    SCOPED_TRACE(name);
    expect_delta_method_matches_differences(
        run, {item_blocks(run.equating.items_x, 0.004), item_blocks(run.equating.items_y, 0.003)});
  }
}

TEST(StandardErrors, DeltaMethodAndDrawsAgreeWithinMonteCarloError) {
  const RunInput run = linked_run(mixed_form(), LinkingMethod::stocking_lord);
  const ParameterCovariances covariances{item_blocks(run.equating.items_x, 0.002),
                                         item_blocks(run.equating.items_y, 0.002)};
  const RunResult at = irteq::run(run, with_errors({.delta_method = true, .draws = 2000, .threads = 2}, covariances));
  EXPECT_EQ(at.standard_errors->draws, 2000);
  const std::vector<double> delta = standard_errors_of(at, false);
  const std::vector<double> draws = standard_errors_of(at, true);
  // The sd of 2000 draws is within 1.6 % of its mean one time in three;
  // the rest is the results' curvature over the draws' spread.
  for (std::size_t r = 0; r < delta.size(); ++r) {
    if (delta[r] < 1e-3) continue;
    EXPECT_NEAR(draws[r] / delta[r], 1.0, 0.08) << "result " << r;
  }
}

}  // namespace
}  // namespace irteq::testing
