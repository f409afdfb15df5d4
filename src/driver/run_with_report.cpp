#include "driver/run_with_report.hpp"

namespace irteq {

RunResult run_with_report(const ControlFile& files, ReportFile& report, const RunMessages& messages, bool strict,
                          RunOptions options) {
  const LineSink lines = report.lines();
  const RunInput input = read_run(files, {.echo = lines, .warning = messages.input_warning, .strict = strict});
  const StandardErrorOptions& errors = options.standard_errors;
  options.covariances = read_run_covariances(files, input, errors.delta_method || errors.draws > 0,
                                             {.echo = {}, .warning = messages.input_warning, .strict = strict});
  const RunResult result = run(input, options);
  for (const RootFinderWarning& warning : result.equating.warnings) messages.root_finder(warning);
  write_report(result, options, lines);
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
