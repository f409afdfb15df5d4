// The report's standard-error section, after the results: what was run on
// what, the linking constants' standard errors, then per equating method and
// metric each form X score point's equivalent with its standard errors, in
// fixed fields as the rest of the report. A route that was not run leaves
// its columns blank.
#include <cmath>
#include <charconv>
#include <string>

#include "common/fixed_field.hpp"
#include "report/report_sections.hpp"

namespace irteq {

namespace {

// Blank where a route was not run, or gave no number (the sd of a single draw).
void append_or_blank(std::string& text, const double* value, int width, int decimals) {
  if (!value || std::isnan(*value)) {
    text.append(static_cast<std::size_t>(width), ' ');
  } else {
    append_fixed(text, *value, width, decimals);
  }
}

void write_table(const char* title, const std::vector<double>& raw, const std::vector<double>& equivalents,
                 const PointStandardErrors& errors, const LineSink& line) {
  line({});
  line({});
  line(title);
  line({});
  line("     raw  equivalent    delta se    draws se       2.5 %      97.5 %");
  for (std::size_t i = 0; i < raw.size(); ++i) {
    std::string text;
    append_fixed(text, raw[i], 8, 2);
    append_fixed(text, equivalents[i], 12, 4);
    const DrawSpread* drawn = errors.draws ? &(*errors.draws)[i] : nullptr;
    append_or_blank(text, errors.delta ? &(*errors.delta)[i] : nullptr, 12, 4);
    append_or_blank(text, drawn ? &drawn->sd : nullptr, 12, 4);
    append_or_blank(text, drawn ? &drawn->lower : nullptr, 12, 4);
    append_or_blank(text, drawn ? &drawn->upper : nullptr, 12, 4);
    line(text);
  }
}

// "29.6": a share in percent, to one decimal, whatever the locale.
std::string percent(int part, int whole) {
  char text[32];
  const auto result = std::to_chars(text, text + sizeof text, 100.0 * part / (whole > 0 ? whole : 1),
                                    std::chars_format::fixed, 1);
  return std::string(text, result.ptr);
}

}  // namespace

std::string redraws_warning(const StandardErrors& errors) {
  const int attempts = errors.draws + errors.redraws;
  if (errors.redraws * 10 <= attempts) return {};
  std::string text = "parametric draws: " + std::to_string(errors.redraws) + " of " + std::to_string(attempts) +
                     " drawn again (" + percent(errors.redraws, attempts) +
                     " %); the covariance is too wide for the models, and the draws are not normal";
  // The worst few items tell where the covariance is too wide (often c near 0, drawn in the probability metric).
  constexpr std::size_t items_named = 5;
  for (std::size_t k = 0; k < errors.invalid_items.size() && k < items_named; ++k) {
    const InvalidDrawnItem& item = errors.invalid_items[k];
    text += k == 0 ? "; invalid most often: " : ", ";
    text += std::string("form ") + item.form + " item " + std::to_string(item.item) +
            (item.label.empty() ? "" : " (" + item.label + ")") + " " + std::to_string(item.count);
  }
  return text;
}

void write_standard_errors_section(const RunResult& run, const RunOptions& options, const LineSink& line) {
  const StandardErrors& errors = *run.standard_errors;
  const ParameterCovariances& covariances = options.covariances;
  const StandardErrorOptions& routes = options.standard_errors;
  line({});
  line({});
  line("standard errors from the item parameter estimates' covariance");
  line({});
  line("form x covariance: " + (covariances.x ? covariances.x_name : std::string("none, parameters taken as known")));
  line("form y covariance: " + (covariances.y ? covariances.y_name : std::string("none, parameters taken as known")));
  if (routes.delta_method) line("delta method: analytic gradients of the computed results");
  if (routes.draws > 0) {
    const int attempts = errors.draws + errors.redraws;
    line("parametric draws: " + std::to_string(errors.draws) + ", seed " + std::to_string(routes.seed) + ", " +
         std::to_string(errors.redraws) + " drawn again (" +
         percent(errors.redraws, attempts) + " %)");
    if (const std::string warning = redraws_warning(errors); !warning.empty()) line("warning: " + warning);
  }
  if (run.linking) {
    const LinkingResult& linking = *run.linking;
    line({});
    line({});
    line("linking constants");
    line({});
    line("method              A      se(A)           B      se(B)");
    for (const MethodConstants& method : linking.methods) {
      if (!method.available()) continue;
      std::string text(linking_method_name(method.method));
      text.resize(14, ' ');
      append_fixed(text, *method.A, 11, 6);
      append_or_blank(text, method.se_A ? &*method.se_A : nullptr, 11, 6);
      append_fixed(text, *method.B, 12, 6);
      append_or_blank(text, method.se_B ? &*method.se_B : nullptr, 11, 6);
      line(text);
    }
    if (routes.draws > 0) {
      line({});
      line("applied (" + std::string(linking_method_name(linking.applied)) +
           "), by the draws:    sd       2.5 %      97.5 %");
      for (const auto& [name, c] : {std::pair{"A", &errors.A_draws}, std::pair{"B", &errors.B_draws}}) {
        std::string text = std::string("  ") + name;
        text.resize(30, ' ');
        append_or_blank(text, *c ? &(*c)->sd : nullptr, 11, 6);
        append_or_blank(text, *c ? &(*c)->lower : nullptr, 12, 6);
        append_or_blank(text, *c ? &(*c)->upper : nullptr, 12, 6);
        line(text);
      }
    }
  }
  const EquatingResult& result = run.equating;
  const std::vector<double>& raw = result.x.raw_scores;
  write_table("true score equivalents: standard errors, raw metric", raw, result.true_score.equivalents,
              errors.true_raw, line);
  write_table("true score equivalents: standard errors, scale metric", raw, result.true_score.scale,
              errors.true_scale, line);
  write_table("observed score equivalents: standard errors, raw metric", raw, result.observed_score.equivalents,
              errors.observed_raw, line);
  write_table("observed score equivalents: standard errors, scale metric", raw, result.observed_score.scale,
              errors.observed_scale, line);
}

}  // namespace irteq
