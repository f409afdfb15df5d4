#include "models/category_probabilities.hpp"

#include "models/bn_probabilities.hpp"
#include "models/l3_probabilities.hpp"
#include "models/sl_probabilities.hpp"
#include "models/sn_probabilities.hpp"

namespace irteq {

void category_probabilities(const Item& item, double theta, std::span<double> p) {
  const std::span<const double> parameters(item.parameters);
  const int m = item.category_count;
  if (item.type_code == code_l3) {
    l3_probabilities(theta, parameters[0], parameters[1], parameters[2], parameters[3], p);
  } else if (item.type_code == code_sn) {
    sn_probabilities(m, theta, parameters, p);
  } else if (item.type_code == code_sl) {
    sl_probabilities(m, theta, parameters, p);
  } else {
    bn_probabilities(m, theta, parameters, p);
  }
}

}  // namespace irteq
