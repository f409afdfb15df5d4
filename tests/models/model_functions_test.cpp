// The public model functions are equate()'s own arithmetic: the true score
// equivalents are form Y's curve at the root abilities, to the last bit.

#include <gtest/gtest.h>

#include <filesystem>
#include <vector>

#include "irteq/irteq.hpp"
#include "models/category_probabilities.hpp"
#include "models/prepare_items.hpp"
#include "support/item_builders.hpp"

namespace irteq::testing {
namespace {

const std::filesystem::path example = std::filesystem::path(IRTEQ_SOURCE_DIR) / "examples" / "spring-grade7";

TEST(ModelFunctions, TrueScoreEquivalentsAreFormYsCurveAtTheRootAbilities) {
  const EquatingInput input = read_control_file(example / "control.txt");
  const EquatingResult result = equate(input);
  std::vector<double> thetas, equivalents;
  for (std::size_t i = 0; i < result.true_score.thetas.size(); ++i) {
    if (result.true_score.theta_kinds[i] != ThetaKind::searched) continue;
    thetas.push_back(result.true_score.thetas[i]);
    equivalents.push_back(result.true_score.equivalents[i]);
  }
  ASSERT_GT(thetas.size(), 10u);
  EXPECT_EQ(test_characteristic_curve(input.items_y, thetas), equivalents);  // exact, not near
}

TEST(ModelFunctions, ItemsAreEvaluatedAsPreparedAndScoredInCategoryOrder) {
  const EquatingInput input = read_control_file(example / "control.txt");
  for (const std::vector<Item>* form : {&input.items_x, &input.items_y}) {
    const std::vector<Item> prepared = prepare_items(*form);
    for (std::size_t i = 0; i < form->size(); ++i) {
      const Item& item = (*form)[i];
      for (const double theta : {-2.5, 0.3, 1.75}) {
        std::vector<double> p(item.category_scores.size());
        category_probabilities(prepared[i], theta, p);
        EXPECT_EQ(probabilities(item, theta), p) << "item " << i + 1;
        double score = 0.0;
        for (std::size_t k = 0; k < p.size(); ++k) score += static_cast<double>(item.category_scores[k]) * p[k];
        EXPECT_EQ(expected_score(item, theta), score) << "item " << i + 1;
      }
    }
  }
}

TEST(ModelFunctions, RefuseWhatEquateRefusesNamingTheInput) {
  const Item bad = l3_item(1.7, 1.0, 0.0, 1.5);
  try {
    probabilities(bad, 0.0, "my item");
    FAIL() << "no error";
  } catch (const Error& e) {
    EXPECT_EQ(e.diagnostic().code, ErrorCode::invalid_input);
    EXPECT_NE(std::string(e.what()).find("my item: item 1"), std::string::npos) << e.what();
  }
  EXPECT_THROW(expected_score(bad, 0.0), Error);
  const std::vector<double> thetas{0.0};
  EXPECT_THROW(test_characteristic_curve({}, thetas), Error);
}

}  // namespace
}  // namespace irteq::testing
