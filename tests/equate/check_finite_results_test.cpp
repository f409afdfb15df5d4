#include "equate/check_finite_results.hpp"

#include <gtest/gtest.h>

#include <limits>
#include <string>

#include "irteq/error.hpp"

namespace irteq {
namespace {

constexpr double nan = std::numeric_limits<double>::quiet_NaN();

EquatingResult finite_result() {
  const std::vector<double> third(3, 1.0 / 3.0);
  const std::vector<double> raw{-1, 0, 1};
  EquatingResult result;
  result.x = {raw, third, third, third, false};
  result.y = result.x;
  result.true_score = {raw, std::vector<ThetaKind>(3, ThetaKind::searched), raw, raw, raw};
  result.observed_score = {raw, raw, raw};
  return result;
}

const InputNames names{"x.par", "y.par", "g1.qd", "g2.qd", "y.scl"};

std::string message_of(void (*check)(const EquatingResult&, const InputNames&), const EquatingResult& result) {
  try {
    check(result, names);
  } catch (const Error& error) {
    EXPECT_EQ(error.diagnostic().code, ErrorCode::not_finite);
    return error.what();
  }
  return "";
}

TEST(CheckFiniteResults, NamesTheFirstResultThatIsNotAFiniteNumber) {
  EquatingResult result = finite_result();
  EXPECT_EQ(message_of(check_distributions_are_finite, result), "");
  EXPECT_EQ(message_of(check_equivalents_are_finite, result), "");

  result.x.group2[1] = nan;  // raw score 0
  EXPECT_EQ(message_of(check_distributions_are_finite, result),
            "form X's distribution in group 2 is not a finite number at raw score 0; the item parameters of x.par "
            "or the quadrature points of g2.qd are beyond what the models can evaluate");

  result = finite_result();
  result.observed_score.scale[0] = std::numeric_limits<double>::infinity();  // raw score -1
  EXPECT_EQ(message_of(check_equivalents_are_finite, result),
            "the scale score of the observed score equivalent of form X raw score -1 is not a finite number; check "
            "the raw-to-scale table y.scl");
}

}  // namespace
}  // namespace irteq
