#include "models/category_probabilities.hpp"

#include <algorithm>
#include <limits>

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
      return;
    case ItemModel::sn:
      sn_probabilities(m, theta, parameters, p);
      return;
    case ItemModel::sl:
      sl_probabilities(m, theta, parameters, p);
      return;
    case ItemModel::bn:
    case ItemModel::mu:  // held as "BN" once read: mu_to_bn rewrote its parameters
      bn_probabilities(m, theta, parameters, p);
      return;
  }
  // validate() turns away any other value; should one get here all the same,
  // NaNs reach the check of finite results rather than unset memory.
  std::fill(p.begin(), p.begin() + m, std::numeric_limits<double>::quiet_NaN());
}

}  // namespace irteq
