// Every model of the table through the stages that ask it what a model is:
// its code, its parameters' names and count, the readers and writers of item
// parameter and covariance files, the checks, and the linking's
// transformation (probabilities at A theta + B unchanged). The delta method
// walks every model too (standard_errors_test.cpp).
#include "models/item_model_facts.hpp"

#include <gtest/gtest.h>

#include <array>
#include <sstream>
#include <string>

#include "irteq/files.hpp"
#include "irteq/linking.hpp"
#include "irteq/models.hpp"
#include "irteq/validate.hpp"
#include "support/model_examples.hpp"

namespace irteq::testing {
namespace {

TEST(ItemModels, EveryModelPassesEveryStage) {
  for (const ItemModelFacts& facts : item_model_table) {
    SCOPED_TRACE(std::string(facts.code));
    EXPECT_EQ(item_model(item_code(facts.model)), facts.model);
    const std::vector<Item> items = model_examples(facts.model);
    ASSERT_FALSE(items.empty());
    validate_items(items, "examples");
    std::size_t estimated = 0;
    for (const Item& item : items) {
      const auto m = static_cast<int>(item.category_scores.size());
      EXPECT_EQ(parameter_names(item.model, m).size(), item.parameters.size());
      EXPECT_EQ(estimated_parameter_names(item.model, m).size(), estimated_parameter_count(item));
      estimated += estimated_parameter_count(item);
    }

    // Files read back to the very items and covariance.
    std::stringstream item_file;
    write_items(items, item_file, "examples");
    const std::vector<Item> read = read_items(item_file, "examples");
    for (std::size_t i = 0; i < items.size(); ++i) EXPECT_EQ(read[i].parameters, items[i].parameters);
    Covariance covariance{estimated, std::vector<double>(estimated * estimated, 0.0)};
    // A covariance off the diagonal, and the first parameter held fixed (a zero variance).
    for (std::size_t k = 1; k < estimated; ++k) covariance.values[k * estimated + k] = 0.001 * static_cast<double>(k);
    covariance.values[estimated + 2] = covariance.values[2 * estimated + 1] = 0.0002;
    std::stringstream covariance_file;
    write_covariance(covariance, items, covariance_file, "examples");
    EXPECT_EQ(read_covariance(covariance_file, "examples", items).values, covariance.values);

    // Linking moves the items with the scale: the same probabilities at A theta + B.
    const std::vector<Item> moved = transform_items(items, 0.8, 0.6);
    for (const double theta : {-2.5, -0.3, 1.7}) {
      const std::vector<double> p = probabilities(items, std::array{theta});
      const std::vector<double> q = probabilities(moved, std::array{0.8 * theta + 0.6});
      for (std::size_t c = 0; c < p.size(); ++c) EXPECT_NEAR(q[c], p[c], 1e-13) << "theta " << theta;
    }
  }
}

}  // namespace
}  // namespace irteq::testing
