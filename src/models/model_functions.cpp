// The models as functions for callers: items checked as equate() checks a
// form, prepared as it prepares them ("MU" as "BN") and evaluated by its own
// routines under its floating-point mode, so that every double is equate()'s.
#include <vector>

#include "common/floating_point_mode.hpp"
#include "irteq/models.hpp"
#include "irteq/validate.hpp"
#include "models/category_probabilities.hpp"
#include "models/item_model_facts.hpp"
#include "models/prepare_items.hpp"
#include "models/test_characteristic_function.hpp"

namespace irteq {

namespace {

// The items as equate() evaluates them, checked as it checks a form.
std::vector<Item> checked_and_prepared(const std::vector<Item>& items, const std::string& name) {
  validate_items(items, name);
  return prepare_items(items);
}

}  // namespace

std::vector<double> probabilities(const std::vector<Item>& items, std::span<const double> thetas,
                                  const std::string& name) {
  const FloatingPointMode mode;
  const std::vector<Item> prepared = checked_and_prepared(items, name);
  std::size_t columns = 0;
  for (const Item& item : prepared) columns += item.category_scores.size();
  std::vector<double> p(thetas.size() * columns);
  for (std::size_t t = 0; t < thetas.size(); ++t) {
    std::size_t column = t * columns;
    for (const Item& item : prepared) {
      category_probabilities(item, thetas[t], std::span(p).subspan(column));
      column += item.category_scores.size();
    }
  }
  return p;
}

std::vector<double> probabilities(const Item& item, double theta, const std::string& name) {
  return probabilities(std::vector<Item>{item}, std::span(&theta, 1), name);
}

// Each item's expected score is its term of a form's sum: a one-item form's test characteristic function.
std::vector<double> expected_scores(const std::vector<Item>& items, std::span<const double> thetas,
                                    const std::string& name) {
  const FloatingPointMode mode;
  const std::vector<Item> prepared = checked_and_prepared(items, name);
  std::vector<double> scores;
  scores.reserve(thetas.size() * prepared.size());
  for (const double theta : thetas) {
    for (const Item& item : prepared) scores.push_back(test_characteristic_function(std::span(&item, 1), theta));
  }
  return scores;
}

double expected_score(const Item& item, double theta, const std::string& name) {
  return expected_scores(std::vector<Item>{item}, std::span(&theta, 1), name).front();
}

std::vector<double> test_characteristic_curve(const std::vector<Item>& items, std::span<const double> thetas,
                                              const std::string& name) {
  const FloatingPointMode mode;
  const std::vector<Item> prepared = checked_and_prepared(items, name);
  std::vector<double> curve;
  curve.reserve(thetas.size());
  for (const double theta : thetas) curve.push_back(test_characteristic_function(prepared, theta));
  return curve;
}

std::vector<std::string> parameter_names(ItemModel model, int categories) {
  std::vector<std::string> names;
  for (int k = 0; k < parameter_count(model, categories); ++k) {
    names.push_back(parameter_name(model, categories, static_cast<std::size_t>(k)));
  }
  return names;
}

SlopeAndLocations slope_and_locations(const Item& item) {
  std::vector<MomentTerm> slopes;
  std::vector<MomentTerm> locations;
  add_moment_terms(item, slopes, locations);
  SlopeAndLocations out;
  for (const MomentTerm& term : slopes) out.slopes.push_back(term.value);
  for (const MomentTerm& term : locations) out.locations.push_back(term.value);
  return out;
}

std::vector<std::string> estimated_parameter_names(ItemModel model, int categories) {
  std::vector<std::string> names = parameter_names(model, categories);
  names.erase(names.begin(), names.begin() + static_cast<std::ptrdiff_t>(first_estimated_parameter(model)));
  return names;
}

}  // namespace irteq
