#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "irteq/covariance.hpp"
#include "irteq/error.hpp"
#include "irteq/input.hpp"

namespace irteq {

// The checks equate() (and link(), run()) make before computing anything,
// on their own: the same words as the file readers', each naming the input
// by its name in EquatingInput::names. Each throws Error on the first fault.

// A whole equating's input: form Y's items, group 2's grid, the scale table
// and w2, form X's items, group 1's grid, the forms' score ranges and the
// table's length against form Y's score points.
void validate(const EquatingInput& input);

// The model of an item's type code as a front end holds it (text), or the
// readers' Error naming the item: "NAME: item 3 (number 12, XX, 2
// categories): unknown item type code 'XX'; the codes are L3, SN, SL, BN and
// MU" (ErrorCode::unknown_item_type; position counts from 1).
ItemModel checked_item_model(std::string_view code, const std::string& name, int position, int number,
                             int categories, InputPart input = InputPart::none);

// One form's items; name is what messages call them.
void validate_items(const std::vector<Item>& items, const std::string& name);

// One group's quadrature grid.
void validate_grid(const QuadratureGrid& grid, const std::string& name);

// A raw-to-scale table and w2 on their own, before any form is known: the
// scale score limits, w2 within [0, 1], columns of one length, at most
// max_score_points rows, scale scores within +-1e15.
void validate_scale_table(const ScaleTable& table, double w2, const std::string& name);

// A covariance of a form's estimates (form X's on its own scale), as run()
// and the covariance file reader check it: covariance_size(items) rows and
// columns, every variance a finite number of 0 or more, symmetric within
// 1e-9 relative; messages name rows and columns by item and parameter. In
// the logit metric, an "L3" c of 0 or 1 must have a variance of 0.
void validate_covariance(const Covariance& covariance, const std::vector<Item>& items, const std::string& name);

// EquatingOptions::root_tolerance (irteq/equate.hpp): a finite number above 0
// and at most default_root_tolerance; else "root_tolerance is 0; the theta
// tolerance of true score equating must lie above 0 and at most 1e-06".
void validate_root_tolerance(double tolerance);

}  // namespace irteq
