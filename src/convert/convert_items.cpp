// Source items into irteq's items, and the covariance of their values carried
// along by the delta method: C = J S J', J block diagonal, one block per item.
#include <cmath>
#include <string>

#include "common/shown_number.hpp"
#include "convert/item_conversion.hpp"
#include "irteq/error.hpp"
#include "irteq/validate.hpp"

namespace irteq {

namespace {

std::vector<Item> items_of(const std::vector<ItemConversion>& converted) {
  std::vector<Item> items;
  items.reserve(converted.size());
  for (const ItemConversion& c : converted) items.push_back(c.item);
  return items;
}

std::vector<ItemConversion> conversions(const std::vector<SourceItem>& sources, const std::string& name) {
  std::vector<ItemConversion> converted;
  converted.reserve(sources.size());
  for (std::size_t i = 0; i < sources.size(); ++i) {
    const SourceItem& source = sources[i];
    const std::string problem = conversion_problem(source);
    if (!problem.empty()) {
      const int position = static_cast<int>(i + 1);
      throw Error(name + ": item " + std::to_string(position) + " (number " + std::to_string(source.number) +
                      (source.label.empty() ? std::string() : ", label " + source.label) + ", " +
                      std::string(source_form_name(source.form)) + "): " + problem,
                  {.code = ErrorCode::invalid_input, .source = name, .item = position});
    }
    converted.push_back(convert_item(source));
  }
  validate_items(items_of(converted), name);
  return converted;
}

[[noreturn]] void covariance_failure(const std::string& name, const std::string& problem) {
  throw Error(name + ": covariance: " + problem, {.code = ErrorCode::invalid_input, .source = name});
}

}  // namespace

std::vector<Item> convert_items(const std::vector<SourceItem>& sources, const std::string& name) {
  return items_of(conversions(sources, name));
}

ConvertedItems convert_items(const std::vector<SourceItem>& sources, const Covariance& covariance,
                             const std::string& name) {
  const std::vector<ItemConversion> converted = conversions(sources, name);
  std::size_t q = 0;  // source values
  std::size_t p = 0;  // irteq parameters after D
  for (const ItemConversion& c : converted) q += c.columns, p += c.rows;
  if (covariance.size != q || covariance.values.size() != q * q) {
    covariance_failure(name, std::to_string(covariance.size) + " rows and " +
                                 std::to_string(covariance.values.size()) + " values; the items have " +
                                 std::to_string(q) + " values, so it must be " + std::to_string(q) + " by " +
                                 std::to_string(q));
  }
  for (std::size_t k = 0; k < covariance.values.size(); ++k) {
    if (!std::isfinite(covariance.values[k])) {
      covariance_failure(name, "row " + std::to_string(k / q + 1) + ", column " + std::to_string(k % q + 1) +
                                   " is " + shown_number(covariance.values[k]) + ", not a finite number");
    }
  }

  // t = J S (p by q), then C = t J' (p by p), each entry one sum over its block.
  std::vector<double> t(p * q, 0.0);
  std::size_t row0 = 0, column0 = 0;
  for (const ItemConversion& c : converted) {
    for (std::size_t r = 0; r < c.rows; ++r) {
      for (std::size_t j = 0; j < q; ++j) {
        double sum = 0.0;
        for (std::size_t k = 0; k < c.columns; ++k) {
          sum += c.jacobian[r * c.columns + k] * covariance.values[(column0 + k) * q + j];
        }
        t[(row0 + r) * q + j] = sum;
      }
    }
    row0 += c.rows, column0 += c.columns;
  }
  // c is g itself (a Jacobian row of 1), so a covariance of logit(g) gives one of logit(c).
  ConvertedItems result{items_of(converted), {p, std::vector<double>(p * p, 0.0), covariance.guessing}};
  for (std::size_t i = 0; i < p; ++i) {
    row0 = 0, column0 = 0;
    for (const ItemConversion& c : converted) {
      for (std::size_t r = 0; r < c.rows; ++r) {
        double sum = 0.0;
        for (std::size_t k = 0; k < c.columns; ++k) sum += t[i * q + column0 + k] * c.jacobian[r * c.columns + k];
        result.covariance.values[i * p + row0 + r] = sum;
      }
      row0 += c.rows, column0 += c.columns;
    }
  }
  // Symmetric to the last bit: the lower triangle is the upper's.
  for (std::size_t i = 0; i < p; ++i) {
    for (std::size_t j = 0; j < i; ++j) result.covariance.values[i * p + j] = result.covariance.values[j * p + i];
  }
  return result;
}

}  // namespace irteq
