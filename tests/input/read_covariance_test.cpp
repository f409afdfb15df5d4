#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "irteq/error.hpp"
#include "irteq/files.hpp"

namespace irteq::testing {
namespace {

// An "L3" item (a, b, c) and a three-category "SN" item (a, b(1), b(2)): P = 6.
const std::vector<Item> form = {{4, ItemModel::l3, {0, 1}, {1.7, 1.0, 0.0, 0.2}},
                                {9, ItemModel::sn, {0, 1, 2}, {0.9, -1.0, 0.5}}};

std::string matrix(std::vector<std::string> rows) {
  std::string text = "covariance\n";
  for (const std::string& row : rows) text += row + "\n";
  return text;
}

const std::vector<std::string> good = {"0.01 0.002 0 0 0 0", "0.002 0.02 0 0 0 0", "0 0 0 0 0 0",
                                       "0 0 0 0.03 0.001 0", "0 0 0 0.001 0.04 0.002", "0 0 0 0 0.002 0.05"};

TEST(ReadCovariance, NamesTheRowAndColumnOfEachFault) {
  struct Case {
    std::vector<std::string> rows;
    std::string message;
  };
  std::vector<Case> cases;
  auto rows = good;
  rows.pop_back();
  cases.push_back({rows, "x.cov line 6: end of file in row 6 (item 2, number 9, b(2)) at column 1 (item 1, number 4, a)"});
  rows = good;
  rows[1] += " 0";
  cases.push_back({rows, "x.cov line 3: row 2 (item 1, number 4, b) has 1 more number than the 6 columns"});
  rows = good;
  rows.push_back("0 0 0 0 0 0");
  cases.push_back({rows, "x.cov line 8: numbers after the 6 rows of the form's parameters without D"});
  rows = good;
  rows[4] = "0 0 0 0.001 -0.04 0.002";
  cases.push_back({rows, "x.cov line 6: row 5 (item 2, number 9, b(1)): the variance -0.04 must be a finite number"});
  rows = good;
  rows[3] = "0 0 0 0.03 0.0011 0";
  cases.push_back({rows, "x.cov line 6: row 5 (item 2, number 9, b(1)), column 4 (item 2, number 9, a): 0.001, but "
                         "row 4 (item 2, number 9, a) holds 0.0011 in its column; a covariance matrix is symmetric"});
  for (const Case& c : cases) {
    SCOPED_TRACE(c.message);
    std::istringstream in(matrix(c.rows));
    try {
      read_covariance(in, "x.cov", form);
      ADD_FAILURE() << "no error";
    } catch (const Error& error) {
      EXPECT_EQ(std::string(error.what()).substr(0, c.message.size()), c.message);
    }
  }
}

// equateIRT's est2pl: 20 "L3" items with c fixed, 60 x 60, dense.
TEST(ReadCovariance, ReadsThePublishedEst2plMatrices) {
  const std::filesystem::path folder = std::filesystem::path(IRTEQ_CASES_DIR) / ".." / "se" / "est2pl";
  if (!std::filesystem::exists(folder / "formx.cov")) {
    if (IRTEQ_REQUIRE_CASES) FAIL() << "no est2pl at " << folder;
    GTEST_SKIP() << "no est2pl at " << folder;
  }
  for (const char* name : {"formx", "formy"}) {
    const std::vector<Item> items = read_items(folder / (std::string(name) + ".par"));
    const Covariance covariance = read_covariance(folder / (std::string(name) + ".cov"), items);
    EXPECT_EQ(covariance.size, 60u);
  }
}

}  // namespace
}  // namespace irteq::testing
