#pragma once

#include <istream>
#include <string>
#include <vector>

#include "irteq/files.hpp"

namespace irteq {

// read_scale_table that also knows form Y's score points, when read after
// form Y's items: it warns of rows whose raw column differs from the score
// point they stand for, and of rows beyond the last score point.
RawToScaleFile read_scale_table(std::istream& in, const std::string& name, const ReadOptions& options,
                                const std::vector<double>* y_raw_scores);

}  // namespace irteq
