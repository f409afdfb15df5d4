#include "validate/covariance_problems.hpp"

#include <cmath>

#include "common/shown_number.hpp"
#include "irteq/error.hpp"
#include "irteq/validate.hpp"
#include "models/item_model_facts.hpp"

namespace irteq {

std::vector<std::string> covariance_labels(const std::vector<Item>& items) {
  std::vector<std::string> labels;
  for (std::size_t i = 0; i < items.size(); ++i) {
    const Item& item = items[i];
    const auto m = static_cast<int>(item.category_scores.size());
    const std::size_t first = first_estimated_parameter(item.model);
    for (std::size_t k = first; k < first + estimated_parameter_count(item); ++k) {
      labels.push_back("(item " + std::to_string(i + 1) + ", number " + std::to_string(item.number) + ", " +
                       parameter_name(item.model, m, k) + ")");
    }
  }
  return labels;
}

std::optional<CovarianceFault> covariance_fault(const Covariance& covariance, const std::vector<std::string>& labels) {
  const std::size_t size = covariance.size;
  const auto place = [&](const char* what, std::size_t index) {
    return std::string(what) + " " + std::to_string(index + 1) + " " + labels[index];
  };
  const auto at = [&](std::size_t row, std::size_t column) { return covariance.values[row * size + column]; };
  for (std::size_t row = 0; row < size; ++row) {
    const double diagonal = at(row, row);
    if (!std::isfinite(diagonal) || diagonal < 0.0) {
      return CovarianceFault{row, place("row", row) + ": the variance " + shown_number(diagonal) +
                                      " must be a finite number, 0 or more"};
    }
    for (std::size_t column = 0; column < row; ++column) {
      const double below = at(row, column);
      const double above = at(column, row);
      const double scale =
          std::fmax(std::fmax(std::fabs(below), std::fabs(above)), std::sqrt(diagonal * at(column, column)));
      if (!std::isfinite(below) || !(std::fabs(below - above) <= 1e-9 * scale)) {
        return CovarianceFault{row, place("row", row) + ", " + place("column", column) + ": " + shown_number(below) +
                                        ", but " + place("row", column) + " holds " + shown_number(above) +
                                        " in its column; a covariance matrix is symmetric"};
      }
    }
  }
  return std::nullopt;
}

std::string covariance_size_problem(const Covariance& covariance, const std::vector<Item>& items) {
  const std::size_t size = covariance_size(items);
  if (covariance.size == size && covariance.values.size() == size * size) return {};
  return "the covariance is " + std::to_string(covariance.size) + " x " + std::to_string(covariance.size) +
         (covariance.values.size() == covariance.size * covariance.size
              ? ""
              : " with " + std::to_string(covariance.values.size()) + " values") +
         ", but its form's " + std::to_string(items.size()) + (items.size() == 1 ? " item has " : " items have ") +
         std::to_string(size) + " parameters without D";
}

void validate_covariance(const Covariance& covariance, const std::vector<Item>& items, const std::string& name) {
  const Diagnostic where{.code = ErrorCode::invalid_input, .source = name};
  if (const std::string problem = covariance_size_problem(covariance, items); !problem.empty()) {
    throw Error(name + ": " + problem, where);
  }
  if (const std::optional<CovarianceFault> fault = covariance_fault(covariance, covariance_labels(items))) {
    Diagnostic at = where;
    at.row = static_cast<int>(fault->row + 1);
    throw Error(name + ": " + fault->message, at);
  }
  if (covariance.guessing == GuessingMetric::logit) {
    // logit(c) of a c of 0 or 1 is infinite: such an estimate can have no variance on that scale.
    std::size_t row = 0;
    for (std::size_t i = 0; i < items.size(); ++i) {
      const Item& item = items[i];
      row += estimated_parameter_count(item);
      if (item.model != ItemModel::l3) continue;
      const double c = item.parameters.back();
      const double variance = covariance.values[(row - 1) * covariance.size + (row - 1)];
      if (variance > 0.0 && !(c > 0.0 && c < 1.0)) {
        Diagnostic at = where;
        at.row = static_cast<int>(row);
        at.item = static_cast<int>(i + 1);
        throw Error(name + ": item " + std::to_string(i + 1) + " (number " + std::to_string(item.number) +
                        (item.label.empty() ? "" : ", " + item.label) + ") has c = " + shown_number(c) +
                        " and a variance of logit(c) of " + shown_number(variance) +
                        "; a c of 0 or 1 has no logit, so the covariance cannot be in the logit metric there "
                        "(hold c fixed with a zero row and column, or give the covariance of c)",
                    at);
      }
    }
  }
}

}  // namespace irteq
