#include "input/calibration_reference.hpp"

#include "common/number_text.hpp"
#include "irteq/error.hpp"

namespace irteq {

std::optional<CalibrationReference> calibration_reference(std::string_view name) {
  const std::size_t end = name.find_first_of(":(");
  if (end == std::string_view::npos) return std::nullopt;
  const std::optional<CalibrationProgram> program = calibration_program(name.substr(0, end));
  if (!program) return std::nullopt;
  CalibrationReference reference{*program, std::nullopt, {}, {}};
  std::size_t colon = end;
  if (name[end] == '(') {
    const auto refuse = [&] {
      const std::string program_name(name.substr(0, end));
      throw Error("\"" + std::string(name) + "\": a calibration file is named as " + program_name + ":file or " +
                      program_name + "(D=1.7):file, " + program_name + "(SFILE=file):file, options separated by ';'",
                  {.code = ErrorCode::control_file, .input = InputPart::control_file});
    };
    const std::size_t close = name.find("):", end);
    if (close == std::string_view::npos) refuse();
    std::string_view options = name.substr(end + 1, close - end - 1);
    while (!options.empty()) {
      const std::size_t stop = options.find(';');
      const std::string_view option = options.substr(0, stop);
      options = stop == std::string_view::npos ? std::string_view{} : options.substr(stop + 1);
      if (option.starts_with("D=")) {
        double D = 0.0;
        if (!parse_number(option.substr(2), D)) refuse();
        reference.D = D;
      } else if (option.starts_with("SFILE=") && option.size() > 6) {
        reference.thresholds = std::string(option.substr(6));
      } else {
        refuse();
      }
    }
    colon = close + 1;
  }
  reference.path = std::string(name.substr(colon + 1));
  return reference;
}

std::string calibration_name(const CalibrationReference& reference) {
  std::string name(calibration_program_name(reference.program));
  std::string options;
  if (reference.D) options += "D=" + shortest_text(*reference.D);
  if (!reference.thresholds.empty()) options += (options.empty() ? "SFILE=" : ";SFILE=") + reference.thresholds;
  if (!options.empty()) name += "(" + options + ")";
  return name + ":" + reference.path;
}

}  // namespace irteq
