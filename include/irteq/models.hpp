#pragma once

#include <span>
#include <string>
#include <vector>

#include "irteq/input.hpp"

namespace irteq {

// The models as equate() evaluates them, for checking a conversion or
// drawing a curve: the same preparation ("MU" items held as "BN"), the same
// routines, the same floating-point mode, so the doubles are equate()'s own.
// Each checks its items as equate() checks a form's items (name is what
// messages call them) and throws Error on anything equate() would refuse.

// The item's category probabilities at theta, in category order.
std::vector<double> probabilities(const Item& item, double theta, const std::string& name = "item");

// The item's expected score at theta: the sum over its categories, in order,
// of category score times probability.
double expected_score(const Item& item, double theta, const std::string& name = "item");

// The form's test characteristic curve at each theta: its expected raw score,
// one running sum over the items in order, as true score equating forms it.
std::vector<double> test_characteristic_curve(const std::vector<Item>& items, std::span<const double> thetas,
                                              const std::string& name = "items");

}  // namespace irteq
