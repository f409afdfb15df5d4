// The true score gradients against central differences of equate()'s
// equivalents in every parameter of a mixed form equated to a perturbed copy,
// unlinked and linked, with points on the line below the chance score.
#include "standard_errors/true_score_gradients.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "irteq/equate.hpp"
#include "irteq/linking.hpp"
#include "models/item_model_facts.hpp"
#include "models/parameter_derivatives.hpp"
#include "support/mixed_form.hpp"

namespace irteq::testing {
namespace {


// Form X: the mixed form with guessing enough for three points on the line.
std::vector<Item> form_x() {
  std::vector<Item> items = mixed_form();
  items[0].parameters[3] = 0.5;
  items[1].parameters[3] = 0.6;
  items[2].parameters[3] = 0.5;
  return items;
}

EquatingInput run_input() {
  EquatingInput input;
  input.items_x = form_x();
  input.items_y = perturbed_mixed_form(0.04);
  input.grid_group1 = normal_shaped_grid();
  input.grid_group2 = normal_shaped_grid(0.1, 1.1);
  const std::size_t rows = 26;  // form Y's score points 2 .. 27
  for (std::size_t j = 0; j < rows; ++j) {
    input.scale_table.scale.push_back(100.0 + 2.0 * j + 0.1 * j * j);
    input.scale_table.rounded.push_back(std::round(input.scale_table.scale.back()));
  }
  input.scale_table.scale_min = 100;
  input.scale_table.scale_max = 200;
  return input;
}

EquatingResult linked_equating(const EquatingInput& input, double A, double B) {
  EquatingInput linked = input;
  linked.items_x = transform_items(input.items_x, A, B);
  linked.grid_group1 = transform_grid(input.grid_group1, A, B);
  return equate(linked);
}

TEST(TrueScoreGradients, MatchCentralDifferencesOfTheEquating) {
  struct Linking {
    double A;
    double B;
  };
  const EquatingInput input = run_input();
  const ParameterLayout layout = parameter_layout(input.items_x, input.items_y);
  const double h = 1e-5;
  for (const Linking linking : {Linking{1.0, 0.0}, Linking{1.1, -0.2}}) {
    SCOPED_TRACE(::testing::Message() << "A " << linking.A << " B " << linking.B);
    const EquatingResult result = linked_equating(input, linking.A, linking.B);
    ASSERT_TRUE(result.warnings.empty());
    ASSERT_EQ(result.true_score.theta_kinds[2], ThetaKind::linear);
    ASSERT_EQ(result.true_score.theta_kinds[3], ThetaKind::searched);
    const Gradients gradients = true_score_gradients(input, linking.A, linking.B, result, layout);
    ASSERT_EQ(gradients.rows, result.x.raw_scores.size());
    ASSERT_EQ(gradients.columns, layout.columns());

    // Equivalents with one column's value moved by step.
    const auto moved = [&](std::size_t column, double step) {
      EquatingInput changed = input;
      double A = linking.A;
      double B = linking.B;
      if (column == layout.a_column()) {
        A += step;
      } else if (column == layout.b_column()) {
        B += step;
      } else {
        const bool on_x = column < layout.x_size;
        std::vector<Item>& items = on_x ? changed.items_x : changed.items_y;
        const std::vector<std::size_t>& offsets = on_x ? layout.x_offsets : layout.y_offsets;
        std::size_t i = 0;
        while (i + 1 < offsets.size() && offsets[i + 1] <= column) ++i;
        items[i].parameters[first_estimated_parameter(items[i].model) + column - offsets[i]] += step;
      }
      return linked_equating(changed, A, B).true_score.equivalents;
    };
    for (std::size_t column = 0; column < layout.columns(); ++column) {
      const std::vector<double> plus = moved(column, h);
      const std::vector<double> minus = moved(column, -h);
      for (std::size_t row = 0; row < gradients.rows; ++row) {
        SCOPED_TRACE(::testing::Message() << "column " << column << " row " << row);
        const double differenced = (plus[row] - minus[row]) / (2 * h);
        EXPECT_NEAR(gradients.at(row, column), differenced, 1e-4 * (1.0 + std::fabs(differenced)));
      }
    }
  }
}

}  // namespace
}  // namespace irteq::testing
