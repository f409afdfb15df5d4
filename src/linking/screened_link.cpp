// Anchor screening and purification (Candell and Drasgow, 1988): link with
// every pair, flag the pairs the statistic marks as drifting, link again
// without them, and go on until the flagged set is the same twice running.
// Every round recomputes every pair's statistics, flagged pairs included,
// against its own constants, so a pair flagged only under the first
// round's (drift-pulled) constants comes back.
#include "linking/screened_link.hpp"

#include <algorithm>
#include <cmath>

#include "common/floating_point_mode.hpp"
#include "common/number_text.hpp"
#include "irteq/error.hpp"
#include "irteq/validate.hpp"
#include "linking/anchor_fit.hpp"
#include "linking/common_item_pairs.hpp"
#include "linking/link_methods.hpp"
#include "linking/robust_z.hpp"
#include "linking/wald_tests.hpp"
#include "models/normalised_grid.hpp"
#include "models/prepare_items.hpp"

namespace irteq {

namespace {

constexpr int most_rounds = 20;

[[noreturn]] void fail(const LinkingInput& linking, const std::string& problem, ErrorCode code) {
  std::string where = linking.common_items_name;
  if (linking.screen_line > 0) where += " line " + std::to_string(linking.screen_line);
  throw Error(where + ": " + problem, {.code = code,
                                       .input = InputPart::common_items,
                                       .source = linking.common_items_name,
                                       .line = linking.screen_line});
}

void check_screening(const LinkingInput& linking, const ParameterCovariances* covariances) {
  if (linking.screen == ScreeningStatistic::none) return;
  const std::string name = "screen " + std::string(screening_statistic_name(linking.screen));
  const bool p_value = linking.screen == ScreeningStatistic::wald;
  if (!(std::isfinite(linking.cut) && linking.cut > 0.0 && (!p_value || linking.cut < 1.0))) {
    fail(linking,
         name + ": the cut is " + shortest_text(linking.cut) + "; it must be " +
             (p_value ? "a p-value above 0 and below 1" : "a finite number above 0"),
         ErrorCode::invalid_input);
  }
  if (p_value && covariances == nullptr) {
    fail(linking,
         name + " needs the covariance of at least one form's estimates (new_cov, old_cov; x_cov, y_cov in R)",
         ErrorCode::invalid_input);
  }
}

// Every pair's statistics against one round's linking.
std::vector<AnchorFit> statistics(const EquatingInput& forms, const LinkingInput& linking,
                                  const std::vector<CommonItemPositions>& common, const LinkingResult& round,
                                  const ParameterCovariances* covariances, std::vector<std::string>& notes) {
  std::vector<AnchorFit> anchors = anchor_fit(prepare_items(round.items_x), prepare_items(forms.items_y), common,
                                              normalised_grid(forms.grid_group2));
  const RobustZ z = robust_z(round.items_x, forms.items_y, common);
  std::vector<std::optional<WaldTest>> wald;
  if (covariances) wald = wald_tests(forms, round.items_x, common, linking, *covariances, round.A, round.B);
  for (std::size_t i = 0; i < anchors.size(); ++i) {
    AnchorFit& a = anchors[i];
    a.model = forms.items_x[common[i].x].model;
    a.z_slope = z.slope[i];
    a.z_location = z.location[i];
    if (covariances && wald[i]) {
      a.wald = wald[i]->chi_square;
      a.wald_df = wald[i]->df;
      a.wald_p = wald[i]->p;
    }
  }
  notes = z.notes;
  return anchors;
}

bool flags(const AnchorFit& a, ScreeningStatistic screen, double cut) {
  switch (screen) {
    case ScreeningStatistic::none:
      return false;
    case ScreeningStatistic::robust_z:
      return (a.z_slope && std::fabs(*a.z_slope) > cut) || (a.z_location && std::fabs(*a.z_location) > cut);
    case ScreeningStatistic::rmsd:
      return a.rmsd > cut;
    case ScreeningStatistic::wald:
      return a.wald_p && *a.wald_p < cut;
  }
  return false;
}

std::string pair_names(const LinkingInput& linking, const std::vector<std::size_t>& pairs) {
  if (pairs.empty()) return "none";
  std::string text;
  for (const std::size_t i : pairs) {
    if (!text.empty()) text += ' ';
    text += pair_item_name(linking.common[i], true) + "/" + pair_item_name(linking.common[i], false);
  }
  return text;
}

// The errors after a round, in order: too many flagged, too few left, no end.
void check_round(const LinkingInput& linking, const std::vector<ScreeningRound>& rounds, bool settled) {
  const std::size_t pairs = linking.common.size();
  const std::size_t flagged = rounds.back().flagged.size();
  const std::string round = "round " + std::to_string(rounds.back().round);
  const std::string name = "screen " + std::string(screening_statistic_name(linking.screen));
  if (2 * flagged > pairs) {
    fail(linking,
         name + " " + round + " flags " + std::to_string(flagged) + " of " + std::to_string(pairs) +
             " common items, more than half: the forms may not be on comparable scales, or the pairs may be wrong",
         ErrorCode::linking_failed);
  }
  if (pairs - flagged < 2) {
    fail(linking,
         name + " " + round + " flags " + std::to_string(flagged) + " of " + std::to_string(pairs) +
             " common items; linking needs at least two left",
         ErrorCode::linking_failed);
  }
  if (!settled && static_cast<int>(rounds.size()) == most_rounds) {
    std::string sets;
    for (const ScreeningRound& r : rounds) {
      sets += "; round " + std::to_string(r.round) + " flags (x/y) " + pair_names(linking, r.flagged);
    }
    fail(linking, name + ": the flagged set does not settle within " + std::to_string(most_rounds) + " rounds" + sets,
         ErrorCode::linking_failed);
  }
}

}  // namespace

LinkingResult screened_link(const EquatingInput& forms, const LinkingInput& linking,
                            const ParameterCovariances* covariances) {
  const FloatingPointMode mode;
  const InputNames& names = forms.names;
  validate_items(forms.items_x, names.items_x);
  validate_items(forms.items_y, names.items_y);
  validate_grid(forms.grid_group1, names.grid_group1);
  validate_grid(forms.grid_group2, names.grid_group2);
  check_screening(linking, covariances);
  std::vector<CommonItemPositions> common;  // every pair's, once the first round has checked them

  std::vector<ScreeningRound> rounds;
  std::vector<std::size_t> removed;  // the pairs the round before flagged
  for (;;) {
    LinkingInput kept = linking;
    kept.common.clear();
    for (std::size_t i = 0, r = 0; i < linking.common.size(); ++i) {
      if (r < removed.size() && removed[r] == i) {
        ++r;
      } else {
        kept.common.push_back(linking.common[i]);
      }
    }
    LinkingResult result = link_methods(forms, kept, LinkingScope::every_method);
    if (common.empty()) common = common_item_positions(forms, linking);
    result.anchors = statistics(forms, linking, common, result, covariances, result.robust_z_notes);
    result.screen = linking.screen;
    result.cut = linking.screen == ScreeningStatistic::none ? 0.0 : linking.cut;
    if (linking.screen == ScreeningStatistic::none) return result;

    ScreeningRound& round = rounds.emplace_back();
    round.round = static_cast<int>(rounds.size());
    round.A = result.A;
    round.B = result.B;
    for (std::size_t i = 0; i < result.anchors.size(); ++i) {
      if (flags(result.anchors[i], linking.screen, linking.cut)) round.flagged.push_back(i);
    }
    const bool settled = round.flagged == removed;
    check_round(linking, rounds, settled);
    if (!settled) {
      removed = round.flagged;
      continue;
    }
    for (const std::size_t i : removed) {
      AnchorFit& anchor = result.anchors[i];
      anchor.flagged = true;
      anchor.removed_round = round.round;
      for (auto r = rounds.rbegin() + 1; r != rounds.rend(); ++r) {
        if (std::find(r->flagged.begin(), r->flagged.end(), i) == r->flagged.end()) break;
        anchor.removed_round = r->round;
      }
    }
    result.rounds = std::move(rounds);
    return result;
  }
}

LinkingInput final_linking(const LinkingInput& linking, const LinkingResult& result) {
  LinkingInput final = linking;
  final.screen = ScreeningStatistic::none;
  final.common.clear();
  for (std::size_t i = 0; i < linking.common.size(); ++i) {
    if (!result.anchors[i].flagged) final.common.push_back(linking.common[i]);
  }
  return final;
}

}  // namespace irteq
