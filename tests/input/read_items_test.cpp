#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "irteq/error.hpp"
#include "irteq/files.hpp"
#include "irteq/limits.hpp"
#include "support/binary_run.hpp"
#include "support/reader_echo.hpp"

namespace irteq::testing {
namespace {

const std::string title79(const std::string& title) { return title + std::string(79 - title.size(), ' '); }

std::vector<Item> read(const std::string& content, std::string& echo) {
  return read_with_echo(content, echo,
                        [](std::istream& in, const ReadOptions& options) { return read_items(in, "f.par", options); });
}

std::string error_of(const std::string& content) {
  return read_error(content, [](std::istream& in, const ReadOptions& options) { return read_items(in, "f.par", options); });
}

TEST(ReadItems, EchoesTheFileAsRead) {
  std::string echo;
  const std::vector<Item> items = read(
      "1 Form Y item parameters\n"
      "1 L3 2\n0 1\n1.7 1.1 -0.5 0.2\n"
      "2 SN 3\n0 1 2\n0.9 -1.0 0.5\n",
      echo);
  EXPECT_EQ(echo, crlf("\n1" + title79(" Form Y item parameters") +
                       "\n"
                       "    1  L3    2\n"
                       "            0           1\n"
                       "  1.700000  1.100000 -0.500000  0.200000\n"
                       "    2  SN    3\n"
                       "            0           1           2\n"
                       "  0.900000 -1.000000  0.500000\n"));
  ASSERT_EQ(items.size(), 2u);
  EXPECT_EQ(items[1].model, ItemModel::sn);
  EXPECT_EQ(items[1].category_scores, (std::vector<int>{0, 1, 2}));
  EXPECT_EQ(items[0].parameters, (std::vector<double>{1.7, 1.1, -0.5, 0.2}));
}

TEST(ReadItems, KeepsMuItemsAsRead) {
  std::string echo;
  const std::vector<Item> items = read(" Title\n7 MU 3\n0 1 2\n1.7 1 0.5 0 0.8 -0.8\n", echo);
  EXPECT_NE(echo.find(crlf("    7  MU    3\n            0           1           2\n"
                           "  1.700000  1.000000  0.500000  0.000000  0.800000 -0.800000\n")),
            std::string::npos);
  EXPECT_EQ(items[0].model, ItemModel::mu);
  EXPECT_EQ(items[0].number, 7);
  EXPECT_EQ(items[0].parameters, (std::vector<double>{1.7, 1, 0.5, 0, 0.8, -0.8}));
}

TEST(ReadItems, EchoesEightParametersPerLineAndTakesTitleColumns) {
  std::string content = " blank digit column\n1 SN 20\n";
  for (int k = 0; k < 20; ++k) content += std::to_string(k) + " ";
  content += "\n1.0";
  for (int k = 1; k < 20; ++k) content.append(" ").append(std::to_string(-2.0 + 0.2 * k));
  content += " comment words\n3 L3\n";  // a header cut short by the end of the file is dropped
  std::string echo;
  EXPECT_EQ(read(content, echo).size(), 1u);
  EXPECT_NE(echo.find(crlf(std::string("\n0") + title79("blank digit column") + "\n")), std::string::npos);
  const std::size_t first = echo.find("  1.000000");
  ASSERT_NE(first, std::string::npos);
  EXPECT_EQ(echo.substr(first).size(), 20u * 10 + 3 * 2) << "three lines of 8, 8 and 4 values";
}

TEST(ReadItems, StopsOnAnUnknownTypeCodeAfterEchoingTheItem) {
  std::string echo;
  try {
    read(" T\n1 L3 2\n0 1\n1 1 0 0\n3 XX 2\n0 1\n1 2 3\n", echo);
    ADD_FAILURE() << "the code XX was accepted";
  } catch (const Error& error) {
    EXPECT_EQ(error.diagnostic().code, ErrorCode::unknown_item_type);
    EXPECT_EQ(error.diagnostic().item, 2);
    EXPECT_EQ(error.diagnostic().line, 5);
  }
  const std::string tail = crlf("    3  XX    2\n            0           1\nbad item type read in: XX\n");
  ASSERT_GE(echo.size(), tail.size());
  EXPECT_EQ(echo.substr(echo.size() - tail.size()), tail);
}

TEST(ReadItems, RejectsItemsThatCannotBeEquated) {
  struct Case {
    const char* content;
    const char* message;
  } const cases[] = {
      {" T\n", "f.par: the file holds no items"},
      {" T\n5 L3 3\n0 1 2\n1 1 0 0\n", "f.par line 2: item 1 (number 5, L3, 3 categories): an \"L3\" item has 2 categories, not 3"},
      {" T\n5 SN 0\n", "f.par line 2: item 1 (number 5, SN, 0 categories): 0 categories; an item has 1 to 120"},
      {" T\n5 SN 121\n", "f.par line 2: item 1 (number 5, SN, 121 categories): 121 categories; an item has 1 to 120"},
      {" T\n5 SN 3\n1 0 2\n1 0 1\n", "f.par line 3: item 1 (number 5, SN, 3 categories): the first category score must be the lowest and the last the highest"},
      {" T\n5 SN 3\n0 2 1\n1 0 1\n", "f.par line 3: item 1 (number 5, SN, 3 categories): the first category score must be the lowest and the last the highest"},
      {" T\n5 BN 61\n61*0\n", "f.par line 2: item 1 (number 5, BN, 61 categories): 123 parameter values; an item holds at most 121 (60 categories for \"BN\" items)"},
      {" T\n5 L3 2\n0 1\n1.7 1 0 -0.01\n", "f.par line 4: item 1 (number 5, L3, 2 categories): the lower asymptote c = -0.01 must lie between 0 and 1"},
      {" T\n5 L3 2\n0 1\n1.7 1 0 1.5\n", "f.par line 4: item 1 (number 5, L3, 2 categories): the lower asymptote c = 1.5 must lie between 0 and 1"},
      {" T\n5 SN 4\n0 1 2 3\n0.9 -1 1 0.5\n", "f.par line 4: item 1 (number 5, SN, 4 categories): the thresholds b(2) = 1 and b(3) = 0.5 give category 3 a negative probability; with a positive slope they must not decrease"},
      {" T\n5 SL 3\n0 1 2\n1.7 -1 -1 1\n", "f.par line 4: item 1 (number 5, SL, 3 categories): the thresholds b(1) = -1 and b(2) = 1 give category 2 a negative probability; with a negative slope they must not increase"},
      {" T\n5 SN 3\n0 1\n", "f.par line 3: item 1 (number 5, SN, 3 categories): category scores: the file ends before all 3 were read"},
      {" T\n5 L3 2\n0 1\n1 1 0\n", "f.par line 4: item 1 (number 5, L3, 2 categories): parameters: the file ends before all 4 were read"},
      {" T\n5 L3 2\n0 1\n1 1 x 0\n", "f.par line 4: item 1 (number 5, L3, 2 categories): parameters: expected a number, found 'x'"},
      {"x title\n", "f.par line 1: column 1 must hold a digit or a blank, found 'x'"},
      {"", "f.par line 1: end of file where the title line was expected"},
  };
  for (const Case& c : cases) EXPECT_EQ(error_of(c.content), c.message) << c.content;
}

// A failure at an item's start names the item before, with what it took; an
// item whose header line holds more numbers gets the layout.
TEST(ReadItems, NamesTheLikelyCauseOfAFailureAtAnItemsStart) {
  const std::string sn3 = " T\n1 SN 3\n0 1 2\n0.9 -1 0.5\n";
  const std::string before =
      "; likely cause: the item before, item 1 (number 1, SN, 3 categories), took the category scores 0 1 2 and the "
      "parameters 0.9 -1 0.5 (lines 2 to 4): are its categories and values as many as its header says?";
  const std::string layout =
      "; the header's line holds more numbers: each item is three reads, each starting on a new line: header; "
      "category scores; parameters";
  struct Case {
    std::string content;
    std::string message;
  } const cases[] = {
      {sn3 + "0.7\n2 L3 2\n", "f.par line 5: item 2: number, type code and categories: expected an integer, found '0.7'" + before},
      {sn3 + "1 0 -1\n", "f.par line 5: item 2 (number 1, 0 , -1 categories): -1 categories; an item has 1 to 120" + before},
      {sn3 + "0 1 2\n0.9 -1 0.5\n", "f.par line 6: item 2 (number 0, 1 , 2 categories): category scores: expected an integer, found '0.9'" + before},
      {sn3 + "2 XX 2\n0 1\n", "f.par line 5: item 2 (number 2, XX, 2 categories): unknown item type code 'XX'; the codes are L3, SN, SL, BN and MU"},
      {" T\n1.5 SN 3\n", "f.par line 2: item 1: number, type code and categories: expected an integer, found '1.5'"},
      {" T\n1 L3 2 0 1 1.7 1 0 0.2\n2 L3 2 0 1 1.7 1 0 0.2\n", "f.par line 3: item 1 (number 1, L3, 2 categories): category scores: expected an integer, found 'L3'" + layout},
      {sn3 + "2 L3 2 0 1 1.7 1 0 0.2\n3 L3 2\n", "f.par line 6: item 2 (number 2, L3, 2 categories): category scores: expected an integer, found 'L3'" + layout},
      {" T\n1 BN 5\n0 1 2 3 4\n1.7 1 2 3 4 5 6 7 8 9 10\n2.5\n",
       "f.par line 5: item 2: number, type code and categories: expected an integer, found '2.5'; likely cause: the item before, item 1 "
       "(number 1, BN, 5 categories), took the category scores 0 1 2 3 4 and the parameters 1.7 1 2 3 4 5 6 7 ... (11 values) "
       "(lines 2 to 4): are its categories and values as many as its header says?"},
  };
  for (const Case& c : cases) EXPECT_EQ(error_of(c.content), c.message) << c.content;

  std::vector<std::string> warnings;
  std::istringstream in(sn3 + "2 SN 2\n0 1 2\n0.9 -1\n");
  read_items(in, "f.par", {.echo = {}, .warning = [&](std::string_view w) { warnings.emplace_back(w); }});
  EXPECT_EQ(warnings, std::vector<std::string>{"f.par line 6: 1 more number after the category scores of item 2 (number 2, SN, 2 "
                                               "categories) is ignored" + before});
}

TEST(ReadItems, RejectsMoreItemsThanAFormHolds) {
  std::string content = " T\n";
  for (int i = 1; i <= max_items + 1; ++i) content += std::to_string(i) + " L3 2\n0 1\n1 1 0 0.2\n";
  EXPECT_NE(error_of(content).find("line 602: more than 200 items"), std::string::npos) << error_of(content);
}

}  // namespace
}  // namespace irteq::testing
