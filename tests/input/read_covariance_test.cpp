#include <gtest/gtest.h>

#include <bit>
#include <cstdint>
#include <filesystem>
#include <sstream>
#include <string>
#include <utility>
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

Covariance read_text(const std::string& text) {
  std::istringstream in(text);
  return read_covariance(in, "x.cov", form);
}

// Every free-format spelling of the good matrix reads to the very same bits.
TEST(ReadCovariance, ReadsEverySpellingToTheSameDoubles) {
  const std::vector<double> expected = {0.01, 0.002, 0, 0,     0,     0,     0.002, 0.02, 0, 0,     0,     0,
                                        0,    0,     0, 0,     0,     0,     0,     0,    0, 0.03,  0.001, 0,
                                        0,    0,     0, 0.001, 0.04,  0.002, 0,     0,    0, 0,     0.002, 0.05};
  struct Case {
    const char* what;
    std::string text;
  };
  std::vector<Case> cases;
  const auto with_row = [](std::size_t row, const std::string& text) {
    auto rows = good;
    rows[row] = text;
    return matrix(rows);
  };
  cases.push_back({"as written", matrix(good)});
  cases.push_back({"commas, tabs and blanks", with_row(0, "0.01,0.002\t0 , 0\t,0 0")});
  cases.push_back({"a repeat count", with_row(2, "6*0")});
  cases.push_back({"a row over two lines with an empty line between", with_row(1, "0.002 0.02 0\n\n0 0 0")});
  cases.push_back({"a comment after the values", with_row(3, "0 0 0 0.03 0.001 0 is row 4, 6 values")});
  cases.push_back({"a slash after the values", with_row(3, "0 0 0 0.03 0.001 0/ 7 8")});
  cases.push_back({"exponents, signs and points", with_row(0, "1e-2 2D-3 +0 0. .0 0E+00")});
  cases.push_back(
      {"more digits than a double holds", with_row(0, "0.010000000000000000208 2.0000000000000000416e-3 0 0 0 0")});
  cases.push_back({"CR LF line ends", with_row(4, "0 0 0 0.001 0.04 0.002\r")});
  std::string no_end = matrix(good);
  no_end.pop_back();
  cases.push_back({"no line end after the last row", no_end});
  // Lines of 4092 to 4097 characters, about the size the reader takes a line in.
  auto padded = good;
  for (std::size_t row = 0; row < padded.size(); ++row) {
    padded[row] = std::string(4092 + row - padded[row].size(), ' ') + padded[row];
  }
  cases.push_back({"long lines", matrix(padded)});
  cases.push_back({"a guessing probability line", "covariance\n  guessing probability\n" + matrix(good).substr(11)});
  for (const Case& c : cases) {
    const Covariance covariance = read_text(c.text);
    EXPECT_EQ(covariance.guessing, GuessingMetric::probability) << c.what;
    ASSERT_EQ(covariance.values.size(), expected.size()) << c.what;
    for (std::size_t i = 0; i < expected.size(); ++i) {
      EXPECT_EQ(std::bit_cast<std::uint64_t>(covariance.values[i]), std::bit_cast<std::uint64_t>(expected[i]))
          << c.what << ", value " << i;
    }
  }
}

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
  // Malformed values, named as the free-format reader names them.
  const std::pair<std::string, std::string> values[] = {
      {"abc", "x.cov line 2: expected a number, found 'abc'"},
      {"'0'", "x.cov line 2: expected a number, found '0'"},
      {"'0'x", "x.cov line 2: expected a separator after '0'"},
      {"\"0", "x.cov line 2: missing closing quote \""},
      {"1d400", "x.cov line 2: number out of range: '1d400'"},
      {"0*0", "x.cov line 2: bad repeat count in '0*0'"},
      {"0,5", "x.cov line 2: row 1 (item 1, number 4, a) has 1 more number than the 6 columns"},
      {std::string(50, '5') + "e", "x.cov line 2: expected a number, found '" + std::string(40, '5') +
                                        "...' (51 characters)"},
  };
  for (const auto& [value, message] : values) {
    rows = good;
    rows[0] = "0.01 0.002 0 0 0 " + value;
    cases.push_back({rows, message});
  }
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

// A "guessing logit" line after the title marks the metric, and write_covariance writes it back.
TEST(ReadCovariance, ReadsAndWritesTheGuessingMetric) {
  const Covariance logit = read_text("covariance\nguessing logit\n" + matrix(good).substr(11));
  EXPECT_EQ(logit.guessing, GuessingMetric::logit);
  std::ostringstream out;
  write_covariance(logit, form, out, "again");
  const Covariance again = read_text(out.str());
  EXPECT_EQ(again.guessing, GuessingMetric::logit);
  EXPECT_EQ(again.values, logit.values);
  for (const char* line : {"guessing logits", "guessing logit c"}) {
    SCOPED_TRACE(line);
    try {
      read_text("covariance\n" + std::string(line) + "\n" + matrix(good).substr(11));
      ADD_FAILURE() << "no error";
    } catch (const Error& error) {
      const std::string expected = "x.cov line 2: the guessing line must read \"guessing logit\"";
      EXPECT_EQ(std::string(error.what()).substr(0, expected.size()), expected);
    }
  }
}

// equateIRT's est2pl: 20 "L3" items with c fixed, 60 x 60, dense.
TEST(ReadCovariance, ReadsThePublishedEst2plMatrices) {
  const std::filesystem::path folder = std::filesystem::path(IRTEQ_VALIDATION_DIR) / "est2pl";
  for (const char* name : {"formx", "formy"}) {
    const std::vector<Item> items = read_items(folder / (std::string(name) + ".par"));
    const Covariance covariance = read_covariance(folder / (std::string(name) + ".cov"), items);
    EXPECT_EQ(covariance.size, 60u);
  }
}

}  // namespace
}  // namespace irteq::testing
