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

// The same for a form's items at many thetas at once, checked once: one row
// per theta of every item's categories in turn (probabilities), or of every
// item's expected score (expected_scores), row-major.
std::vector<double> probabilities(const std::vector<Item>& items, std::span<const double> thetas,
                                  const std::string& name = "items");
std::vector<double> expected_scores(const std::vector<Item>& items, std::span<const double> thetas,
                                    const std::string& name = "items");

// The names of the parameters of a model's item of m categories, in the
// order of an item parameter file: "D", "a", "b", "c" for "L3"; "a", "b(1)",
// ..., "b(m-1)" for "SN"; "D", "a", "b(1)", ... for "SL"; "D", "a(1)", ...,
// "c(m)" for "BN"; "D", "a", "b", "d(1)", ..., "d(m)" for "MU".
std::vector<std::string> parameter_names(ItemModel model, int categories);
// The estimated ones among them, all but D: an item's rows in a covariance.
std::vector<std::string> estimated_parameter_names(ItemModel model, int categories);

// An item's slope and locations as the moment methods pool them and the
// anchors' robust z compares them: the a of "L3", "SN", "SL" and "MU" items;
// "L3" b, each "SN"/"SL" b(k), each "MU" step b - d(k), k = 2..m. "BN" items
// have neither. The item as read ("MU" as "MU"); nothing is checked.
struct SlopeAndLocations {
  std::vector<double> slopes;  // none or one
  std::vector<double> locations;
};
SlopeAndLocations slope_and_locations(const Item& item);

// The grid of a normal ability distribution N(mean, sd^2): points equally
// spaced from low to high, the last exactly high (as R's seq()), weights
// exp(-z^2/2) at z = (theta - mean) / sd divided by their sum from the lowest
// point up, so they sum to 1 to rounding. The front ends' normal_grid() is
// this. Throws Error (invalid_input) for a mean or sd not finite, sd <= 0,
// points outside 2 to max_quadrature_points, low >= high or either not
// finite, and weights that are all 0 (a range far from mean).
QuadratureGrid normal_grid(double mean, double sd, int points, double low, double high);

// A raw-to-scale table that reports form Y's raw scores themselves, for
// equating on the raw metric alone: one row per score point of items_y,
// scale and rounded scale score equal to the raw score, the scale limits its
// lowest and highest raw scores. The items are checked first (validate_items).
ScaleTable raw_score_table(const std::vector<Item>& items_y, const std::string& name = "form Y items");

}  // namespace irteq
