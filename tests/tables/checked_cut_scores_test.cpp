#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include "irteq/error.hpp"
#include "irteq/tables.hpp"

namespace irteq::testing {
namespace {

const ScaleTable scale{.scale_min = 100, .scale_max = 200, .raw = {}, .scale = {}, .rounded = {}};

TEST(CheckedCutScores, TakesCutsWithinTheScaleAndNumbersUnnamedLevels) {
  const CutScores cuts = checked_cut_scores({.cuts = {100, 150.5, 200}, .levels = {}, .name = "cuts", .lines = {}},
                                            scale);
  EXPECT_EQ(cuts.levels, (std::vector<std::string>{"1", "2", "3", "4"}));
  const std::vector<std::string> named{"low", "mid", "high"};
  EXPECT_EQ(checked_cut_scores({.cuts = {120, 180}, .levels = named, .name = "cuts", .lines = {}}, scale).levels, named);
}

TEST(CheckedCutScores, NamesTheCutAndFromAFileItsLine) {
  constexpr double inf = std::numeric_limits<double>::infinity();
  const struct {
    std::vector<double> cuts;
    std::vector<std::string> levels;
    const char* message;
    int row;
  } cases[] = {
      {{150, 170, 170}, {}, "cut 3 (170) is not above cut 2 (170); each cut must be above the one before", 3},
      {{150, 140}, {}, "cut 2 (140) is not above cut 1 (150)", 2},
      {{99.5, 150}, {}, "cut 1 (99.5) is below the scale score minimum 100", 1},
      {{150, 200.25}, {}, "cut 2 (200.25) is above the scale score maximum 200", 2},
      {{150, std::nan("")}, {}, "cut 2 (nan) is not a finite number", 2},
      {{-inf}, {}, "cut 1 (-inf) is not a finite number", 1},
      {{150}, {"a", "b", "c"}, "3 level names for 1 cut; 1 cut makes 2 levels, lowest first", 0},
      {{}, {}, "no cut scores; performance levels need at least one", 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.message);
    for (const bool from_file : {false, true}) {
      CutScores cuts{.cuts = c.cuts, .levels = c.levels, .name = from_file ? "cuts.txt" : "cuts", .lines = {}};
      for (std::size_t k = 0; from_file && k < c.cuts.size(); ++k) cuts.lines.push_back(static_cast<int>(k) + 3);
      const int line = from_file && c.row > 0 ? c.row + 2 : 0;
      const std::string where = line > 0 ? "cuts.txt line " + std::to_string(line) + ": " : cuts.name + ": ";
      try {
        checked_cut_scores(cuts, scale);
        ADD_FAILURE() << "checked";
      } catch (const Error& error) {
        EXPECT_EQ(std::string(error.what()).rfind(where + c.message, 0), 0U) << error.what();
        EXPECT_EQ(error.diagnostic().input, InputPart::cut_scores);
        EXPECT_EQ(error.diagnostic().source, cuts.name);
        EXPECT_EQ(error.diagnostic().line, line);
        EXPECT_EQ(error.diagnostic().row, c.row);
      }
    }
  }
}

// A score is in level k when k cuts are at or below it: each cut starts its level.
TEST(PerformanceLevel, EachCutStartsItsLevel) {
  const std::vector<double> cuts{150, 175.5, 200};
  EXPECT_EQ(performance_level(cuts, -1e300), 0);
  EXPECT_EQ(performance_level(cuts, 1e300), 3);
  for (std::size_t k = 0; k < cuts.size(); ++k) {
    EXPECT_EQ(performance_level(cuts, cuts[k]), static_cast<int>(k) + 1) << cuts[k];
    EXPECT_EQ(performance_level(cuts, std::nextafter(cuts[k], -1e300)), static_cast<int>(k)) << cuts[k];
  }
}

}  // namespace
}  // namespace irteq::testing
