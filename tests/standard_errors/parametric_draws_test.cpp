// Parametric draws of a small linked run of all five models: the same seed
// gives bitwise the same statistics on one, two and four threads, and draws
// that have to be drawn again too often fail with the same message on each.
#include "standard_errors/parametric_draws.hpp"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "common/score_range.hpp"
#include "irteq/error.hpp"
#include "irteq/files.hpp"
#include "models/item_model_facts.hpp"
#include "standard_errors/summarise_draws.hpp"
#include "support/mixed_form.hpp"

namespace irteq::testing {
namespace {

// Form X is form Y on another scale, a little drifted; group 1 a little abler.
RunInput linked_run() {
  EquatingInput input;
  input.items_y = mixed_form();
  input.items_x = transform_items(input.items_y, 1.0 / 1.3, -0.4 / 1.3);
  input.items_x[0].parameters[2] += 0.15;
  input.items_x[3].parameters[0] *= 1.1;
  input.items_x[0].parameters[3] = 0.01;  // a lower asymptote near 0, which draws now and then push below
  input.grid_group2 = normal_shaped_grid();
  input.grid_group1 = normal_shaped_grid(-0.2, 0.9);
  const ScoreRange range = score_range(input.items_y);
  input.scale_table.scale_min = 100;
  input.scale_table.scale_max = static_cast<int>(100 + 2 * (range.highest - range.lowest));
  for (long long raw = range.lowest; raw <= range.highest; ++raw) {
    input.scale_table.scale.push_back(static_cast<double>(100 + 2 * (raw - range.lowest)));
    input.scale_table.rounded.push_back(input.scale_table.scale.back());
  }
  LinkingInput linking;
  linking.method = LinkingMethod::haebara;
  for (const Item& item : input.items_y) linking.common.push_back({item.number, item.number, 0});
  return {input, linking};
}

// Each item's own block: variances 0.02^2 (guessing_sd^2 for an "L3" c), a little covariance within the item.
Covariance item_blocks(const std::vector<Item>& items, double guessing_sd = 0.01) {
  const std::size_t size = covariance_size(items);
  Covariance covariance{size, std::vector<double>(size * size, 0.0)};
  std::size_t first = 0;
  for (const Item& item : items) {
    const std::size_t n = estimated_parameter_count(item);
    for (std::size_t i = 0; i < n; ++i) {
      for (std::size_t j = 0; j < n; ++j) {
        const bool guessing = item.model == ItemModel::l3 && (i == 2 || j == 2);
        const double sd = guessing ? guessing_sd : 0.02;
        covariance.values[(first + i) * size + first + j] = i == j ? sd * sd : 0.2 * sd * 0.02;
      }
    }
    first += n;
  }
  return covariance;
}

std::vector<double> all_numbers(const StandardErrors& errors) {
  std::vector<double> numbers;
  for (const PointStandardErrors* point : {&errors.true_raw, &errors.true_scale, &errors.observed_raw,
                                           &errors.observed_scale}) {
    for (const DrawSpread& spread : *point->draws) numbers.insert(numbers.end(), {spread.sd, spread.lower, spread.upper});
  }
  for (const std::optional<DrawSpread>* constant : {&errors.A_draws, &errors.B_draws}) {
    numbers.insert(numbers.end(), {(*constant)->sd, (*constant)->lower, (*constant)->upper});
  }
  numbers.push_back(errors.redraws);
  for (const InvalidDrawnItem& item : errors.invalid_items) {
    numbers.insert(numbers.end(), {item.form == 'X' ? 1.0 : 2.0, 1.0 * item.item, 1.0 * item.count});
  }
  return numbers;
}

TEST(ParametricDraws, GiveTheSameBitsOnAnyThreadCount) {
  const RunInput run = linked_run();
  const LinkingResult linking = link(run.equating, *run.linking);
  const ParameterCovariances covariances{item_blocks(run.equating.items_x), item_blocks(run.equating.items_y)};
  std::vector<double> first;
  for (const int threads : {1, 2, 4}) {
    SCOPED_TRACE(threads);
    int calls = 0;
    const StandardErrorOptions options{.draws = 60, .seed = 20240611, .threads = threads,
                                       .progress = [&](int done, int total) {
                                         EXPECT_EQ(total, 60);
                                         EXPECT_LE(done, total);
                                         ++calls;
                                         return true;
                                       }};
    StandardErrors errors;
    summarise_draws(parametric_draws(run, covariances, options, default_root_tolerance), errors);
    EXPECT_EQ(errors.draws, 60);
    EXPECT_GT(calls, 1);
    const std::vector<double> numbers = all_numbers(errors);
    if (first.empty()) {
      first = numbers;
      EXPECT_GT(errors.redraws, 0);
      EXPECT_FALSE(errors.invalid_items.empty());
      EXPECT_GT(errors.A_draws->sd, 0.0);
      EXPECT_LT(errors.A_draws->lower, linking.A);
      EXPECT_GT(errors.A_draws->upper, linking.A);
    }
    ASSERT_EQ(numbers.size(), first.size());
    EXPECT_EQ(std::memcmp(numbers.data(), first.data(), numbers.size() * sizeof(double)), 0);
  }
}

// Guessing parameters near 0 with a spread of 0.3: most draws have a c
// below 0 and are drawn again, until more than 10 R redraws in all end the
// run. Which draw passes the limit, and its message, are the same on any
// thread count.
TEST(ParametricDraws, FailAtTheSameDrawOnAnyThreadCount) {
  RunInput run = linked_run();
  for (std::vector<Item>* items : {&run.equating.items_x, &run.equating.items_y}) {
    for (Item& item : *items) {
      if (model_facts(item.model).chance_parameter >= 0) item.parameters[3] = 0.001;
    }
  }
  const ParameterCovariances covariances{item_blocks(run.equating.items_x, 0.3),
                                         item_blocks(run.equating.items_y, 0.3)};
  std::string first;
  for (const int threads : {1, 2, 4}) {
    SCOPED_TRACE(threads);
    try {
      parametric_draws(run, covariances, {.draws = 20, .seed = 5, .threads = threads}, default_root_tolerance);
      ADD_FAILURE() << "no error";
    } catch (const Error& error) {
      if (first.empty()) first = error.what();
      EXPECT_EQ(error.what(), first);
    }
  }
  EXPECT_NE(first.find("more than 200 draws had to be drawn again"), std::string::npos) << first;
  EXPECT_NE(first.find("lower asymptote"), std::string::npos) << first;
}

}  // namespace
}  // namespace irteq::testing
