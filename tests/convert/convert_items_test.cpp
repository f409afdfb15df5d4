// Every parameterisation a calibration program prints, converted, gives its
// own formula's probabilities; the covariance follows the conversion's
// Jacobian, here taken by central differences.

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <string>
#include <vector>

#include "irteq/irteq.hpp"
#include "models/item_model_facts.hpp"
#include "models/normal_cdf.hpp"

namespace irteq::testing {
namespace {

using Probabilities = std::vector<double>;
using F = SourceForm;

// The source formulas, written out as the programs state them.
double logistic(double x) { return 1.0 / (1.0 + std::exp(-x)); }
Probabilities cumulative(const std::vector<double>& at_least) {  // P(category k or higher), k = 2 ... m
  Probabilities p;
  double previous = 1.0;
  for (const double g : at_least) p.push_back(previous - g), previous = g;
  p.push_back(previous);
  return p;
}
Probabilities softmax(const std::vector<double>& exponents) {
  Probabilities p;
  double sum = 0.0;
  for (const double z : exponents) sum += std::exp(z);
  for (const double z : exponents) p.push_back(std::exp(z) / sum);
  return p;
}
// Partial credit from the exponent's term for each step j = 1 ... m-1.
Probabilities partial_credit(int m, const std::function<double(int)>& term) {
  std::vector<double> z{0.0};
  for (int j = 1; j < m; ++j) z.push_back(z.back() + term(j));
  return softmax(z);
}

struct Case {
  SourceItem source;
  std::function<Probabilities(double)> own;
};

SourceItem source(F form, double d, int m, std::vector<double> values) {
  std::vector<int> scores;
  for (int k = 0; k < m; ++k) scores.push_back(k);
  return {0, form, d, scores, std::move(values)};
}

const std::vector<Case> cases{
    {source(F::logistic_intercept, 1.0, 2, {1.36, -0.68, 0.2}),
     [](double t) { return cumulative({0.2 + 0.8 * logistic(1.36 * t - 0.68)}); }},
    {source(F::logistic_intercept, 1.7, 2, {0.9, 0.3}),
     [](double t) { return cumulative({logistic(1.7 * (0.9 * t + 0.3))}); }},
    {source(F::logistic_difficulty, 1.7, 2, {0.8, 0.5, 0.2}),
     [](double t) { return cumulative({0.2 + 0.8 * logistic(1.7 * 0.8 * (t - 0.5))}); }},
    {source(F::graded_intercept, 1.0, 4, {1.25, 1.5, 0.25, -1.0}),
     [](double t) {
       return cumulative({logistic(1.25 * t + 1.5), logistic(1.25 * t + 0.25), logistic(1.25 * t - 1.0)});
     }},
    {source(F::graded_difficulty, 1.7, 3, {0.7, -1.0, 1.3}),
     [](double t) { return cumulative({logistic(1.7 * 0.7 * (t + 1.0)), logistic(1.7 * 0.7 * (t - 1.3))}); }},
    // The normal ogive through irteq's own normal_cdf: what is checked is the conversion.
    {source(F::graded_normal_intercept, 1.7, 3, {0.8, 0.4, -0.6}),
     [](double t) { return cumulative({normal_cdf(0.8 * t + 0.4), normal_cdf(0.8 * t - 0.6)}); }},
    {source(F::graded_normal_difficulty, 1.0, 3, {1.1, -0.5, 0.75}),
     [](double t) { return cumulative({normal_cdf(1.1 * (t + 0.5)), normal_cdf(1.1 * (t - 0.75))}); }},
    {source(F::partial_credit_steps, 1.0, 4, {0.9, -1.0, 0.2, 1.1}), [](double t) {
       const double b[] = {0, -1.0, 0.2, 1.1};
       return partial_credit(4, [&](int j) { return 0.9 * (t - b[j]); });
     }},
    {source(F::partial_credit_muraki, 1.0, 4, {0.9, 0.1, 1.1, -0.1, -1.0}), [](double t) {
       const double d[] = {0, 1.1, -0.1, -1.0};
       return partial_credit(4, [&](int j) { return 0.9 * (t - 0.1 + d[j]); });
     }},
    {source(F::partial_credit_muraki, 1.7, 4, {0.9, 0.1, 0.0, 1.1, -0.1, -1.0}), [](double t) {
       const double d[] = {0, 1.1, -0.1, -1.0};
       return partial_credit(4, [&](int j) { return 1.7 * 0.9 * (t - 0.1 + d[j]); });
     }},
    {source(F::partial_credit_thresholds, 1.0, 4, {0.9, 0.1, -1.1, 0.1, 1.0}), [](double t) {
       const double th[] = {0, -1.1, 0.1, 1.0};
       return partial_credit(4, [&](int j) { return 0.9 * (t - (0.1 + th[j])); });
     }},
    {source(F::partial_credit_thresholds, 1.0, 3, {1.3, -0.2, 0.0, -0.4, 0.4}), [](double t) {
       const double th[] = {0, -0.4, 0.4};
       return partial_credit(3, [&](int j) { return 1.3 * (t - (-0.2 + th[j])); });
     }},
    {source(F::partial_credit_intercept, 1.0, 4, {0.9, 0.0, 0.9, 0.72, -0.27}),
     [](double t) { return softmax({0.0, 0.9 * t + 0.9, 1.8 * t + 0.72, 2.7 * t - 0.27}); }},
    {source(F::partial_credit_intercept, 1.7, 3, {1.2, 0.4, 1.0, 0.3}),
     [](double t) { return softmax({1.7 * 0.4, 1.7 * (1.2 * t + 1.0), 1.7 * (2.4 * t + 0.3)}); }},
    {source(F::partial_credit_intercept, 1.0, 3, {0.6, 1.0, 0.3}),
     [](double t) { return softmax({0.0, 0.6 * t + 1.0, 1.2 * t + 0.3}); }},
    {source(F::nominal, 1.0, 3, {-1.0, 0.2, 0.8, 0.5, 0.3, -0.8}),
     [](double t) { return softmax({-1.0 * t + 0.5, 0.2 * t + 0.3, 0.8 * t - 0.8}); }},
    {source(F::nominal, 1.7, 3, {1.2, 1.8, -0.2, -1.3}),
     [](double t) { return softmax({0.0, 1.7 * (1.2 * t - 0.2), 1.7 * (1.8 * t - 1.3)}); }},
    {source(F::nominal_scored, 1.0, 3, {1.1, 0.0, 0.8, 2.0, 0.0, 0.4, -0.9}),
     [](double t) { return softmax({0.0, 1.1 * 0.8 * t + 0.4, 1.1 * 2.0 * t - 0.9}); }},
};

std::vector<SourceItem> all_sources() {
  std::vector<SourceItem> sources;
  for (const Case& c : cases) sources.push_back(c.source), sources.back().number = static_cast<int>(sources.size());
  return sources;
}

TEST(ConvertItems, EveryFormGivesItsOwnFormulasProbabilities) {
  const std::vector<Item> items = convert_items(all_sources());
  ASSERT_EQ(items.size(), cases.size());
  for (std::size_t i = 0; i < cases.size(); ++i) {
    for (const double theta : {-2.5, -1.0, 0.0, 1.0, 2.2}) {
      const Probabilities p = probabilities(items[i], theta);
      const Probabilities own = cases[i].own(theta);
      ASSERT_EQ(p.size(), own.size());
      for (std::size_t k = 0; k < p.size(); ++k) {
        EXPECT_NEAR(p[k], own[k], 1e-12) << source_form_name(cases[i].source.form) << " case " << i + 1
                                         << ", theta " << theta << ", p(" << k + 1 << ")";
      }
    }
  }
}

// Each item's parameters after D, the order of the converted covariance.
std::vector<double> parameters_after_d(const std::vector<Item>& items) {
  std::vector<double> values;
  for (const Item& item : items) {
    const std::size_t first = first_estimated_parameter(item.model);
    values.insert(values.end(), item.parameters.begin() + static_cast<std::ptrdiff_t>(first), item.parameters.end());
  }
  return values;
}

TEST(ConvertItems, CovarianceFollowsTheFiniteDifferenceJacobian) {
  std::vector<SourceItem> sources = all_sources();
  std::vector<double*> values;
  for (SourceItem& s : sources) {
    for (double& v : s.values) values.push_back(&v);
  }
  const std::size_t q = values.size();
  const std::size_t p = parameters_after_d(convert_items(sources)).size();
  std::vector<double> jacobian(p * q);
  for (std::size_t k = 0; k < q; ++k) {
    const double saved = *values[k];
    const double h = 1e-5 * std::fmax(1.0, std::fabs(saved));
    *values[k] = saved + h;
    const std::vector<double> up = parameters_after_d(convert_items(sources));
    *values[k] = saved - h;
    const std::vector<double> down = parameters_after_d(convert_items(sources));
    *values[k] = saved;
    for (std::size_t r = 0; r < p; ++r) jacobian[r * q + k] = (up[r] - down[r]) / (2.0 * h);
  }
  // A covariance with every pair of values, across items too, correlated: L L'.
  Covariance source{q, std::vector<double>(q * q)};
  for (std::size_t i = 0; i < q; ++i) {
    for (std::size_t j = 0; j < q; ++j) {
      double sum = 0.0;
      for (std::size_t k = 0; k <= std::min(i, j); ++k) {
        sum += std::sin(1.0 + 7.0 * static_cast<double>(i + k)) * std::sin(1.0 + 7.0 * static_cast<double>(j + k));
      }
      source.values[i * q + j] = 0.01 * sum;
    }
  }
  const ConvertedItems converted = convert_items(sources, source);
  ASSERT_EQ(converted.covariance.size, p);
  for (std::size_t r = 0; r < p; ++r) {
    for (std::size_t c = 0; c < p; ++c) {
      double expected = 0.0;
      for (std::size_t i = 0; i < q; ++i) {
        for (std::size_t j = 0; j < q; ++j) {
          expected += jacobian[r * q + i] * source.values[i * q + j] * jacobian[c * q + j];
        }
      }
      EXPECT_NEAR(converted.covariance.values[r * p + c], expected, 1e-8) << "row " << r + 1 << ", column " << c + 1;
      EXPECT_EQ(converted.covariance.values[r * p + c], converted.covariance.values[c * p + r]);
    }
  }
}

TEST(ConvertItems, RefusesWhatItCannotConvertNamingTheItem) {
  const struct {
    SourceItem source;
    const char* message;
  } bad[] = {
      {source(F::logistic_difficulty, 1.0, 3, {1.0, 0.0}), "3 category scores; a right/wrong item has 2"},
      {source(F::graded_intercept, 1.0, 4, {1.0, 0.5, 0.0}), "3 values; graded_intercept takes a and m-1"},
      {source(F::partial_credit_muraki, 1.0, 3, {1.0, 0.0, 0.5}), "or 5 values for 3 categories"},
      {source(F::nominal, 1.0, 3, {1.0, 2.0, 3.0, 4.0, 5.0}), "5 values; nominal takes"},
      {source(F::graded_intercept, 1.0, 3, {0.0, 0.5, -0.5}), "the slope a is 0"},
      {source(F::logistic_difficulty, 0.0, 2, {1.0, 0.0}), "D is 0; D must be a finite number above 0"},
      {source(F::partial_credit_steps, 1.0, 3, {1.0, NAN, 0.5}), "value 2 is nan, not a finite number"},
      {source(F::logistic_intercept, 1.0, 2, {1.0, 0.0, 1.5}), "lower asymptote c = 1.5"},  // validate_items
      {source(F::graded_difficulty, 1.0, 3, {1.0, 0.5, -0.5}), "(number 0, SL, 3 categories)"},
  };
  for (const auto& [item, message] : bad) {
    try {
      convert_items({source(F::logistic_difficulty, 1.0, 2, {1.0, 0.0}), item}, "form X");
      ADD_FAILURE() << "no error for " << message;
    } catch (const Error& e) {
      EXPECT_NE(std::string(e.what()).find(message), std::string::npos) << e.what();
      EXPECT_NE(std::string(e.what()).find("form X: item 2 (number 0"), std::string::npos) << e.what();
      EXPECT_EQ(e.diagnostic().item, 2);
    }
  }
  EXPECT_THROW(convert_items(all_sources(), Covariance{3, std::vector<double>(9)}), Error);
  SourceItem labelled = source(F::graded_intercept, 1.0, 3, {1.0, 0.5, -0.5});
  labelled.label = "R05001";
  EXPECT_EQ(convert_items({labelled}, "form X")[0].label, "R05001");
  labelled.values[0] = 0.0;
  try {
    convert_items({labelled}, "form X");
    ADD_FAILURE() << "no error";
  } catch (const Error& e) {
    EXPECT_NE(std::string(e.what()).find("item 1 (number 0, label R05001, graded_intercept): the slope"),
              std::string::npos) << e.what();
  }
}

}  // namespace
}  // namespace irteq::testing
