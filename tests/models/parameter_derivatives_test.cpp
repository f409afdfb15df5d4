// The hyper-dual derivatives against central differences of the models
// themselves, for every model of a mixed form at points across the scale.
#include "models/parameter_derivatives.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "models/category_probabilities.hpp"
#include "models/prepare_items.hpp"
#include "support/mixed_form.hpp"

namespace irteq {
namespace {

// Probabilities of an item as read, through the models equate() runs.
std::vector<double> probabilities_of(const Item& item, double theta) {
  const Item prepared = prepare_items({item})[0];
  std::vector<double> p(item.category_scores.size());
  category_probabilities(prepared, theta, p);
  return p;
}

TEST(ParameterDerivatives, MatchCentralDifferencesOfTheModels) {
  const double h = 1e-5;
  ParameterDerivatives d;
  for (const Item& item : testing::mixed_form()) {
    const std::size_t first = first_estimated_parameter(item.model);
    for (const double theta : {-2.3, -0.4, 0.0, 1.7}) {
      parameter_derivatives(item, theta, d);
      const std::vector<double> p = probabilities_of(item, theta);
      const std::vector<double> up = probabilities_of(item, theta + h);
      const std::vector<double> down = probabilities_of(item, theta - h);
      for (std::size_t c = 0; c < d.categories; ++c) {
        EXPECT_NEAR(d.p[c], p[c], 1e-15);
        EXPECT_NEAR(d.dtheta[c], (up[c] - down[c]) / (2 * h), 1e-8);
      }
      for (std::size_t k = 0; k < d.parameters; ++k) {
        Item moved = item;
        const auto differenced = [&](double step, double at_theta) {
          moved.parameters[first + k] = item.parameters[first + k] + step;
          return probabilities_of(moved, at_theta);
        };
        const std::vector<double> plus = differenced(h, theta);
        const std::vector<double> minus = differenced(-h, theta);
        const std::vector<double> plus_up = differenced(h, theta + h);
        const std::vector<double> minus_up = differenced(-h, theta + h);
        const std::vector<double> plus_down = differenced(h, theta - h);
        const std::vector<double> minus_down = differenced(-h, theta - h);
        for (std::size_t c = 0; c < d.categories; ++c) {
          SCOPED_TRACE(::testing::Message() << "item " << item.number << " parameter " << k << " category " << c);
          EXPECT_NEAR(d.at(d.dparameter, k, c), (plus[c] - minus[c]) / (2 * h), 1e-8);
          const double mixed = (plus_up[c] - minus_up[c] - plus_down[c] + minus_down[c]) / (4 * h * h);
          EXPECT_NEAR(d.at(d.dtheta_dparameter, k, c), mixed, 1e-5);
        }
      }
    }
  }
}

}  // namespace
}  // namespace irteq
