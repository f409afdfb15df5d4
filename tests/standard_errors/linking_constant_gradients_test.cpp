// The linking constants' analytic gradients against central differences of
// link() itself, and against the published delta-method standard errors of
// equateIRT's est2pl example.
#include "standard_errors/linking_constant_gradients.hpp"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <filesystem>
#include <string>

#include "irteq/files.hpp"
#include "models/parameter_derivatives.hpp"
#include "support/mixed_form.hpp"

namespace irteq::testing {
namespace {

namespace fs = std::filesystem;

constexpr std::array methods = {LinkingMethod::mean_mean, LinkingMethod::mean_sigma, LinkingMethod::haebara,
                                LinkingMethod::stocking_lord};

// The parameter behind a column: its item's value after D (all of an "SN" item's).
double& parameter_at(LinkingInput& input, const ParameterLayout& layout, std::size_t column) {
  const bool in_x = column < layout.x_size;
  std::vector<Item>& items = in_x ? input.items_x : input.items_y;
  const std::vector<std::size_t>& offsets = in_x ? layout.x_offsets : layout.y_offsets;
  std::size_t i = offsets.size() - 1;
  while (offsets[i] > column) --i;
  Item& item = items[i];
  return item.parameters[column - offsets[i] + (item.model == ItemModel::sn ? 0 : 1)];
}

// Form X is form Y on another scale with every parameter moved a little, so
// that the criteria keep residuals at their minimum.
LinkingInput perturbed_linking(bool symmetric) {
  LinkingInput input;
  input.items_y = mixed_form();
  input.items_x = transform_items(input.items_y, 1.0 / 1.3, 0.4 / 1.3);
  input.grid_group2 = normal_shaped_grid(0.2, 1.1);
  input.grid_group1 = normal_shaped_grid(-0.3, 0.9);
  for (const Item& item : input.items_y) input.common.push_back({item.number, item.number, 0});
  input.symmetric = symmetric;
  const ParameterLayout layout = parameter_layout(input.items_x, input.items_y);
  for (std::size_t column = 0; column < layout.x_size; ++column) {
    parameter_at(input, layout, column) += 0.06 * std::sin(1.7 * static_cast<double>(column) + 0.3);
  }
  return input;
}

TEST(LinkingConstantGradients, AgreeWithCentralDifferencesOfLink) {
  const double h = 1e-5;
  for (const bool symmetric : {false, true}) {
    const LinkingInput input = perturbed_linking(symmetric);
    const ParameterLayout layout = parameter_layout(input.items_x, input.items_y);
    const LinkingResult at = link(input);
    std::array<Gradients, 4> analytic;
    for (std::size_t m = 0; m < methods.size(); ++m) {
      ASSERT_TRUE(at.methods[m].available);
      analytic[m] = linking_constant_gradients(input, at.methods[m], layout);
    }
    for (std::size_t column = 0; column < layout.x_size + layout.y_size; ++column) {
      LinkingInput moved = input;
      double& value = parameter_at(moved, layout, column);
      const double original = value;
      value = original + h;
      const LinkingResult up = link(moved);
      value = original - h;
      const LinkingResult down = link(moved);
      for (std::size_t m = 0; m < methods.size(); ++m) {
        SCOPED_TRACE(::testing::Message() << linking_method_name(methods[m]) << (symmetric ? " symmetric" : "")
                                          << ", column " << column);
        const double dA = (up.methods[m].A - down.methods[m].A) / (2 * h);
        const double dB = (up.methods[m].B - down.methods[m].B) / (2 * h);
        EXPECT_NEAR(analytic[m].at(0, column), dA, 1e-7 * std::fmax(1.0, std::fabs(dA)));
        EXPECT_NEAR(analytic[m].at(1, column), dB, 1e-7 * std::fmax(1.0, std::fabs(dB)));
      }
    }
  }
}

// se = sqrt(g' V g), V block-diagonal: the two forms' estimates are independent.
double standard_error(const Gradients& g, std::size_t row, const Covariance& x, const Covariance& y) {
  double sum = 0.0;
  for (std::size_t i = 0; i < x.size; ++i) {
    for (std::size_t j = 0; j < x.size; ++j) sum += g.at(row, i) * x.values[i * x.size + j] * g.at(row, j);
  }
  for (std::size_t i = 0; i < y.size; ++i) {
    for (std::size_t j = 0; j < y.size; ++j) {
      sum += g.at(row, x.size + i) * y.values[i * y.size + j] * g.at(row, x.size + j);
    }
  }
  return std::sqrt(sum);
}

// equateIRT's est2pl, test1 onto test5 by ten 2PL anchors, with Battauz's
// published constants and delta-method standard errors.
TEST(LinkingConstantGradients, Est2plGivesThePublishedStandardErrors) {
  const fs::path folder = fs::path(IRTEQ_CASES_DIR) / ".." / "se" / "est2pl";
  if (!fs::exists(folder / "formx.cov")) {
    if (IRTEQ_REQUIRE_CASES) FAIL() << "no est2pl at " << folder;
    GTEST_SKIP() << "no est2pl at " << folder;
  }
  LinkingInput input;
  input.items_x = read_items(folder / "formx.par");
  input.items_y = read_items(folder / "formy.par");
  input.grid_group1 = read_grid(folder / "gh30.qd");
  input.grid_group2 = input.grid_group1;
  for (int number = 31; number <= 40; ++number) input.common.push_back({number, number, 0});
  input.method = LinkingMethod::haebara;
  const Covariance x = read_covariance(folder / "formx.cov", input.items_x);
  const Covariance y = read_covariance(folder / "formy.cov", input.items_y);
  const ParameterLayout layout = parameter_layout(input.items_x, input.items_y);
  const LinkingResult result = link(input);
  struct Published {
    LinkingMethod method;
    double A, se_A, B, se_B;
  };
  for (const Published& p : {Published{LinkingMethod::haebara, 0.97152, 0.021344, -0.47511, 0.023886},
                             Published{LinkingMethod::mean_mean, 0.96497, 0.021313, -0.47418, 0.024224}}) {
    SCOPED_TRACE(std::string(linking_method_name(p.method)));
    const MethodConstants& constants = result.methods[static_cast<std::size_t>(p.method)];
    const Gradients g = linking_constant_gradients(input, constants, layout);
    EXPECT_NEAR(constants.A, p.A, 0.01 * std::fabs(p.A));
    EXPECT_NEAR(constants.B, p.B, 0.01 * std::fabs(p.B));
    EXPECT_NEAR(standard_error(g, 0, x, y), p.se_A, 0.01 * p.se_A);
    EXPECT_NEAR(standard_error(g, 1, x, y), p.se_B, 0.01 * p.se_B);
  }
}

}  // namespace
}  // namespace irteq::testing
