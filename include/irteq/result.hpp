#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
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

// The words of moments.csv's and R's moments columns: block raw, scale,
// rounded; group 1, 2, s; score X, Y, true, observed. The parsers take
// exactly these and give none for any other text.
std::string_view moments_block_name(MomentsBlock block);
std::optional<MomentsBlock> moments_block(std::string_view name);
std::string_view moments_group_name(MomentsGroup group);
std::optional<MomentsGroup> moments_group(std::string_view name);
std::string_view moments_score_name(MomentsScore score);
std::optional<MomentsScore> moments_score(std::string_view name);

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
// "linear", "searched", "top"; the parser takes exactly these.
std::string_view theta_kind_name(ThetaKind kind);
std::optional<ThetaKind> theta_kind(std::string_view name);

struct TrueScoreEquating {
  std::vector<double> thetas;  // -99 and 99 mark the points without a search
  std::vector<ThetaKind> theta_kinds;
  std::vector<double> equivalents;  // on form Y's raw score scale
  std::vector<double> scale;        // their form Y scale scores
  std::vector<double> rounded;      // rounded to whole scale scores
  // Form X's chance score: its lowest raw score plus what guessing alone adds,
  // the sum over its items of (u(2) - u(1)) c for "L3" items. The straight
  // line of the linear points ends there.
  double chance_score = 0.0;
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

// "not_bracketed", "iteration_limit"; the parser takes exactly these.
std::string_view root_finder_problem_name(RootFinderProblem problem);
std::optional<RootFinderProblem> root_finder_problem(std::string_view name);

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
  // What the input drew that does not stop a run: a scale table whose raw
  // column disagrees with form Y's score points (rows pair with them by
  // position), rows beyond them. The file readers warn of these as they read
  // and leave such a raw column empty, so runs of files have none here.
  std::vector<std::string> input_warnings;
};

}  // namespace irteq
