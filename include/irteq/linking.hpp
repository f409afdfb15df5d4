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

// How common items are screened for drift before the constants are used:
// not at all, or a pair is flagged when its robust z of the slope or of any
// location exceeds the cut in magnitude, when its rmsd exceeds the cut, or
// when its Wald test's p-value falls below the cut.
enum class ScreeningStatistic { none, robust_z, rmsd, wald };

// "none", "robust-z", "rmsd" or "wald".
std::string_view screening_statistic_name(ScreeningStatistic statistic);
// The statistic a name stands for, in any case; none for any other text.
std::optional<ScreeningStatistic> screening_statistic(std::string_view name);

// One common item: its number as written in form X's and in form Y's item
// file, or its label there. A label, when not empty, names the form's one
// item that carries it, and the number beside it is not used.
struct CommonItemPair {
  int x_number = 0;
  int y_number = 0;
  int line = 0;  // of the common-item file, for messages; 0 when built in memory
  std::string x_label{};
  std::string y_label{};
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
  // Screening and purification: with a statistic, pairs it flags are left out
  // and the forms linked again until the flagged set settles. The cut is a
  // finite number above 0 (for wald, a p-value below 1).
  ScreeningStatistic screen = ScreeningStatistic::none;
  double cut = 0.0;
  int screen_line = 0;  // of the common-item file, for messages about the screening
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

// The screening statistics of one common item, against the applied method's
// constants (X* the transformed form X item, w group 2's normalised weights,
// E an item's expected score with its category scores):
//   rmsd = sqrt(sum_q w_q (E_Y(theta_q) - E_X*(theta_q))^2),
//   mean_difference = sum_q w_q (E_Y(theta_q) - E_X*(theta_q));
//   z_slope: the robust z of ln a_Y - ln a_X* among the common items' slope
//   differences, z_location: of the item's location differences b_Y - b_X*
//   ("L3" b, "SN"/"SL" each b(k), "MU" each b - d(k), k = 2..m) the one of
//   largest magnitude among all location differences; z = (d - median) /
//   max(0.74 IQR, 1e-6), quartiles of type 7. None for "BN" items, for a
//   slope not above 0 in either form, and for a kind with fewer than 3 values.
//   wald: Lord's chi-square Delta' (Sigma_Y + J Sigma_X J')^-1 Delta over the
//   parameters estimated in either form, with wald_df of them and its upper
//   tail probability wald_p; when covariances are known.
// flagged: in the screening's final flagged set; removed_round: the round
// from which on it stayed flagged (0 for kept pairs).
struct AnchorFit {
  int x_number = 0;  // the items' numbers and labels ("" when none), however the pair named them
  int y_number = 0;
  std::string x_label{};
  std::string y_label{};
  ItemModel model = ItemModel::l3;
  double rmsd = 0.0;
  double mean_difference = 0.0;
  std::optional<double> z_slope;
  std::optional<double> z_location;
  std::optional<double> wald;
  std::optional<int> wald_df;
  std::optional<double> wald_p;
  bool flagged = false;
  int removed_round = 0;
};

// One round of purification: the applied method's constants from the pairs
// not flagged in the round before, and the pairs (indices into the pairs'
// order) this round's statistics flag.
struct ScreeningRound {
  int round = 1;
  double A = 1.0;
  double B = 0.0;
  std::vector<std::size_t> flagged;
};

struct LinkingResult {
  std::array<MethodConstants, 4> methods;  // in LinkingMethod order
  LinkingMethod applied = LinkingMethod::stocking_lord;
  bool symmetric = false;
  double A = 1.0;  // the applied method's constants
  double B = 0.0;
  ScreeningStatistic screen = ScreeningStatistic::none;
  double cut = 0.0;
  std::vector<AnchorFit> anchors;      // in the order of the pairs, against the final constants
  std::vector<ScreeningRound> rounds;  // with screening: every round, the last one's flags settled
  // Why a kind of robust z is missing from the anchors, empty when it is
  // there: "BN" items, slopes not above 0, fewer than 3 values.
  std::vector<std::string> robust_z_notes;
  std::vector<Item> items_x;       // form X's items on form Y's scale
  QuadratureGrid grid_group1;      // group 1's grid on form Y's scale
};

// Links form X's scale onto form Y's: every method's constants, the applied
// one's transformed form X items and group 1 grid, and the anchors'
// statistics (without covariances, no Wald test). forms gives both forms'
// items as read ("MU" items as "MU") and both grids, each on its own form's
// scale, and the names messages use; its scale table and w2 are not used.
//
// With a screening statistic, purification: link with every pair, flag by
// the statistic, link again without the flagged pairs, recompute every
// pair's statistics against the new constants (flagged pairs included), and
// repeat until the flagged set is the same twice running; the constants, the
// transformation and every method's row are the final set's. Errors, checked
// after each round in this order: more than half the pairs flagged, fewer
// than two pairs left, no settled set within 20 rounds.
//
// Throws Error on pairs or items it cannot use, on symmetric with a moment
// method, on a cut out of range, on screening by wald without covariances,
// and when the applied method cannot be had, does not converge or gives
// A <= 0: never a silent estimate.
LinkingResult link(const EquatingInput& forms, const LinkingInput& linking);

// The same, with every pair's Wald test and every available method's
// delta-method standard errors of A and B (se_A, se_B; those of the final
// set, taken as given) from the covariances of the forms' estimates (form
// X's on its own scale): the numbers run() gives. Throws Error, as run()
// does, on a covariance that does not fit its form or when neither form has
// one, and on a singular covariance of a pair's differences.
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
