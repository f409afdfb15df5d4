#include "models/item_model_facts.hpp"

namespace irteq {

namespace {

using R = ParameterRole;

constexpr ParameterGroup scaling{"D", R::scaling};
constexpr ParameterGroup slope{"a", R::slope};

constexpr std::array<ItemModelFacts, 5> table{{
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
  for (std::size_t i = 0; i < table.size(); ++i) {
    if (static_cast<std::size_t>(table[i].model) != i) return false;
  }
  return true;
}
static_assert(rows_in_enum_order());

int group_size(const ParameterGroup& group, int m) { return group.indexed ? m + group.count_offset : 1; }

// The group parameter k belongs to, and k's index within it (from 0).
std::pair<const ParameterGroup*, int> group_of(ItemModel model, int m, std::size_t k) {
  const ItemModelFacts& facts = model_facts(model);
  auto left = static_cast<int>(k);
  for (std::size_t g = 0; g < facts.group_count; ++g) {
    const int size = group_size(facts.groups[g], m);
    if (left < size) return {&facts.groups[g], left};
    left -= size;
  }
  return {nullptr, 0};
}

}  // namespace

const std::array<ItemModelFacts, 5>& item_model_table() { return table; }

bool known_model(ItemModel model) {
  for (const ItemModelFacts& facts : table) {
    if (facts.model == model) return true;
  }
  return false;
}

const ItemModelFacts& model_facts(ItemModel model) { return table[static_cast<std::size_t>(model)]; }

int parameter_count(ItemModel model, int m) {
  const ItemModelFacts& facts = model_facts(model);
  int count = 0;
  for (std::size_t g = 0; g < facts.group_count; ++g) count += group_size(facts.groups[g], m);
  return count;
}

bool has_scaling_constant(ItemModel model) { return model_facts(model).groups[0].role == R::scaling; }

std::size_t first_estimated_parameter(ItemModel model) { return has_scaling_constant(model) ? 1 : 0; }

std::size_t estimated_parameter_count(const Item& item) {
  const auto m = static_cast<int>(item.category_scores.size());
  return static_cast<std::size_t>(parameter_count(item.model, m)) - first_estimated_parameter(item.model);
}

std::size_t group_start(ItemModel model, int m, std::size_t g) {
  const ItemModelFacts& facts = model_facts(model);
  int start = 0;
  for (std::size_t before = 0; before < g && before < facts.group_count; ++before) {
    start += group_size(facts.groups[before], m);
  }
  return static_cast<std::size_t>(start);
}

ParameterRole parameter_role(ItemModel model, int m, std::size_t k) {
  const auto [group, index] = group_of(model, m, k);
  return group ? group->role : R::scaling;
}

std::string parameter_name(ItemModel model, int m, std::size_t k) {
  const auto [group, index] = group_of(model, m, k);
  std::string name = group ? std::string(group->letter) : "parameter ";
  if (!group) name += std::to_string(k + 1);
  if (group && group->indexed) {
    // Appended piece by piece: "(" + std::to_string(...) draws a false -Wrestrict from GCC 12.
    name += '(';
    name += std::to_string(index + 1);
    name += ')';
  }
  return name;
}

void add_moment_terms(const Item& item, std::vector<MomentTerm>& slopes, std::vector<MomentTerm>& locations) {
  const std::vector<double>& q = item.parameters;
  const auto m = static_cast<int>(item.category_scores.size());
  switch (model_facts(item.model).moment_terms) {
    case MomentTerms::none:
      return;
    case MomentTerms::slope_and_locations:
      for (std::size_t k = 0; k < q.size(); ++k) {
        const ParameterRole role = parameter_role(item.model, m, k);
        if (role == R::slope) slopes.push_back({q[k], k});
        if (role == R::location) locations.push_back({q[k], k});
      }
      return;
    case MomentTerms::slope_and_steps: {
      // The step from category k - 1 to k lies at b - d(k); d(1) takes no part.
      std::size_t b = 0;
      bool first_deviation = true;
      for (std::size_t k = 0; k < q.size(); ++k) {
        const ParameterRole role = parameter_role(item.model, m, k);
        if (role == R::slope) slopes.push_back({q[k], k});
        if (role == R::location) b = k;
        if (role != R::deviation) continue;
        if (!first_deviation) locations.push_back({q[b] - q[k], b, k});
        first_deviation = false;
      }
      return;
    }
  }
}

}  // namespace irteq
