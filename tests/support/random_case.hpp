#pragma once

// Random valid runs for property tests: mixed-format forms, quadrature grids
// and a raw-to-scale table, written in the program's text formats. Every draw
// comes from the 64-bit integers of std::mt19937_64 (whose output the
// standard fixes), never from a distribution class, so one seed gives the
// same cases with every standard library.
//
// The items are "valid" in the sense the true score search needs: positive
// slopes, ordered thresholds for graded items, increasing category slopes for
// nominal items, so that every test characteristic curve rises; and moderate
// enough that at theta -8 and 8 each form is within 0.25 of its lowest score
// plus its chance score and of its highest score. With form X's chance score
// kept away from just below an integer, every search of true score equating is
// bracketed in [-8, 8].
#include <cstdint>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

namespace irteq::testing {

// What a case is made of; everything else is drawn.
struct CaseShape {
  int y_items = 10;
  int x_items = 10;
  int y_target_points = 0;  // form Y's score points when above 0, otherwise drawn (at most 1000)
  int x_target_points = 0;
  int group1_points = 20;   // quadrature points of each grid
  int group2_points = 20;
  bool self_equating = false;  // form X is form Y and group 1's grid is group 2's
  double w2 = -1.0;            // drawn in [0, 1] when negative
};

// The five input files of one run, as text.
struct RandomCase {
  std::string y_items;
  std::string x_items;
  std::string group1;
  std::string group2;
  std::string scale_table;
};

class RandomCaseGenerator {
 public:
  explicit RandomCaseGenerator(std::uint64_t seed) : engine_(seed) {}

  // A form of 1 to 60 items and grids of 1 to 100 points.
  CaseShape random_shape();
  RandomCase make(const CaseShape& shape);

  double uniform(double low, double high);  // in [low, high)
  int integer(int low, int high);           // in [low, high]

 private:
  struct DrawnForm {
    std::string text;
    int lowest = 0;  // lowest raw score
    int points = 0;  // score points
  };
  struct DrawnItem {
    std::string code;
    std::vector<int> scores;
    std::vector<double> parameters;  // in file order
  };

  DrawnForm form(int item_count, int target_points, const std::string& title);
  DrawnItem item(int span_low, int span_high, double end_budget);
  std::vector<int> scores(int categories, int span);
  std::vector<double> thresholds(int count);
  std::string grid(int count, const std::string& title);
  std::string scale_table(int points, int lowest_score, double w2);

  std::mt19937_64 engine_;
  const char* separator_ = " ";
};

// Writes control.txt (report.txt; y.par, g2.qd, y.scl; x.par, g1.qd) and the five files into folder.
void write_case(const RandomCase& run, const std::filesystem::path& folder);

}  // namespace irteq::testing
