#include "models/category_probabilities.hpp"

#include "models/bn_probabilities.hpp"
#include "models/l3_probabilities.hpp"
#include "models/sl_probabilities.hpp"
#include "models/sn_probabilities.hpp"

namespace irteq {

void category_probabilities(const Item& item, double theta, std::span<double> p) {
  const std::span<const double> parameters(item.parameters);
  const auto m = static_cast<int>(item.category_scores.size());
  switch (item.model) {
    case ItemModel::l3:
      l3_probabilities(theta, parameters[0], parameters[1], parameters[2], parameters[3], p);
      break;
    case ItemModel::sn:
      sn_probabilities(m, theta, parameters, p);
      break;
    case ItemModel::sl:
      sl_probabilities(m, theta, parameters, p);
      break;
    case ItemModel::bn:
    case ItemModel::mu:  // held as "BN" once read: mu_to_bn rewrote its parameters
      bn_probabilities(m, theta, parameters, p);
      break;
  }
}

}  // namespace irteq
