// The worked examples of docs/models.md: parameters as estimation programs
// print them, entered the way the document says, give the probabilities it
// prints and those of the program's own parameterisation.

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <vector>

#include "models/bn_probabilities.hpp"
#include "models/l3_probabilities.hpp"
#include "models/mu_to_bn.hpp"
#include "models/sl_probabilities.hpp"
#include "models/sn_probabilities.hpp"

namespace irteq::testing {
namespace {

using Probabilities = std::vector<double>;
using Model = std::function<Probabilities(double theta)>;

// irteq's routines, fed one item line.
Probabilities l3(double theta, std::vector<double> v) {
  Probabilities p(2);
  l3_probabilities(theta, v[0], v[1], v[2], v[3], p);
  return p;
}
Probabilities graded(void (*model)(int, double, std::span<const double>, std::span<double>), int m, double theta,
                     const std::vector<double>& v) {
  Probabilities p(static_cast<std::size_t>(m));
  model(m, theta, v, p);
  return p;
}
Probabilities bn(double theta, const std::vector<double>& v) {
  const int m = static_cast<int>(v.size() - 1) / 2;
  return graded(bn_probabilities, m, theta, v);
}
Probabilities mu(double theta, std::vector<double> v) {
  const int m = static_cast<int>(v.size()) - 3;
  v.resize(static_cast<std::size_t>(2 * m + 1));
  mu_to_bn(v, m);
  return bn(theta, v);
}

// The programs' own forms, written out independently.
double logistic(double x) { return 1.0 / (1.0 + std::exp(-x)); }
double phi(double x) { return 0.5 * std::erfc(-x / std::sqrt(2.0)); }
Probabilities cumulative(const std::vector<double>& at_least) {  // P(category k+1 or higher), k = 1 ... m-1
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
const double a1 = 1.36, d = -0.68, g = 0.2;                                          // 3PL, mirt
const double ga = 1.25, gd1 = 1.5, gd2 = 0.25, gd3 = -1.0;                            // graded, mirt
const double na = 0.8, nd1 = 0.4, nd2 = -0.6;                                         // normal ogive graded
const double pa = 0.9, b1 = -1.0, b2 = 0.2, b3 = 1.1;                                 // partial credit steps
const double loc = 0.1, md1 = 1.1, md2 = -0.1, md3 = -1.0, t1 = -1.1, t2 = 0.1, t3 = 1.0;  // location forms

struct Example {
  const char* name;
  Model irteq;        // the line the document enters
  Model own;          // the program's parameterisation
  double tolerance;   // between the two
  Probabilities at_minus_1, at_plus_1;  // as the document prints them
};

const Probabilities gpcm_minus_1{0.418253, 0.418253, 0.142037, 0.021458};
const Probabilities gpcm_plus_1{0.032428, 0.196181, 0.403040, 0.368351};
const Model gpcm_own = [](double th) { return gpcm(th, pa, {b1, b2, b3}); };

const std::vector<Example> examples{
    {"3PL slope/intercept, D = 1", [](double th) { return l3(th, {1.0, a1, -d / a1, g}); },
     [](double th) { return cumulative({g + (1 - g) * logistic(a1 * th + d)}); }, 1e-12, {0.707947, 0.292053},
     {0.269009, 0.730991}},
    {"3PL normal metric, D = 1.7", [](double th) { return l3(th, {1.7, 0.8, 0.5, 0.2}); },
     [](double th) { return cumulative({g + (1 - g) * logistic(a1 * th + d)}); }, 1e-12, {0.707947, 0.292053},
     {0.269009, 0.730991}},
    {"graded logistic", [](double th) { return graded(sl_probabilities, 4, th, {1.0, ga, -gd1 / ga, -gd2 / ga, -gd3 / ga}); },
     [](double th) { return cumulative({logistic(ga * th + gd1), logistic(ga * th + gd2), logistic(ga * th + gd3)}); },
     1e-12, {0.437823, 0.293235, 0.173592, 0.095349}, {0.060087, 0.122339, 0.255398, 0.562177}},
    {"graded normal ogive", [](double th) { return graded(sn_probabilities, 3, th, {na, -nd1 / na, -nd2 / na}); },
     [](double th) { return cumulative({phi(na * th + nd1), phi(na * th + nd2)}); }, 3e-7,
     {0.655422, 0.263822, 0.080757}, {0.115070, 0.305671, 0.579260}},
    {"GPCM steps", [](double th) { return mu(th, {1.0, pa, 0.0, 0.0, -b1, -b2, -b3}); }, gpcm_own, 1e-12,
     gpcm_minus_1, gpcm_plus_1},
    {"GPCM location - deviation", [](double th) { return mu(th, {1.0, pa, loc, 0.0, md1, md2, md3}); }, gpcm_own,
     1e-12, gpcm_minus_1, gpcm_plus_1},
    {"GPCM location + threshold", [](double th) { return mu(th, {1.0, pa, loc, 0.0, -t1, -t2, -t3}); }, gpcm_own,
     1e-12, gpcm_minus_1, gpcm_plus_1},
    {"GPCM slope/intercept as BN", [](double th) { return bn(th, {1.0, 0, pa, 2 * pa, 3 * pa, 0, 0.9, 0.72, -0.27}); },
     gpcm_own, 1e-12, gpcm_minus_1, gpcm_plus_1},
    {"GPCM steps as BN",
     [](double th) { return bn(th, {1.0, 0, pa, 2 * pa, 3 * pa, 0, -pa * b1, -pa * (b1 + b2), -pa * (b1 + b2 + b3)}); },
     gpcm_own, 1e-12, gpcm_minus_1, gpcm_plus_1},
    {"nominal, zero sums", [](double th) { return bn(th, {1.0, -1.0, 0.2, 0.8, 0.5, 0.3, -0.8}); },
     [](double th) { return softmax({-1.0 * th + 0.5, 0.2 * th + 0.3, 0.8 * th - 0.8}); }, 1e-12,
     {0.774206, 0.190917, 0.034877}, {0.186324, 0.506480, 0.307196}},
    {"nominal, first category zero", [](double th) { return bn(th, {1.0, 0, 1.2, 1.8, 0, -0.2, -1.3}); },
     [](double th) { return softmax({-1.0 * th + 0.5, 0.2 * th + 0.3, 0.8 * th - 0.8}); }, 1e-12,
     {0.774206, 0.190917, 0.034877}, {0.186324, 0.506480, 0.307196}},
};

TEST(Parameterisations, WorkedExamplesGiveTheDocumentedProbabilities) {
  for (const Example& e : examples) {
    for (const double theta : {-1.0, 1.0}) {
      const Probabilities p = e.irteq(theta);
      const Probabilities own = e.own(theta);
      const Probabilities& printed = theta < 0 ? e.at_minus_1 : e.at_plus_1;
      ASSERT_EQ(p.size(), printed.size()) << e.name;
      ASSERT_EQ(p.size(), own.size()) << e.name;
      for (std::size_t k = 0; k < p.size(); ++k) {
        EXPECT_NEAR(p[k], printed[k], 5e-7) << e.name << ", theta " << theta << ", category " << k + 1;
        EXPECT_NEAR(p[k], own[k], e.tolerance) << e.name << ", theta " << theta << ", category " << k + 1;
      }
    }
  }
}

}  // namespace
}  // namespace irteq::testing
