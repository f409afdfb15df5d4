#pragma once

#include <vector>

#include "irteq/input.hpp"
#include "irteq/result.hpp"

namespace irteq {

// The fourteen moments rows of the report, in its order: raw scores of both
// forms in each population and the two sets of equivalents; form Y's scale
// column and the equivalents' scale scores; the same rounded. Equivalents and
// form Y's scale columns are weighted by the distribution of the group that
// took the form they belong to: form X in group 1, form Y in group 2.
std::vector<MomentsRow> moments_rows(const EquatingResult& result, const ScaleTable& table);

}  // namespace irteq
