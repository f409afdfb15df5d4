#pragma once

#include <cstddef>
#include <span>
#include <vector>

#include "irteq/convert.hpp"

namespace irteq {

// The items of a form's covariance that vary together: groups of items
// joined by nonzero covariances between their parameters (calibration
// programs usually give each item's block alone, so most groups are one
// item). item_offsets holds each item's first row and, last, the size.
// Each group's items ascend, groups are in the order of their first item,
// and items whose rows are all zero (held fixed) are in none.
std::vector<std::vector<std::size_t>> covariance_blocks(const Covariance& covariance,
                                                        std::span<const std::size_t> item_offsets);

}  // namespace irteq
