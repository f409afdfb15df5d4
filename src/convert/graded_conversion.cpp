#include "convert/item_conversion.hpp"
#include "models/item_model_facts.hpp"

namespace irteq {

// "SL" D, a, b(1..m-1), or "SN" a, b(1..m-1) for the normal ogive, which has
// no D; b(k) = -d(k)/a from the intercept forms.
ItemConversion graded_conversion(const SourceItem& source) {
  const std::vector<double>& v = source.values;
  const bool normal = source.form == SourceForm::graded_normal_intercept ||
                      source.form == SourceForm::graded_normal_difficulty;
  const bool intercept =
      source.form == SourceForm::graded_intercept || source.form == SourceForm::graded_normal_intercept;
  ItemConversion conversion = conversion_start(source, normal ? ItemModel::sn : ItemModel::sl);
  std::vector<double>& parameters = conversion.item.parameters;
  if (has_scaling_constant(conversion.item.model)) parameters.push_back(source.D);
  const double a = v[0];
  parameters.push_back(a);
  conversion.at(0, 0) = 1.0;
  for (std::size_t k = 1; k < v.size(); ++k) {
    if (intercept) {
      parameters.push_back(-v[k] / a);
      conversion.at(k, 0) = v[k] / (a * a);
      conversion.at(k, k) = -1.0 / a;
    } else {
      parameters.push_back(v[k]);
      conversion.at(k, k) = 1.0;
    }
  }
  return conversion;
}

}  // namespace irteq
