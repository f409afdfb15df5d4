#include "convert/item_conversion.hpp"

namespace irteq {

// "L3" D, a, b, c; b = -d/a from the intercept form; c = 0, held fixed, when not printed.
ItemConversion dichotomous_conversion(const SourceItem& source) {
  const std::vector<double>& v = source.values;
  ItemConversion conversion = conversion_start(source, ItemModel::l3);
  const double a = v[0];
  const bool intercept = source.form == SourceForm::logistic_intercept;
  const double b = intercept ? -v[1] / a : v[1];
  const double c = v.size() > 2 ? v[2] : 0.0;
  conversion.item.parameters = {source.D, a, b, c};
  conversion.at(0, 0) = 1.0;
  if (intercept) {
    conversion.at(1, 0) = v[1] / (a * a);
    conversion.at(1, 1) = -1.0 / a;
  } else {
    conversion.at(1, 1) = 1.0;
  }
  if (v.size() > 2) conversion.at(2, 2) = 1.0;
  return conversion;
}

}  // namespace irteq
