// The observed score gradients against central differences of equate()'s
// equivalents in every parameter of a mixed form equated to a perturbed copy,
// unlinked, linked (with the A and B columns), and with the near-zero
// adjustment applied; and the same numbers on one thread and on two.
#include "standard_errors/observed_score_gradients.hpp"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "common/score_range.hpp"
#include "irteq/equate.hpp"
#include "irteq/linking.hpp"
#include "models/item_model_facts.hpp"
#include "models/parameter_derivatives.hpp"
#include "standard_errors/equipercentile_steps.hpp"
#include "support/mixed_form.hpp"

namespace irteq::testing {
namespace {


// A scale table with a row for each of form Y's score points.
EquatingInput with_scale_table(EquatingInput input) {
  const auto rows = static_cast<std::size_t>(score_range(input.items_y).point_count());
  input.scale_table = {};
  for (std::size_t j = 0; j < rows; ++j) {
    input.scale_table.scale.push_back(100.0 + 3.0 * static_cast<double>(j));
    input.scale_table.rounded.push_back(input.scale_table.scale.back());
  }
  input.scale_table.scale_min = 100;
  input.scale_table.scale_max = 300;
  return input;
}

EquatingInput run_input() {
  EquatingInput input;
  input.items_x = mixed_form();
  input.items_y = perturbed_mixed_form(0.03);
  input.grid_group1 = normal_shaped_grid(0.2, 0.9);
  input.grid_group2 = normal_shaped_grid(-0.1, 1.1);
  input.w2 = 0.3;
  return with_scale_table(std::move(input));
}

// Six extra "L3" items on each form, hard on form X and easy on form Y: X's
// top scores and Y's lowest have probabilities below 1e-8. (Not Y's top:
// there ranks within 1e-8 of 1 over intervals 1e-8 wide leave central
// differences nothing but rounding.)
EquatingInput adjusted_input() {
  EquatingInput input = run_input();
  for (int i = 0; i < 6; ++i) {
    input.items_x.push_back({11 + i, ItemModel::l3, {0, 1}, {1.7, 2.0, 5.5 + 0.2 * i, 0.01}});
    input.items_y.push_back({11 + i, ItemModel::l3, {0, 1}, {1.7, 1.8, -5.6 - 0.2 * i, 0.01}});
  }
  return with_scale_table(std::move(input));
}

// Forms of two and three items: transforms of the shortest length, longer than the distributions.
EquatingInput short_input() {
  EquatingInput input = run_input();
  input.items_x.resize(2);
  input.items_y = {input.items_y[5], input.items_y[8], input.items_y[2]};
  return with_scale_table(std::move(input));
}

EquatingResult linked_equating(const EquatingInput& input, double A, double B) {
  EquatingInput linked = input;
  linked.items_x = transform_items(input.items_x, A, B);
  linked.grid_group1 = transform_grid(input.grid_group1, A, B);
  return equate(linked);
}

// The input's values with one column moved by step.
EquatingResult moved_equating(const EquatingInput& input, const ParameterLayout& layout, double A, double B,
                              std::size_t column, double step) {
  EquatingInput changed = input;
  if (column == layout.a_column()) return linked_equating(changed, A + step, B);
  if (column == layout.b_column()) return linked_equating(changed, A, B + step);
  const bool on_x = column < layout.x_size;
  std::vector<Item>& items = on_x ? changed.items_x : changed.items_y;
  const std::vector<std::size_t>& offsets = on_x ? layout.x_offsets : layout.y_offsets;
  std::size_t i = 0;
  while (i + 1 < offsets.size() && offsets[i + 1] <= column) ++i;
  items[i].parameters[first_estimated_parameter(items[i].model) + column - offsets[i]] += step;
  return linked_equating(changed, A, B);
}

TEST(ObservedScoreGradients, MatchCentralDifferencesOfTheEquating) {
  struct Case {
    std::string name;
    EquatingInput input;
    double A;
    double B;
    bool adjusted;  // both forms' synthetic distributions
  };
  const std::vector<Case> cases{{"unlinked", run_input(), 1.0, 0.0, false},
                                {"linked", run_input(), 1.1, -0.2, false},
                                {"adjusted, linked", adjusted_input(), 0.9, 0.15, true},
                                {"short forms, linked", short_input(), 1.2, 0.1, false}};
  const double h = 1e-5;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const ParameterLayout layout = parameter_layout(c.input.items_x, c.input.items_y);
    const EquatingResult result = linked_equating(c.input, c.A, c.B);
    ASSERT_EQ(result.x.synthetic_adjusted, c.adjusted);
    ASSERT_EQ(result.y.synthetic_adjusted, c.adjusted);
    const Gradients gradients = observed_score_gradients(c.input, c.A, c.B, result, layout, 1);
    ASSERT_EQ(gradients.rows, result.x.raw_scores.size());
    ASSERT_EQ(gradients.columns, layout.columns());
    const std::vector<EquipercentileStep> steps = equipercentile_steps(result.x.synthetic, result.y.synthetic);
    std::size_t compared = 0;
    for (std::size_t column = 0; column < layout.columns(); ++column) {
      const EquatingResult plus = moved_equating(c.input, layout, c.A, c.B, column, h);
      const EquatingResult minus = moved_equating(c.input, layout, c.A, c.B, column, -h);
      const std::vector<EquipercentileStep> plus_steps = equipercentile_steps(plus.x.synthetic, plus.y.synthetic);
      const std::vector<EquipercentileStep> minus_steps = equipercentile_steps(minus.x.synthetic, minus.y.synthetic);
      for (std::size_t row = 0; row < gradients.rows; ++row) {
        // A difference across a branch boundary says nothing of either branch.
        if (plus_steps[row].j != steps[row].j || minus_steps[row].j != steps[row].j) continue;
        SCOPED_TRACE(::testing::Message() << "column " << column << " row " << row);
        const double differenced =
            (plus.observed_score.equivalents[row] - minus.observed_score.equivalents[row]) / (2 * h);
        EXPECT_NEAR(gradients.at(row, column), differenced, 1e-6 * (1.0 + std::fabs(differenced)));
        ++compared;
      }
    }
    EXPECT_GT(compared, gradients.rows * gradients.columns * 9 / 10);
  }
}

TEST(ObservedScoreGradients, AreTheSameOnOneThreadAndTwo) {
  const EquatingInput input = adjusted_input();
  const ParameterLayout layout = parameter_layout(input.items_x, input.items_y);
  const EquatingResult result = linked_equating(input, 1.1, -0.2);
  const Gradients one = observed_score_gradients(input, 1.1, -0.2, result, layout, 1);
  const Gradients two = observed_score_gradients(input, 1.1, -0.2, result, layout, 2);
  ASSERT_EQ(one.values.size(), two.values.size());
  for (std::size_t i = 0; i < one.values.size(); ++i) {
    ASSERT_EQ(std::bit_cast<std::uint64_t>(one.values[i]), std::bit_cast<std::uint64_t>(two.values[i])) << i;
  }
}

}  // namespace
}  // namespace irteq::testing
