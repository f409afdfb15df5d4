#pragma once

// What each item model is, in one table: its code, its parameters in the
// order of an item parameter file with their names and what linking does to
// each, which of them are estimated (the rows of a covariance), what the
// moment methods pool from it, what it adds to the chance score, and what
// Haebara's criterion compares. Readers, validation, linking, both
// standard-error routes and the converters take these facts from here, so
// that a model is described once; a new model is a new row (and its
// probabilities).
#include <array>
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "irteq/input.hpp"

namespace irteq {

// What theta_Y = A theta_X + B does to a parameter.
enum class ParameterRole : unsigned char {
  scaling,    // D: unchanged, and never estimated
  slope,      // a: a / A
  location,   // b: A b + B
  deviation,  // "MU" d(k): A d(k)
  intercept,  // "BN" c(k): c(k) - a(k) B / A, a(k) the slope m parameters before it
  asymptote,  // "L3" c: unchanged
};

// What the moment methods (mean/mean, mean/sigma) pool from an item.
enum class MomentTerms : unsigned char {
  none,                 // "BN": no single slope, no locations
  slope_and_locations,  // "L3", "SN", "SL": the slope and every location
  slope_and_steps,      // "MU": the slope and each step b - d(k), k = 2..m (d(1) takes no part)
};

// A run of parameters of one role: "a", or "b(1)" ... "b(m + count_offset)".
struct ParameterGroup {
  std::string_view letter;
  ParameterRole role = ParameterRole::slope;
  bool indexed = false;
  int count_offset = 0;  // an indexed group has m + count_offset parameters
};

struct ItemModelFacts {
  ItemModel model = ItemModel::l3;
  std::string_view code;       // as in item parameter files
  int categories = 0;          // the one category count the model allows; 0 for any
  ItemModel evaluated_as = ItemModel::l3;  // "MU" items are evaluated as the "BN" items they equal
  std::array<ParameterGroup, 4> groups{};
  std::size_t group_count = 0;
  MomentTerms moment_terms = MomentTerms::none;
  // The parameter whose multiple (u(2) - u(1)) c is the item's chance score
  // (what guessing alone adds above its lowest score); -1 for none.
  int chance_parameter = -1;
  // Haebara's criterion compares categories from this one on: an "L3" item's
  // correct response alone, every category of the others.
  std::size_t first_compared_category = 0;
};

namespace model_table {

using R = ParameterRole;
inline constexpr ParameterGroup scaling{"D", R::scaling};
inline constexpr ParameterGroup slope{"a", R::slope};

// The models in ItemModel order: "L3", "SN", "SL", "BN", "MU".
inline constexpr std::array<ItemModelFacts, 5> rows{{
    {.model = ItemModel::l3,
     .code = "L3",
     .categories = 2,
     .evaluated_as = ItemModel::l3,
     .groups = {scaling, slope, {"b", R::location}, {"c", R::asymptote}},
     .group_count = 4,
     .moment_terms = MomentTerms::slope_and_locations,
     .chance_parameter = 3,
     .first_compared_category = 1},
    {.model = ItemModel::sn,
     .code = "SN",
     .evaluated_as = ItemModel::sn,
     .groups = {slope, {"b", R::location, true, -1}},
     .group_count = 2,
     .moment_terms = MomentTerms::slope_and_locations},
    {.model = ItemModel::sl,
     .code = "SL",
     .evaluated_as = ItemModel::sl,
     .groups = {scaling, slope, {"b", R::location, true, -1}},
     .group_count = 3,
     .moment_terms = MomentTerms::slope_and_locations},
    {.model = ItemModel::bn,
     .code = "BN",
     .evaluated_as = ItemModel::bn,
     .groups = {scaling, {"a", R::slope, true, 0}, {"c", R::intercept, true, 0}},
     .group_count = 3,
     .moment_terms = MomentTerms::none},
    {.model = ItemModel::mu,
     .code = "MU",
     .evaluated_as = ItemModel::bn,
     .groups = {scaling, slope, {"b", R::location}, {"d", R::deviation, true, 0}},
     .group_count = 4,
     .moment_terms = MomentTerms::slope_and_steps},
}};

// model_facts() finds a model's row by its enumerator's value.
constexpr bool rows_in_enum_order() {
  for (std::size_t i = 0; i < rows.size(); ++i) {
    if (static_cast<std::size_t>(rows[i].model) != i) return false;
  }
  return true;
}
static_assert(rows_in_enum_order());

}  // namespace model_table

// The table, in ItemModel order.
inline constexpr const std::array<ItemModelFacts, 5>& item_model_table = model_table::rows;

// Whether model is one of ItemModel's values (a cast from another number is not).
bool known_model(ItemModel model);

// The model's row; the model must be one of ItemModel's values (known_model).
// Inline, as the counts below: the standard errors ask them per item and ability.
inline const ItemModelFacts& model_facts(ItemModel model) { return model_table::rows[static_cast<std::size_t>(model)]; }

// Parameters of an item of m categories, as an item parameter file holds them.
inline int parameter_count(ItemModel model, int m) {
  const ItemModelFacts& facts = model_facts(model);
  int count = 0;
  for (std::size_t g = 0; g < facts.group_count; ++g) {
    count += facts.groups[g].indexed ? m + facts.groups[g].count_offset : 1;
  }
  return count;
}
// Whether the first parameter is the scaling constant D ("SN" items have none).
inline bool has_scaling_constant(ItemModel model) { return model_facts(model).groups[0].role == ParameterRole::scaling; }
// The estimated parameters are those after D: their first index is 1, or 0 without D.
inline std::size_t first_estimated_parameter(ItemModel model) { return has_scaling_constant(model) ? 1 : 0; }
// How many parameters are estimated: the rows an item has in a covariance.
inline std::size_t estimated_parameter_count(const Item& item) {
  const auto m = static_cast<int>(item.category_scores.size());
  return static_cast<std::size_t>(parameter_count(item.model, m)) - first_estimated_parameter(item.model);
}

// The first parameter of the model's group g (from 0) in an item of m categories.
std::size_t group_start(ItemModel model, int m, std::size_t g);

// Parameter k (from 0, in file order) of an item of m categories: its role
// and its name ("D", "a", "b(2)").
ParameterRole parameter_role(ItemModel model, int m, std::size_t k);
std::string parameter_name(ItemModel model, int m, std::size_t k);

// One slope or location the moment methods pool: its value, and the
// parameters (indices into the item's parameters) it rises and falls with;
// no_parameter where it falls with none.
inline constexpr std::size_t no_parameter = static_cast<std::size_t>(-1);
struct MomentTerm {
  double value = 0.0;
  std::size_t plus = 0;
  std::size_t minus = no_parameter;
};
// Appends the item's slopes and locations, in parameter order.
void add_moment_terms(const Item& item, std::vector<MomentTerm>& slopes, std::vector<MomentTerm>& locations);

}  // namespace irteq
