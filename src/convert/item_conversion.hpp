#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "irteq/convert.hpp"

namespace irteq {

// One source item in irteq's parameters, with the conversion's Jacobian:
// d(parameter r after D) / d(source value c) at r * columns + c.
struct ItemConversion {
  Item item;
  std::size_t rows = 0;
  std::size_t columns = 0;
  std::vector<double> jacobian;

  double& at(std::size_t r, std::size_t c) { return jacobian[r * columns + c]; }
};

// An item of the source's number and scores in the given model, its Jacobian
// zero, the model's estimated parameters (all after D) by the source's values.
ItemConversion conversion_start(const SourceItem& source, ItemModel model);

// What keeps a source item from conversion (an empty string when nothing):
// fewer than two categories, a count of values that does not fit its form and
// m, a value that is not finite, D not above 0, a slope of 0 to divide by.
std::string conversion_problem(const SourceItem& source);

// Converts a source item that conversion_problem() passed, by its form's family.
ItemConversion convert_item(const SourceItem& source);
ItemConversion dichotomous_conversion(const SourceItem& source);
ItemConversion graded_conversion(const SourceItem& source);
ItemConversion partial_credit_conversion(const SourceItem& source);
ItemConversion nominal_conversion(const SourceItem& source);

}  // namespace irteq
