#pragma once

#include <span>

#include "irteq/linking.hpp"
#include "linking/common_item_pairs.hpp"
#include "standard_errors/gradients.hpp"

namespace irteq {

// d(A, B)/d(parameters) of an available mean/mean or mean/sigma linking, in
// closed form: rows 0 (A) and 1 (B), columns as layout orders them. Only the
// slopes and locations moment_constants pools have a derivative: "L3", "SN",
// "SL" and "MU" slopes, "L3" b, "SN" and "SL" b(k), "MU" b and d(2..m).
Gradients moment_constant_gradients(const EquatingInput& forms, std::span<const CommonItemPositions> common,
                                    const MethodConstants& constants, const ParameterLayout& layout);

}  // namespace irteq
