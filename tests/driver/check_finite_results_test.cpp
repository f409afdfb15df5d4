#include "driver/check_finite_results.hpp"

#include <gtest/gtest.h>

#include <limits>
#include <memory>
#include <string>

#include "common/run_error.hpp"

namespace irteq {
namespace {

constexpr double nan = std::numeric_limits<double>::quiet_NaN();

std::unique_ptr<RunData> finite_run() {
  auto run = std::make_unique<RunData>();
  run->file_names = {"r.txt", "y.par", "g2.qd", "y.scl", "x.par", "g1.qd"};
  for (ScoreDistribution* d : {&run->y_group1, &run->y_group2, &run->y_synthetic, &run->x_group1, &run->x_group2,
                               &run->x_synthetic}) {
    d->point_count = 3;
    for (int i = 0; i < 3; ++i) {
      d->raw_scores[static_cast<std::size_t>(i)] = i - 1;
      d->probabilities[static_cast<std::size_t>(i)] = 1.0 / 3.0;
    }
  }
  return run;
}

std::string message_of(void (*check)(const RunData&), const RunData& run) {
  try {
    check(run);
  } catch (const RunError& error) {
    return error.what();
  }
  return "";
}

TEST(CheckFiniteResults, NamesTheFirstResultThatIsNotAFiniteNumber) {
  auto run = finite_run();
  EXPECT_EQ(message_of(check_distributions_are_finite, *run), "");
  EXPECT_EQ(message_of(check_equivalents_are_finite, *run), "");

  run->x_group2.probabilities[1] = nan;  // raw score 0
  EXPECT_EQ(message_of(check_distributions_are_finite, *run),
            "form X's distribution in group 2 is not a finite number at raw score 0; the item parameters of x.par "
            "or the quadrature points of g2.qd are beyond what the models can evaluate");

  run = finite_run();
  run->observed_scale[0] = std::numeric_limits<double>::infinity();  // raw score -1
  EXPECT_EQ(message_of(check_equivalents_are_finite, *run),
            "the scale score of the observed score equivalent of form X raw score -1 is not a finite number; check "
            "the raw-to-scale table y.scl");
}

}  // namespace
}  // namespace irteq
