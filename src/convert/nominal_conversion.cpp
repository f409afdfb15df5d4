#include "convert/item_conversion.hpp"

namespace irteq {

// "BN" D, a(1..m), c(1..m): as printed, with a zero first category added
// where it was left off, or with the slopes a*s(k) of the scored form.
ItemConversion nominal_conversion(const SourceItem& source) {
  const std::vector<double>& v = source.values;
  const auto m = source.category_scores.size();
  ItemConversion conversion = conversion_start(source, ItemModel::bn);
  std::vector<double>& parameters = conversion.item.parameters;
  parameters.assign(2 * m + 1, 0.0);
  parameters[0] = source.D;
  if (source.form == SourceForm::nominal_scored) {
    const double a = v[0];
    for (std::size_t k = 0; k < m; ++k) {
      parameters[1 + k] = a * v[1 + k];
      conversion.at(k, 0) = v[1 + k];
      conversion.at(k, 1 + k) = a;
      parameters[1 + m + k] = v[1 + m + k];
      conversion.at(m + k, 1 + m + k) = 1.0;
    }
    return conversion;
  }
  const std::size_t skipped = v.size() == 2 * m ? 0 : 1;  // categories left off in front
  const std::size_t given = m - skipped;
  for (std::size_t k = skipped; k < m; ++k) {
    const std::size_t slope = k - skipped;
    const std::size_t intercept = given + k - skipped;
    parameters[1 + k] = v[slope];
    parameters[1 + m + k] = v[intercept];
    conversion.at(k, slope) = 1.0;
    conversion.at(m + k, intercept) = 1.0;
  }
  return conversion;
}

}  // namespace irteq
