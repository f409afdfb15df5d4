// A form's parameters drawn from the normal distribution with the estimates
// as means: each block's rows get their factor's row times the block's
// normals, summed in column order, so a draw is the same on any thread. A c
// drawn on the logit scale is mapped back, so it stays inside (0, 1).
#include "standard_errors/draw_items.hpp"

#include <cmath>

namespace irteq {

void draw_items(const std::vector<Item>& estimates, const DrawFactor& factor, NormalDraws& stream,
                std::vector<double>& normals, std::vector<Item>& drawn) {
  normals.resize(factor.size);
  stream.fill(normals);
  drawn = estimates;
  for (const FactorBlock& block : factor.blocks) {
    const std::size_t n = block.rows.size();
    for (std::size_t i = 0; i < n; ++i) {
      double shift = 0.0;
      for (std::size_t j = 0; j < n; ++j) shift += block.factor[i * n + j] * normals[block.rows[j]];
      if (shift == 0.0) continue;
      double& parameter = drawn[block.items[i]].parameters[block.parameters[i]];
      if (block.logit[i]) {
        parameter = 1.0 / (1.0 + std::exp(-(std::log(parameter / (1.0 - parameter)) + shift)));
      } else {
        parameter += shift;
      }
    }
  }
}

}  // namespace irteq
