// The covariance reader on any file content, and standard errors by both
// routes on what it accepts over a small linked pair of forms: standard
// errors that are numbers of 0 or more, or an Error, never a crash.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <sstream>
#include <string>
#include <vector>

#include "irteq/equate.hpp"
#include "irteq/error.hpp"
#include "irteq/standard_errors.hpp"
#include "small_input.hpp"

namespace {

struct LinkedRun {
  irteq::RunInput run;
  irteq::LinkingResult linking;
  irteq::EquatingResult result;
};

// Two forms of four items, form X on a scale of its own, all four common.
LinkedRun linked_run() {
  using irteq::ItemModel;
  const std::vector<irteq::Item> y = {{1, ItemModel::l3, {0, 1}, {1.7, 1.0, -0.5, 0.2}},
                                      {2, ItemModel::l3, {0, 1}, {1.7, 0.8, 0.6, 0.15}},
                                      {3, ItemModel::sn, {0, 1, 2}, {0.9, -0.6, 0.8}},
                                      {4, ItemModel::mu, {0, 1, 3}, {1.7, 1.1, 0.2, 0.0, 0.4, -0.4}}};
  const irteq::QuadratureGrid grid{.points = {-2.0, -1.0, 0.0, 1.0, 2.0}, .weights = {1.0, 4.0, 6.0, 4.0, 1.0}};
  LinkedRun out;
  irteq::EquatingInput& e = out.run.equating;
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
  irteq::LinkingInput linking{e.items_x, e.items_y, e.grid_group1, e.grid_group2, {},
                              irteq::LinkingMethod::haebara, false, e.names};
  for (const irteq::Item& item : y) linking.common.push_back({item.number, item.number, 0});
  out.run.linking = linking;
  out.linking = irteq::link(linking);
  out.result = irteq::equate(irteq::linked_input(e, out.linking));
  return out;
}

void check(const std::vector<double>& values) {
  for (const double v : values) {
    if (!(v >= 0.0) && !std::isnan(v)) std::abort();
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const LinkedRun valid = linked_run();
  std::istringstream in(std::string(reinterpret_cast<const char*>(data), size));
  irteq::ParameterCovariances covariances;
  try {
    covariances.x = irteq::read_covariance(in, "x.cov", valid.run.equating.items_x, irteq::fuzzing::dropped_output());
  } catch (const irteq::Error&) {
    return 0;
  }
  if (covariances.x->size != irteq::covariance_size(valid.run.equating.items_x)) std::abort();
  try {
    const irteq::StandardErrors se = irteq::standard_errors(valid.run, valid.linking, valid.result, covariances,
                                                            {.delta_method = true, .draws = 4, .seed = 1, .threads = 1});
    for (const auto* p : {&se.true_raw, &se.true_scale, &se.observed_raw, &se.observed_scale}) {
      check(p->delta);
      check(p->draws_sd);
    }
  } catch (const irteq::Error&) {
  }
  return 0;
}
