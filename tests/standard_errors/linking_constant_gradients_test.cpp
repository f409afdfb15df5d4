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
#include "irteq/linking.hpp"
#include "models/item_model_facts.hpp"
#include "support/mixed_form.hpp"

namespace irteq::testing {
namespace {

namespace fs = std::filesystem;

// The parameter behind a column: its item's estimated parameter.
double& parameter_at(EquatingInput& forms, const ParameterLayout& layout, std::size_t column) {
  const bool in_x = column < layout.x_size;
  std::vector<Item>& items = in_x ? forms.items_x : forms.items_y;
  const std::vector<std::size_t>& offsets = in_x ? layout.x_offsets : layout.y_offsets;
  std::size_t i = offsets.size() - 1;
  while (offsets[i] > column) --i;
  Item& item = items[i];
  return item.parameters[column - offsets[i] + first_estimated_parameter(item.model)];
}

// Form X is form Y on another scale with every parameter moved a little, so
// that the criteria keep residuals at their minimum.
EquatingInput perturbed_forms() {
  EquatingInput forms;
  forms.items_y = mixed_form();
  forms.items_x = transform_items(forms.items_y, 1.0 / 1.3, 0.4 / 1.3);
  forms.grid_group2 = normal_shaped_grid(0.2, 1.1);
  forms.grid_group1 = normal_shaped_grid(-0.3, 0.9);
  const ParameterLayout layout = parameter_layout(forms.items_x, forms.items_y);
  for (std::size_t column = 0; column < layout.x_size; ++column) {
    parameter_at(forms, layout, column) += 0.06 * std::sin(1.7 * static_cast<double>(column) + 0.3);
  }
  return forms;
}

TEST(LinkingConstantGradients, AgreeWithCentralDifferencesOfLink) {
  const double h = 1e-5;
  const EquatingInput forms = perturbed_forms();
  const ParameterLayout layout = parameter_layout(forms.items_x, forms.items_y);
  for (const bool symmetric : {false, true}) {
    LinkingInput linking;
    for (const Item& item : forms.items_y) linking.common.push_back({item.number, item.number, 0});
    linking.symmetric = symmetric;
    const LinkingResult at = link(forms, linking);
    std::array<Gradients, 4> analytic;
    for (std::size_t m = 0; m < linking_methods.size(); ++m) {
      ASSERT_TRUE(at.methods[m].available());
      analytic[m] = linking_constant_gradients(forms, linking, at.methods[m], layout);
    }
    for (std::size_t column = 0; column < layout.x_size + layout.y_size; ++column) {
      EquatingInput moved = forms;
      double& value = parameter_at(moved, layout, column);
      const double original = value;
      value = original + h;
      const LinkingResult up = link(moved, linking);
      value = original - h;
      const LinkingResult down = link(moved, linking);
      for (std::size_t m = 0; m < linking_methods.size(); ++m) {
        SCOPED_TRACE(::testing::Message() << linking_method_name(linking_methods[m])
                                          << (symmetric ? " symmetric" : "") << ", column " << column);
        const double dA = (*up.methods[m].A - *down.methods[m].A) / (2 * h);
        const double dB = (*up.methods[m].B - *down.methods[m].B) / (2 * h);
        EXPECT_NEAR(analytic[m].at(0, column), dA, 1e-7 * std::fmax(1.0, std::fabs(dA)));
        EXPECT_NEAR(analytic[m].at(1, column), dB, 1e-7 * std::fmax(1.0, std::fabs(dB)));
      }
    }
  }
}

// equateIRT's est2pl, test1 onto test5 by ten 2PL anchors, with Battauz's
// published constants and delta-method standard errors, from link() with
// the forms' covariances.
TEST(LinkingConstantGradients, Est2plGivesThePublishedStandardErrors) {
  const fs::path folder = fs::path(IRTEQ_VALIDATION_DIR) / "est2pl";
  EquatingInput forms;
  forms.items_x = read_items(folder / "formx.par");
  forms.items_y = read_items(folder / "formy.par");
  forms.grid_group1 = read_grid(folder / "gh30.qd");
  forms.grid_group2 = forms.grid_group1;
  LinkingInput linking;
  for (int number = 31; number <= 40; ++number) linking.common.push_back({number, number, 0});
  linking.method = LinkingMethod::haebara;
  const ParameterCovariances covariances{read_covariance(folder / "formx.cov", forms.items_x),
                                         read_covariance(folder / "formy.cov", forms.items_y)};
  const LinkingResult result = link(forms, linking, covariances);
  struct Published {
    LinkingMethod method;
    double A, se_A, B, se_B;
  };
  for (const Published& p : {Published{LinkingMethod::haebara, 0.97152, 0.021344, -0.47511, 0.023886},
                             Published{LinkingMethod::mean_mean, 0.96497, 0.021313, -0.47418, 0.024224}}) {
    SCOPED_TRACE(std::string(linking_method_name(p.method)));
    const MethodConstants& constants = result.methods[static_cast<std::size_t>(p.method)];
    EXPECT_NEAR(*constants.A, p.A, 0.01 * std::fabs(p.A));
    EXPECT_NEAR(*constants.B, p.B, 0.01 * std::fabs(p.B));
    EXPECT_NEAR(*constants.se_A, p.se_A, 0.01 * p.se_A);
    EXPECT_NEAR(*constants.se_B, p.se_B, 0.01 * p.se_B);
  }
}

}  // namespace
}  // namespace irteq::testing
