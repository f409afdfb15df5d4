// The linear transformation theta_Y = A * theta_X + B applied to item
// parameters: slopes divide by A, locations map like abilities, partial
// credit deviations stretch by A, nominal intercepts absorb the shift. Each
// expression is the documented one, evaluated exactly so, so that linked
// parameters and parameters transformed by hand agree to the last bit.
#include "irteq/linking.hpp"

namespace irteq {

namespace {

Item transformed(const Item& item, double A, double B) {
  Item out = item;
  std::vector<double>& p = out.parameters;
  const std::vector<double>& q = item.parameters;
  const std::size_t n = q.size();
  switch (item.model) {
    case ItemModel::l3:  // D, a, b, c
      p[1] = q[1] / A;
      p[2] = A * q[2] + B;
      break;
    case ItemModel::sn:  // a, b(1..m-1)
      p[0] = q[0] / A;
      for (std::size_t k = 1; k < n; ++k) p[k] = A * q[k] + B;
      break;
    case ItemModel::sl:  // D, a, b(1..m-1)
      p[1] = q[1] / A;
      for (std::size_t k = 2; k < n; ++k) p[k] = A * q[k] + B;
      break;
    case ItemModel::mu:  // D, a, b, d(1..m)
      p[1] = q[1] / A;
      p[2] = A * q[2] + B;
      for (std::size_t k = 3; k < n; ++k) p[k] = A * q[k];
      break;
    case ItemModel::bn: {  // D, a(1..m), c(1..m)
      const std::size_t m = (n - 1) / 2;
      for (std::size_t k = 1; k <= m; ++k) {
        p[k] = q[k] / A;
        p[k + m] = q[k + m] - q[k] * B / A;
      }
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
