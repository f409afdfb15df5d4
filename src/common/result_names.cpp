// The words results are written with: moments.csv's and R's moments columns,
// the kinds of true score thetas and the root finder's problems.
#include "common/enum_names.hpp"
#include "irteq/result.hpp"

namespace irteq {

namespace {

constexpr NameTable<MomentsBlock, 3> blocks{{
    {MomentsBlock::raw, "raw"}, {MomentsBlock::scale, "scale"}, {MomentsBlock::rounded, "rounded"}}};
constexpr NameTable<MomentsGroup, 3> groups{{
    {MomentsGroup::group1, "1"}, {MomentsGroup::group2, "2"}, {MomentsGroup::synthetic, "s"}}};
constexpr NameTable<MomentsScore, 4> scores{{{MomentsScore::x, "X"},
                                             {MomentsScore::y, "Y"},
                                             {MomentsScore::true_score, "true"},
                                             {MomentsScore::observed_score, "observed"}}};
constexpr NameTable<ThetaKind, 3> theta_kinds{
    {{ThetaKind::linear, "linear"}, {ThetaKind::searched, "searched"}, {ThetaKind::top, "top"}}};
constexpr NameTable<RootFinderProblem, 2> problems{
    {{RootFinderProblem::not_bracketed, "not_bracketed"}, {RootFinderProblem::iteration_limit, "iteration_limit"}}};

}  // namespace

std::string_view moments_block_name(MomentsBlock block) { return name_in(blocks, block); }
std::optional<MomentsBlock> moments_block(std::string_view name) { return value_in(blocks, name); }
std::string_view moments_group_name(MomentsGroup group) { return name_in(groups, group); }
std::optional<MomentsGroup> moments_group(std::string_view name) { return value_in(groups, name); }
std::string_view moments_score_name(MomentsScore score) { return name_in(scores, score); }
std::optional<MomentsScore> moments_score(std::string_view name) { return value_in(scores, name); }
std::string_view theta_kind_name(ThetaKind kind) { return name_in(theta_kinds, kind); }
std::optional<ThetaKind> theta_kind(std::string_view name) { return value_in(theta_kinds, name); }
std::string_view root_finder_problem_name(RootFinderProblem problem) { return name_in(problems, problem); }
std::optional<RootFinderProblem> root_finder_problem(std::string_view name) { return value_in(problems, name); }

}  // namespace irteq
