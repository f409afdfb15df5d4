#include "common/number_text.hpp"
#include "irteq/result.hpp"

namespace irteq {

std::string root_finder_message(RootFinderProblem problem) {
  return problem == RootFinderProblem::not_bracketed ? "root must be bracketed for zbrent"
                                                     : "zbrent exceeding maximum iterations";
}

std::string warning_message(const RootFinderWarning& warning) {
  return "form X raw score " + shortest_text(warning.raw_score) + ": " + root_finder_message(warning.problem) +
         "; theta " + shortest_text(warning.theta);
}

}  // namespace irteq
