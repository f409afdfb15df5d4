#include "truescore/zbrent.hpp"

#include "truescore/test_characteristic_function.hpp"

namespace irteq {

double zbrent(double lower, double upper, double tolerance, const ItemSet& items, double target, Console& console) {
  return zbrent(
      lower, upper, tolerance, [&](double theta) { return test_characteristic_function(items, theta) - target; },
      console);
}

}  // namespace irteq
