// The applied method's linking alone, as parametric draws relink.
#include "linking/link_methods.hpp"

#include <gtest/gtest.h>

#include <string>

#include "support/mixed_form.hpp"

namespace irteq::testing {
namespace {

// The applied method alone gives link()'s very bits, for every method, on a
// drifted form of all five models.
TEST(LinkMethods, TheAppliedMethodAloneGivesLinksBits) {
  EquatingInput forms;
  forms.items_y = mixed_form();
  forms.items_x = transform_items(forms.items_y, 1.0 / 1.3, -0.4 / 1.3);
  forms.items_x[0].parameters[2] += 0.15;
  forms.items_x[3].parameters[0] *= 1.1;
  forms.grid_group2 = normal_shaped_grid();
  forms.grid_group1 = normal_shaped_grid(-0.2, 0.9);
  LinkingInput linking;
  for (const Item& item : forms.items_y) linking.common.push_back({item.number, item.number, 0});
  for (const bool symmetric : {false, true}) {
    for (const LinkingMethod method : linking_methods) {
      if (symmetric && !is_characteristic_curve(method)) continue;
      SCOPED_TRACE(std::string(linking_method_name(method)) + (symmetric ? " symmetric" : ""));
      linking.method = method;
      linking.symmetric = symmetric;
      const LinkingResult whole = link(forms, linking);
      const LinkingResult applied = link_methods(forms, linking, LinkingScope::applied_method);
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
