// The covariance reader on any file content, and standard errors by both
// routes on what it accepts over a small linked run (run()): standard
// errors that are numbers of 0 or more, or an Error, never a crash.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <sstream>
#include <string>
#include <vector>

#include "irteq/error.hpp"
#include "irteq/files.hpp"
#include "irteq/run.hpp"
#include "small_input.hpp"

namespace {

// Two forms of four items, form X on a scale of its own, all four common.
irteq::RunInput linked_run() {
  using irteq::ItemModel;
  const std::vector<irteq::Item> y = {{1, ItemModel::l3, {0, 1}, {1.7, 1.0, -0.5, 0.2}},
                                      {2, ItemModel::l3, {0, 1}, {1.7, 0.8, 0.6, 0.15}},
                                      {3, ItemModel::sn, {0, 1, 2}, {0.9, -0.6, 0.8}},
                                      {4, ItemModel::mu, {0, 1, 3}, {1.7, 1.1, 0.2, 0.0, 0.4, -0.4}}};
  const irteq::QuadratureGrid grid{.points = {-2.0, -1.0, 0.0, 1.0, 2.0}, .weights = {1.0, 4.0, 6.0, 4.0, 1.0}};
  irteq::RunInput out;
  irteq::EquatingInput& e = out.equating;
  e.items_y = y;
  e.items_x = irteq::transform_items(y, 0.8, 0.3);
  e.grid_group1 = irteq::transform_grid(grid, 0.8, 0.3);
  e.grid_group2 = grid;
  for (int j = 0; j < 9; ++j) {
    e.scale_table.scale.push_back(10.0 + 2.0 * j);
    e.scale_table.rounded.push_back(10.0 + 2.0 * j);
  }
  e.scale_table.scale_min = 10;
  e.scale_table.scale_max = 26;
  irteq::LinkingInput linking{{}, irteq::LinkingMethod::haebara};
  for (const irteq::Item& item : y) linking.common.push_back({item.number, item.number, 0});
  out.linking = linking;
  return out;
}

void check(double v) {
  if (!(v >= 0.0) && !std::isnan(v)) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const irteq::RunInput valid = linked_run();
  std::istringstream in(std::string(reinterpret_cast<const char*>(data), size));
  irteq::ParameterCovariances covariances;
  try {
    covariances.x = irteq::read_covariance(in, "x.cov", valid.equating.items_x, irteq::fuzzing::dropped_output());
  } catch (const irteq::Error&) {
    return 0;
  }
  if (covariances.x->size != irteq::covariance_size(valid.equating.items_x)) std::abort();
  irteq::RunOptions options;
  options.standard_errors = {.delta_method = true, .draws = 4, .seed = 1, .threads = 1};
  options.covariances = covariances;
  try {
    const irteq::StandardErrors se = *irteq::run(valid, options).standard_errors;
    for (const auto* p : {&se.true_raw, &se.true_scale, &se.observed_raw, &se.observed_scale}) {
      for (const double v : *p->delta) check(v);
      for (const irteq::DrawSpread& spread : *p->draws) check(spread.sd);
    }
  } catch (const irteq::Error&) {
  }
  return 0;
}
