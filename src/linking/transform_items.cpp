// The linear transformation theta_Y = A * theta_X + B applied to item
// parameters: slopes divide by A, locations map like abilities, partial
// credit deviations stretch by A, nominal intercepts absorb the shift. Each
// expression is the documented one, evaluated exactly so, so that linked
// parameters and parameters transformed by hand agree to the last bit.
#include "irteq/linking.hpp"
#include "models/item_model_facts.hpp"

namespace irteq {

namespace {

Item transformed(const Item& item, double A, double B) {
  Item out = item;
  std::vector<double>& p = out.parameters;
  const std::vector<double>& q = item.parameters;
  const auto m = static_cast<int>(item.category_scores.size());
  for (std::size_t k = 0; k < q.size(); ++k) {
    switch (parameter_role(item.model, m, k)) {
      case ParameterRole::slope:
        p[k] = q[k] / A;
        break;
      case ParameterRole::location:
        p[k] = A * q[k] + B;
        break;
      case ParameterRole::deviation:
        p[k] = A * q[k];
        break;
      case ParameterRole::intercept:  // its slope stands m parameters before it
        p[k] = q[k] - q[k - static_cast<std::size_t>(m)] * B / A;
        break;
      case ParameterRole::scaling:
      case ParameterRole::asymptote:
        break;
    }
  }
  return out;
}

}  // namespace

std::vector<Item> transform_items(std::span<const Item> items, double A, double B) {
  std::vector<Item> out;
  out.reserve(items.size());
  for (const Item& item : items) out.push_back(transformed(item, A, B));
  return out;
}

QuadratureGrid transform_grid(const QuadratureGrid& grid, double A, double B) {
  QuadratureGrid out = grid;
  for (double& theta : out.points) theta = A * theta + B;
  return out;
}

}  // namespace irteq
