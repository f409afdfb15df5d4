#include "convert/item_conversion.hpp"

namespace irteq {

// "MU" D, a, b, d(1..m), where irteq's d(j+1) belongs to the source's
// category j. Steps and intercepts come in with b = 0; d(1) enters every
// category alike, so irteq holds it fixed at 0, its row zero, whatever was printed.
ItemConversion partial_credit_conversion(const SourceItem& source) {
  const std::vector<double>& v = source.values;
  const auto m = source.category_scores.size();
  const SourceForm form = source.form;
  const bool located = form == SourceForm::partial_credit_muraki || form == SourceForm::partial_credit_thresholds;
  // The source's values of categories 0 ... m-1 start at `first`; category 0's may be left off.
  const std::size_t first = located ? 2 : 1;
  const bool has_zero = form != SourceForm::partial_credit_steps && v.size() == first + m;
  const auto index = [&](std::size_t j) { return has_zero ? first + j : first + j - 1; };
  const auto value = [&](std::size_t j) { return j == 0 && !has_zero ? 0.0 : v[index(j)]; };

  ItemConversion conversion = conversion_start(source, ItemModel::mu);
  const double a = v[0];
  conversion.item.parameters = {source.D, a, located ? v[1] : 0.0};
  conversion.at(0, 0) = 1.0;
  if (located) conversion.at(1, 1) = 1.0;
  std::vector<double>& parameters = conversion.item.parameters;
  for (std::size_t j = 0; j < m; ++j) {
    const std::size_t row = 2 + j;  // irteq's d(j+1)
    if (j == 0) {
      parameters.push_back(0.0);
    } else if (form == SourceForm::partial_credit_steps) {
      parameters.push_back(0.0 - v[j]);
      conversion.at(row, j) = -1.0;
    } else if (form == SourceForm::partial_credit_muraki) {
      parameters.push_back(v[index(j)]);
      conversion.at(row, index(j)) = 1.0;
    } else if (form == SourceForm::partial_credit_thresholds) {
      parameters.push_back(0.0 - v[index(j)]);
      conversion.at(row, index(j)) = -1.0;
    } else {  // intercepts: step j is (d(j-1) - d(j))/a
      const double difference = value(j) - value(j - 1);
      parameters.push_back(difference / a);
      conversion.at(row, 0) = -difference / (a * a);
      conversion.at(row, index(j)) = 1.0 / a;
      if (j > 1 || has_zero) conversion.at(row, index(j - 1)) = -1.0 / a;
    }
  }
  return conversion;
}

}  // namespace irteq
