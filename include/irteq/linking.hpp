#pragma once

#include <array>
#include <span>
#include <string>
#include <vector>

#include "irteq/input.hpp"

namespace irteq {

// Scale linking through common items: the constants A and B of
// theta_Y = A * theta_X + B that put form X's separately calibrated
// parameters (and group 1's grid) on form Y's ability scale.
enum class LinkingMethod { mean_mean, mean_sigma, haebara, stocking_lord };

// "mean-mean", "mean-sigma", "haebara" or "stocking-lord".
std::string_view linking_method_name(LinkingMethod method);

// One common item: its number as written in form X's and in form Y's item file.
struct CommonItemPair {
  int x_number = 0;
  int y_number = 0;
  int line = 0;  // of the common-item file, for messages; 0 when built in memory
};

// What link() needs. Both forms' items as read ("MU" items as "MU"), each
// group's grid on its own form's scale: group 1 (took form X) on X's, group 2
// on Y's.
struct LinkingInput {
  std::vector<Item> items_x;
  std::vector<Item> items_y;
  QuadratureGrid grid_group1;
  QuadratureGrid grid_group2;
  std::vector<CommonItemPair> common;
  LinkingMethod method = LinkingMethod::stocking_lord;  // the one applied
  bool symmetric = false;  // characteristic-curve criteria on both scales
  InputNames names;
  std::string common_items_name = "common items";  // what messages call the pairs
  int method_line = 0;  // of the common-item file, for messages about the method
};

// One method's constants. A moment method the common items cannot give
// (no slopes or locations, a zero spread), or a criterion whose minimum was
// not found, is not available; its numbers are then not a number.
struct MethodConstants {
  LinkingMethod method = LinkingMethod::mean_mean;
  bool available = false;
  double A = 0.0;
  double B = 0.0;
  double criterion = 0.0;  // characteristic-curve methods: the criterion at its minimum
  int iterations = 0;      // characteristic-curve methods: Newton steps taken
  std::string problem;     // why the method is not available
};

// The applied linking's fit of one common item: the root-mean-square
// difference of its form Y and transformed form X expected item scores over
// group 2's grid. A drifting anchor stands out by a large value.
struct AnchorFit {
  int x_number = 0;
  int y_number = 0;
  ItemModel model = ItemModel::l3;
  double rmsd = 0.0;
};

struct LinkingResult {
  std::array<MethodConstants, 4> methods;  // in LinkingMethod order
  LinkingMethod applied = LinkingMethod::stocking_lord;
  bool symmetric = false;
  double A = 1.0;  // the applied method's constants
  double B = 0.0;
  std::vector<AnchorFit> anchors;  // in the order of the pairs
  std::vector<Item> items_x;       // form X's items on form Y's scale
  QuadratureGrid grid_group1;      // group 1's grid on form Y's scale
};

// Links form X's scale onto form Y's: every method's constants, the applied
// one's transformed form X items and group 1 grid, and the anchor fit.
// Throws Error on pairs or items it cannot use, and when the applied method
// cannot be had, does not converge or gives A <= 0: never a silent estimate.
LinkingResult link(const LinkingInput& input);

// The equating's input with form X's items and group 1's grid replaced by
// the linking's, on form Y's scale: equate(linked_input(input, linking)) is
// the linked equating, the same to the last bit as equating files of the
// transformed items and grid.
EquatingInput linked_input(EquatingInput input, const LinkingResult& linking);

// The transformation of form X's items and grid onto form Y's scale, item by
// item in the parameters' file order:
//   L3: a / A, A * b + B (D and c unchanged)     SN, SL: a / A, each A * b(k) + B
//   MU: a / A, A * b + B, each A * d(k)           BN: each a(k) / A, each c(k) - a(k) * B / A
//   grid point: A * theta + B (weights unchanged)
// An item's probabilities at A * theta + B are the original's at theta.
std::vector<Item> transform_items(std::span<const Item> items, double A, double B);
QuadratureGrid transform_grid(const QuadratureGrid& grid, double A, double B);

}  // namespace irteq
