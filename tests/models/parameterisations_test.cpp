// The worked examples of docs/models.md: parameters as estimation programs
// print them, entered the way the document says, give the probabilities it
// prints and those of the program's own parameterisation.

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "models/bn_probabilities.hpp"
#include "models/l3_probabilities.hpp"
#include "models/mu_to_bn.hpp"
#include "models/sl_probabilities.hpp"
#include "models/sn_probabilities.hpp"

namespace irteq::testing {
namespace {

using Probabilities = std::vector<double>;

enum class Code { L3, SN, SL, BN, MU };
struct Line {  // one item's type code and parameters, as entered in the item file
  Code code;
  std::vector<double> values;
};

Probabilities irteq_probabilities(Line line, double theta) {
  const auto n = static_cast<int>(line.values.size());
  int m = 2;
  if (line.code == Code::SN) m = n;
  if (line.code == Code::SL) m = n - 1;
  if (line.code == Code::BN) m = (n - 1) / 2;
  if (line.code == Code::MU) {
    m = n - 3;
    line.values.resize(static_cast<std::size_t>(2 * m + 1));
    mu_to_bn(line.values, m);
  }
  Probabilities p(static_cast<std::size_t>(m));
  const auto& v = line.values;
  if (line.code == Code::L3) l3_probabilities(theta, v[0], v[1], v[2], v[3], p);
  if (line.code == Code::SN) sn_probabilities(m, theta, v, p);
  if (line.code == Code::SL) sl_probabilities(m, theta, v, p);
  if (line.code == Code::BN || line.code == Code::MU) bn_probabilities(m, theta, v, p);
  return p;
}

// The programs' own forms, written out independently.
double logistic(double x) { return 1.0 / (1.0 + std::exp(-x)); }
double phi(double x) { return 0.5 * std::erfc(-x / std::sqrt(2.0)); }
// Category probabilities from P(category k+1 or higher), k = 1 ... m-1; for a
// right/wrong item from P(correct).
Probabilities cumulative(const std::vector<double>& at_least) {
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
Probabilities gpcm(double theta, double a, const std::vector<double>& steps) {  // textbook form, D = 1
  std::vector<double> z{0.0};
  for (const double b : steps) z.push_back(z.back() + a * (theta - b));
  return softmax(z);
}

// The document's example items.
const double a1 = 1.36, d = -0.68, g = 0.2;                                                // 3PL, mirt
const double ga = 1.25, gd1 = 1.5, gd2 = 0.25, gd3 = -1.0;                                 // graded, mirt
const double na = 0.8, nd1 = 0.4, nd2 = -0.6;                                              // normal ogive graded
const double pa = 0.9, b1 = -1.0, b2 = 0.2, b3 = 1.1;                                      // partial credit steps
const double c2 = -pa * b1, c3 = -pa * (b1 + b2), c4 = -pa * (b1 + b2 + b3);               // intercepts from the steps
const double loc = 0.1, md1 = 1.1, md2 = -0.1, md3 = -1.0, t1 = -1.1, t2 = 0.1, t3 = 1.0;  // location forms

// The example items in each program's own form.
Probabilities own_3pl(double th) { return cumulative({g + (1 - g) * logistic(a1 * th + d)}); }
Probabilities own_graded(double th) {
  return cumulative({logistic(ga * th + gd1), logistic(ga * th + gd2), logistic(ga * th + gd3)});
}
Probabilities own_normal_graded(double th) { return cumulative({phi(na * th + nd1), phi(na * th + nd2)}); }
Probabilities own_gpcm(double th) { return gpcm(th, pa, {b1, b2, b3}); }
Probabilities own_nominal(double th) { return softmax({-1.0 * th + 0.5, 0.2 * th + 0.3, 0.8 * th - 0.8}); }

// One example item: its probabilities in the program's own form, those the
// document prints, and the lines the document enters for it.
struct Example {
  const char* name;
  Probabilities (*own)(double theta);
  double tolerance;  // irteq against the own form: 2e-7 where normal_cdf's approximation enters
  Probabilities at_minus_1, at_plus_1;
  std::vector<Line> lines;
};

const std::vector<Example> examples{
    {"3PL",
     own_3pl,
     1e-12,
     {0.707947, 0.292053},
     {0.269009, 0.730991},
     {{Code::L3, {1.0, a1, -d / a1, g}},   // slope/intercept, logistic metric
      {Code::L3, {1.7, 0.8, 0.5, 0.2}}}},  // normal metric
    {"graded logistic",
     own_graded,
     1e-12,
     {0.437823, 0.293235, 0.173592, 0.095349},
     {0.060087, 0.122339, 0.255398, 0.562177},
     {{Code::SL, {1.0, ga, -gd1 / ga, -gd2 / ga, -gd3 / ga}}}},
    {"graded normal ogive",
     own_normal_graded,
     2e-7,
     {0.655422, 0.263822, 0.080757},
     {0.115070, 0.305671, 0.579260},
     {{Code::SN, {na, -nd1 / na, -nd2 / na}}}},
    {"generalized partial credit",
     own_gpcm,
     1e-12,
     {0.418253, 0.418253, 0.142037, 0.021458},
     {0.032428, 0.196181, 0.403040, 0.368351},
     {{Code::MU, {1.0, pa, 0.0, 0.0, -b1, -b2, -b3}},                 // steps
      {Code::MU, {1.0, pa, loc, 0.0, md1, md2, md3}},                 // b - d(v)
      {Code::MU, {1.0, pa, loc, 0.0, -t1, -t2, -t3}},                 // b + t(v)
      {Code::BN, {1.0, 0, pa, 2 * pa, 3 * pa, 0, 0.9, 0.72, -0.27}},  // slope/intercept
      {Code::BN, {1.0, 0, pa, 2 * pa, 3 * pa, 0, c2, c3, c4}}}},
    {"nominal",
     own_nominal,
     1e-12,
     {0.774206, 0.190917, 0.034877},
     {0.186324, 0.506480, 0.307196},
     {{Code::BN, {1.0, -1.0, 0.2, 0.8, 0.5, 0.3, -0.8}},  // zero sums
      {Code::BN, {1.0, 0, 1.2, 1.8, 0, -0.2, -1.3}}}},    // first category zero
};

TEST(Parameterisations, WorkedExamplesGiveTheDocumentedProbabilities) {
  for (const Example& e : examples) {
    for (std::size_t i = 0; i < e.lines.size(); ++i) {
      for (const double theta : {-1.0, 1.0}) {
        const Probabilities p = irteq_probabilities(e.lines[i], theta);
        const Probabilities own = e.own(theta);
        const Probabilities& printed = theta < 0 ? e.at_minus_1 : e.at_plus_1;
        ASSERT_TRUE(p.size() == printed.size() && own.size() == printed.size()) << e.name << " line " << i + 1;
        for (std::size_t k = 0; k < p.size(); ++k) {
          const auto where = ::testing::Message()
                             << e.name << " line " << i + 1 << ", theta " << theta << ", p(" << k + 1 << ")";
          EXPECT_NEAR(p[k], printed[k], 5e-7) << where;
          EXPECT_NEAR(p[k], own[k], e.tolerance) << where;
        }
      }
    }
  }
}

}  // namespace
}  // namespace irteq::testing
