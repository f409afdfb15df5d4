// The report's linking section, between the echo of the inputs and the
// results: every method's constants and criterion, the one applied, the
// anchors' screening statistics after it and, when the pairs were screened,
// the rounds of purification, in fixed fields as the rest of the report.
#include <algorithm>
#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

#include "common/fixed_field.hpp"
#include "common/number_text.hpp"
#include "report/report_sections.hpp"

namespace irteq {

namespace {

constexpr std::array<std::pair<std::string_view, int>, 9> screening_columns{{{"rmsd", 11},
                                                                            {"mean diff", 11},
                                                                            {"z slope", 10},
                                                                            {"z locat", 10},
                                                                            {"wald", 11},
                                                                            {"df", 4},
                                                                            {"p-value", 10},
                                                                            {"flagged", 8},
                                                                            {"round", 8}}};

std::string screening_rule(ScreeningStatistic screen, double cut) {
  const std::string shown = shortest_text(cut);
  switch (screen) {
    case ScreeningStatistic::robust_z:
      return "robust-z, a pair flagged when |z| of its slope or of any location exceeds " + shown;
    case ScreeningStatistic::rmsd:
      return "rmsd, a pair flagged when its rmsd exceeds " + shown;
    case ScreeningStatistic::wald:
      return "wald, a pair flagged when its p-value falls below " + shown;
    case ScreeningStatistic::none:
      break;
  }
  return "none";
}

}  // namespace

void write_linking_section(const LinkingResult& result, const LineSink& line) {
  line({});
  line({});
  line("scale linking through common items");
  line({});
  line("theta on form y's scale = A * theta on form x's scale + B");
  line({});
  line(result.symmetric ? "method              A           B       criterion  steps   (criteria symmetric)"
                        : "method              A           B       criterion  steps");
  for (const MethodConstants& method : result.methods) {
    std::string text(linking_method_name(method.method));
    text.resize(14, ' ');
    if (!method.available()) {
      text += "not available: " + method.problem;
    } else {
      append_fixed(text, *method.A, 12, 6);
      append_fixed(text, *method.B, 12, 6);
      if (method.criterion && method.iterations) {
        append_fixed(text, *method.criterion, 16, 10);
        append_integer(text, *method.iterations, 7);
      }
    }
    line(text);
  }
  line({});
  line("applied: " + std::string(linking_method_name(result.applied)));
  line({});
  line({});
  line("anchor screening against the applied constants: expected item score differences over group 2,");
  line("robust z of slope and location differences, lord's wald test");
  line({});
  // Columns: label and width; a statistic not computed leaves its field blank.
  std::string header = "x-item y-item  type";
  for (const auto& [label, width] : screening_columns) append_text_right(header, label, width);
  line(header);
  for (const AnchorFit& anchor : result.anchors) {
    std::string text;
    append_integer(text, anchor.x_number, 6);
    append_integer(text, anchor.y_number, 7);
    append_text_right(text, item_code(anchor.model), 6);
    append_fixed(text, anchor.rmsd, 11, 6);
    append_fixed(text, anchor.mean_difference, 11, 6);
    append_optional_fixed(text, anchor.z_slope, 10, 2);
    append_optional_fixed(text, anchor.z_location, 10, 2);
    append_optional_fixed(text, anchor.wald, 11, 4);
    if (anchor.wald_df) {
      append_integer(text, *anchor.wald_df, 4);
    } else {
      text.append(4, ' ');
    }
    append_optional_fixed(text, anchor.wald_p, 10, 6);
    append_integer(text, anchor.flagged ? 1 : 0, 8);
    append_integer(text, anchor.removed_round, 8);
    line(text);
  }
  for (const std::string& note : result.robust_z_notes) line("robust z: " + note);
  const bool wald = std::any_of(result.anchors.begin(), result.anchors.end(),
                                [](const AnchorFit& anchor) { return anchor.wald_df.has_value(); });
  if (!wald) line("wald test: no covariance of the estimates was read");
  if (result.screen == ScreeningStatistic::none) return;

  line({});
  line({});
  line("screening and purification: " + screening_rule(result.screen, result.cut));
  line({});
  line("round           A           B  flagged pairs (x-item/y-item)");
  for (const ScreeningRound& round : result.rounds) {
    std::string text;
    append_integer(text, round.round, 5);
    append_fixed(text, round.A, 12, 6);
    append_fixed(text, round.B, 12, 6);
    text += "  ";
    if (round.flagged.empty()) text += "none";
    for (const std::size_t i : round.flagged) {
      text += ' ';
      text += std::to_string(result.anchors[i].x_number) + "/" + std::to_string(result.anchors[i].y_number);
    }
    line(text);
  }
  const std::size_t removed = result.rounds.empty() ? 0 : result.rounds.back().flagged.size();
  line({});
  line("settled in round " + std::to_string(result.rounds.size()) + ": " + std::to_string(removed) + " of " +
       std::to_string(result.anchors.size()) + " pairs removed; the constants above are those of the pairs kept");
}

}  // namespace irteq
