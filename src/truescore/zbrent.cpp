#include "truescore/zbrent.hpp"

#include "models/test_characteristic_function.hpp"

namespace irteq {

double zbrent(double lower, double upper, RootTolerance tolerance, std::span<const Item> items, double target,
              ZbrentOutcome& outcome) {
  return zbrent(
      lower, upper, tolerance, [&](double theta) { return test_characteristic_function(items, theta) - target; },
      outcome);
}

}  // namespace irteq
