#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "irteq/error.hpp"
#include "irteq/files.hpp"
#include "support/reader_echo.hpp"

namespace irteq::testing {
namespace {

CutScores read(const std::string& content, std::string& echo) {
  return read_with_echo(content, echo, [](std::istream& in, const ReadOptions& options) {
    return read_cut_scores(in, "cuts.txt", options);
  });
}

TEST(ReadCutScores, TakesCutsWithTheirLinesAndNamesEachUnnamedLevelByItsNumber) {
  const struct {
    const char* content;
    std::vector<double> cuts;
    std::vector<std::string> levels;
    std::vector<int> lines;
  } cases[] = {
      {"Grade 5\n\"Below Basic\"\n150 \"Basic\"\n175.5, 'Proficient' / adopted 2024\n\n 2e2 \"Advanced \"\"A\"\"\"\n",
       {150, 175.5, 200}, {"Below Basic", "Basic", "Proficient", "Advanced \"A\""}, {3, 4, 6}},
      {"Grade 5\n150\n175 / comment\n\t200\n", {150, 175, 200}, {"1", "2", "3", "4"}, {2, 3, 4}},
      {"Grade 5\n\n'Low'\n-1.5\n", {-1.5}, {"Low", "2"}, {4}},
      {"Grade 5\n150 \"Basic\"\n175\n", {150, 175}, {"1", "Basic", "3"}, {2, 3}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.content);
    std::string echo;
    const CutScores cuts = read(c.content, echo);
    EXPECT_EQ(cuts.name, "cuts.txt");
    EXPECT_EQ(cuts.cuts, c.cuts);
    EXPECT_EQ(cuts.levels, c.levels);
    EXPECT_EQ(cuts.lines, c.lines);
  }
  std::string echo;
  read(cases[0].content, echo);
  // After the title, as the other files' echo has it.
  ASSERT_EQ(echo.substr(0, 2), "\r\n");
  echo.erase(0, echo.find("\r\n", 2) + 2);
  EXPECT_EQ(echo, "\"Below Basic\"\r\n         150  \"Basic\"\r\n       175.5  \"Proficient\"\r\n"
                  "         200  \"Advanced \"\"A\"\"\"\r\n");
}

TEST(ReadCutScores, RefusesWhatIsNoCutNamingTheLine) {
  std::string many = "levels\n";
  for (int k = 0; k <= 1000; ++k) many += std::to_string(k) + "\n";
  const struct {
    std::string content;
    const char* message;
    int line;
  } cases[] = {
      {"levels\n150\nabc\n", "cuts.txt line 3: cut 2: expected a number, found 'abc'", 3},
      {"levels\n150\n\"Proficient\" 175\n", "cuts.txt line 3: the level name 'Proficient' has no cut; a cut's line", 3},
      {"levels\n'Low'\n'Mid'\n150\n", "line 3: the level name 'Mid' has no cut; only the lowest level's name", 3},
      {"levels\n", "cuts.txt line 1: the file holds no cut scores", 1},
      {"levels\n'Low'\n\n", "cuts.txt line 3: the file holds no cut scores", 3},
      {"levels\n/ none yet\n", "cuts.txt line 2: cut 1: no cut score where the line starts", 2},
      {"levels\n150 Basic\n", "line 2: cut 1: 'Basic' after the cut; a cut's line holds", 2},
      {"levels\n150 175 200\n", "line 2: cut 1: '175' after the cut", 2},
      {"levels\n150 'Basic' Proficient\n", "line 2: cut 1: 'Proficient' after the level's name", 2},
      {"levels\n150,,'Basic'\n", "line 2: cut 1: ',' after the cut", 2},
      {"levels\n150,5\n", "'5' after the cut; a cut's line holds the cut, then optionally its level's name in quotes "
                          "(150 \"Proficient\"), then at most a comment after a slash (a decimal comma?",
       2},
      {"levels\n'Low' 150\n", "line 2: '150' after the lowest level's name; that name stands alone", 2},
      {many, "cuts.txt line 1002: cut 1001: more than 1000 cut scores", 1002},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.content.substr(0, 40));
    std::string echo;
    try {
      read(c.content, echo);
      ADD_FAILURE() << "read";
    } catch (const Error& error) {
      EXPECT_NE(std::string(error.what()).find(c.message), std::string::npos) << error.what();
      EXPECT_EQ(error.diagnostic().line, c.line);
      EXPECT_EQ(error.diagnostic().source, "cuts.txt");
    }
  }
}

}  // namespace
}  // namespace irteq::testing
