#include "models/item_model_facts.hpp"

namespace irteq {

namespace {

using R = ParameterRole;

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

bool known_model(ItemModel model) {
  for (const ItemModelFacts& facts : item_model_table) {
    if (facts.model == model) return true;
  }
  return false;
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
