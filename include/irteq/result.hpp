#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace irteq {

struct Moments {
  double mean = 0.0;
  double sd = 0.0;        // with the total weight as divisor
  double skewness = 0.0;
  double kurtosis = 0.0;  // not reduced by 3
};

// The scores a moments row describes: raw scores, their scale scores, or the rounded scale scores.
enum class MomentsBlock : unsigned char { raw, scale, rounded };
// The population whose distribution weights the scores.
enum class MomentsGroup : unsigned char { group1, group2, synthetic };
// Form X's or form Y's scores, or form X's true or observed score equivalents.
enum class MomentsScore : unsigned char { x, y, true_score, observed_score };

// One row of the report's moments tables.
struct MomentsRow {
  MomentsBlock block = MomentsBlock::raw;
  MomentsGroup group = MomentsGroup::group1;
  MomentsScore score = MomentsScore::x;
  Moments moments;
};

// Where a form X score point's theta comes from: the straight line up to the
// chance score (theta shows -99), a root search, or the top score (theta 99).
enum class ThetaKind : unsigned char { linear, searched, top };

struct TrueScoreEquating {
  std::vector<double> thetas;  // -99 and 99 mark the points without a search
  std::vector<ThetaKind> theta_kinds;
  std::vector<double> equivalents;  // on form Y's raw score scale
  std::vector<double> scale;        // their form Y scale scores
  std::vector<double> rounded;      // rounded to whole scale scores
};

struct ObservedScoreEquating {
  std::vector<double> equivalents;
  std::vector<double> scale;
  std::vector<double> rounded;
};

// One form's raw score distributions in the two groups and the synthetic population.
struct FormDistributions {
  std::vector<double> raw_scores;  // the form's score points, lowest to highest
  std::vector<double> group1;
  std::vector<double> group2;
  // As equated and reported: when any probability was below 1e-8 the
  // equipercentile step replaced every f by (f + 1e-8) / (n * 1e-8 + 1).
  std::vector<double> synthetic;
  bool synthetic_adjusted = false;
};

enum class RootFinderProblem {
  not_bracketed,    // "root must be bracketed for zbrent"
  iteration_limit,  // "zbrent exceeding maximum iterations"
};

// A root search that failed; equating went on with the theta it returned.
struct RootFinderWarning {
  std::size_t point = 0;  // index of the form X score point
  double raw_score = 0.0;
  RootFinderProblem problem = RootFinderProblem::not_bracketed;
  double theta = 0.0;  // the theta used for the point
};

// The root finder's message for a problem, as the console shows it.
std::string root_finder_message(RootFinderProblem problem);
// "form X raw score 17: root must be bracketed for zbrent; theta 8"
std::string warning_message(const RootFinderWarning& warning);

// Everything an equating yields. The per-point vectors of true_score and
// observed_score run parallel to x.raw_scores.
struct EquatingResult {
  TrueScoreEquating true_score;
  ObservedScoreEquating observed_score;
  FormDistributions x;
  FormDistributions y;
  std::vector<MomentsRow> moments;  // the report's fourteen rows, in its order
  std::vector<RootFinderWarning> warnings;
};

}  // namespace irteq
