// The applied method's linking alone, as parametric draws use it.
#include "linking/link_applied.hpp"

#include <gtest/gtest.h>

#include <string>

#include "support/mixed_form.hpp"

namespace irteq::testing {
namespace {

// The applied method alone gives link()'s very bits, for every method, on a
// drifted form of all five models.
TEST(LinkApplied, GivesLinksBits) {
  LinkingInput input;
  input.items_y = mixed_form();
  input.items_x = transform_items(input.items_y, 1.0 / 1.3, -0.4 / 1.3);
  input.items_x[0].parameters[2] += 0.15;
  input.items_x[3].parameters[0] *= 1.1;
  input.grid_group2 = normal_shaped_grid();
  input.grid_group1 = normal_shaped_grid(-0.2, 0.9);
  for (const Item& item : input.items_y) input.common.push_back({item.number, item.number, 0});
  for (const bool symmetric : {false, true}) {
    for (const LinkingMethod method : {LinkingMethod::mean_mean, LinkingMethod::mean_sigma, LinkingMethod::haebara,
                                       LinkingMethod::stocking_lord}) {
      SCOPED_TRACE(std::string(linking_method_name(method)) + (symmetric ? " symmetric" : ""));
      input.method = method;
      input.symmetric = symmetric;
      const LinkingResult whole = link(input);
      const LinkingResult applied = link_applied(input);
      EXPECT_EQ(applied.A, whole.A);
      EXPECT_EQ(applied.B, whole.B);
      EXPECT_EQ(applied.methods[static_cast<std::size_t>(method)].iterations,
                whole.methods[static_cast<std::size_t>(method)].iterations);
      for (std::size_t i = 0; i < whole.items_x.size(); ++i) {
        EXPECT_EQ(applied.items_x[i].parameters, whole.items_x[i].parameters) << "item " << i + 1;
      }
      EXPECT_EQ(applied.grid_group1.points, whole.grid_group1.points);
    }
  }
}

}  // namespace
}  // namespace irteq::testing
