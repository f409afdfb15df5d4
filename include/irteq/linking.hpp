#pragma once

#include <array>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "irteq/covariance.hpp"
#include "irteq/input.hpp"

namespace irteq {

// Scale linking through common items: the constants A and B of
// theta_Y = A * theta_X + B that put form X's separately calibrated
// parameters (and group 1's grid) on form Y's ability scale.
enum class LinkingMethod { mean_mean, mean_sigma, haebara, stocking_lord };

// Every method, in LinkingMethod order: the order of LinkingResult::methods.
inline constexpr std::array<LinkingMethod, 4> linking_methods{LinkingMethod::mean_mean, LinkingMethod::mean_sigma,
                                                              LinkingMethod::haebara, LinkingMethod::stocking_lord};

// "mean-mean", "mean-sigma", "haebara" or "stocking-lord".
std::string_view linking_method_name(LinkingMethod method);
// The method a name stands for, in any case: its own name, or a spelling
// other programs use ("mean/mean" or "MM", "mean/sigma" or "MS", "HB",
// "Stocking-Lord" or "SL"); none for any other text.
std::optional<LinkingMethod> linking_method(std::string_view name);
// Whether the method minimises a characteristic-curve criterion (Haebara,
// Stocking-Lord) rather than pooling the items' slopes and locations.
bool is_characteristic_curve(LinkingMethod method);

// One common item: its number as written in form X's and in form Y's item file.
struct CommonItemPair {
  int x_number = 0;
  int y_number = 0;
  int line = 0;  // of the common-item file, for messages; 0 when built in memory
};

// How to link a run's forms: the common items, the method applied and
// whether its criterion is symmetric. The forms themselves are the run's
// (an EquatingInput: form X's items and group 1's grid on form X's scale,
// form Y's and group 2's on form Y's), so they are never copied apart.
struct LinkingInput {
  std::vector<CommonItemPair> common;
  LinkingMethod method = LinkingMethod::stocking_lord;  // the one applied
  bool symmetric = false;  // characteristic-curve criteria on both scales; refused with a moment method
  std::string common_items_name = "common items";  // what messages call the pairs
  int method_line = 0;  // of the common-item file, for messages about the method
};

// One method's constants. A moment method the common items cannot give
// (no slopes or locations, a zero spread), or a criterion whose minimum was
// not found, is not available: A and B are absent and problem says why.
struct MethodConstants {
  LinkingMethod method = LinkingMethod::mean_mean;
  std::optional<double> A;
  std::optional<double> B;
  std::optional<double> criterion;  // characteristic-curve methods: the criterion at the last Newton step
  std::optional<int> iterations;    // characteristic-curve methods: the Newton steps taken
  std::optional<double> se_A;       // the delta method's standard errors, when computed (run(), or link()
  std::optional<double> se_B;       // with covariances) for an available method
  std::string problem;              // why the method is not available
  bool available() const { return A.has_value(); }
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
// one's transformed form X items and group 1 grid, and the anchor fit. forms
// gives both forms' items as read ("MU" items as "MU") and both grids, each
// on its own form's scale, and the names messages use; its scale table and
// w2 are not used. Throws Error on pairs or items it cannot use, on symmetric
// with a moment method, and when the applied method cannot be had, does not
// converge or gives A <= 0: never a silent estimate.
LinkingResult link(const EquatingInput& forms, const LinkingInput& linking);

// The same, with every available method's delta-method standard errors of A
// and B (se_A, se_B) from the covariances of the forms' estimates (form X's
// on its own scale): the numbers run() gives. Throws Error, as run() does,
// on a covariance that does not fit its form or when neither form has one.
LinkingResult link(const EquatingInput& forms, const LinkingInput& linking, const ParameterCovariances& covariances);

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
