#pragma once

#include <span>

#include "irteq/tables.hpp"
#include "tables/conditional_rows.hpp"

namespace irteq {

// The summed-score EAP table from a form's conditional rows over a
// normalised grid and its marginal distribution there (the probabilities
// the table reports).
EapTable eap_from_rows(const ConditionalRows& rows, const QuadratureGrid& grid, std::span<const double> raw_scores,
                       std::span<const double> marginal);

}  // namespace irteq
