#pragma once

#include <span>
#include <vector>

namespace irteq {

// The spread of one result over the draws.
struct DrawSpread {
  double sd = 0.0;     // divisor R - 1; not a number for fewer than two draws
  double lower = 0.0;  // type 7 quantile at 0.025
  double upper = 0.0;  // and at 0.975
};

// values in draw order; sorted is a buffer, reused between calls.
DrawSpread draw_spread(std::span<const double> values, std::vector<double>& sorted);

}  // namespace irteq
