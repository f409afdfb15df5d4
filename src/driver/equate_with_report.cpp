#include "driver/equate_with_report.hpp"

#include "irteq/equate.hpp"

namespace irteq {

RunResult equate_with_report(const ControlFile& files, ReportFile& report, const RunMessages& messages, bool strict,
                             const EquatingOptions& options, const StandardErrorOptions& errors) {
  const LineSink lines = report.lines();
  const RunInput input = read_run(files, {.echo = lines, .warning = messages.input_warning, .strict = strict});
  // Read before any computing, so that a faulty covariance file costs nothing.
  const bool standard_errors_asked = errors.delta_method || errors.draws > 0;
  const std::optional<ParameterCovariances> covariances =
      standard_errors_asked ? std::optional(read_covariances(
                                  files, input, {.echo = {}, .warning = messages.input_warning, .strict = strict}))
                            : std::nullopt;
  RunResult result;
  if (input.linking) {
    result.linking = link(*input.linking);
    write_linking_report(*result.linking, lines);
    result.equating = equate(linked_input(input.equating, *result.linking), options);
  } else {
    result.equating = equate(input.equating, options);
  }
  for (const RootFinderWarning& warning : result.equating.warnings) messages.root_finder(warning);
  write_report(result.equating, lines);
  if (covariances) {
    result.standard_errors = standard_errors(input, result.linking, result.equating, *covariances, errors);
    write_standard_errors_report(*result.standard_errors, result.equating, result.linking, *covariances, errors,
                                 lines);
  }
  return result;
}

std::string error_line(std::string_view message) {
  static constexpr char hex[] = "0123456789abcdef";
  std::string line = "irteq: ";
  for (const char c : message) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte < 0x20 || byte == 0x7f) {
      line += "\\x";
      line += hex[byte >> 4];
      line += hex[byte & 0xf];
    } else {
      line += c;
    }
  }
  return line + '\n';
}

}  // namespace irteq
