#pragma once

namespace irteq {

struct Moments {
  double mean = 0.0;
  double sd = 0.0;
  double skewness = 0.0;
  double kurtosis = 0.0;  // not reduced by 3
};

}  // namespace irteq
