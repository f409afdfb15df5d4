#include "convert/item_conversion.hpp"

#include "models/item_model_facts.hpp"

namespace irteq {

ItemConversion conversion_start(const SourceItem& source, ItemModel model) {
  ItemConversion conversion;
  conversion.item = {source.number, model, source.category_scores, {}, source.label};
  conversion.rows = estimated_parameter_count(conversion.item);
  conversion.columns = source.values.size();
  conversion.jacobian.assign(conversion.rows * conversion.columns, 0.0);
  return conversion;
}

ItemConversion convert_item(const SourceItem& source) {
  switch (source.form) {
    case SourceForm::logistic_intercept:
    case SourceForm::logistic_difficulty:
      return dichotomous_conversion(source);
    case SourceForm::graded_intercept:
    case SourceForm::graded_difficulty:
    case SourceForm::graded_normal_intercept:
    case SourceForm::graded_normal_difficulty:
      return graded_conversion(source);
    case SourceForm::partial_credit_steps:
    case SourceForm::partial_credit_muraki:
    case SourceForm::partial_credit_thresholds:
    case SourceForm::partial_credit_intercept:
      return partial_credit_conversion(source);
    case SourceForm::nominal:
    case SourceForm::nominal_scored:
      return nominal_conversion(source);
  }
  return conversion_start(source, ItemModel::l3);
}

}  // namespace irteq
