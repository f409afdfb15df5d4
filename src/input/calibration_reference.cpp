#include "input/calibration_reference.hpp"

#include <charconv>

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
    const std::size_t close = name.find("):", end);
    const std::string_view inside = close == std::string_view::npos ? std::string_view{} : name.substr(end + 1, close - end - 1);
    double D = 0.0;
    const bool named = inside.starts_with("D=");
    const auto [at, error] = std::from_chars(inside.data() + (named ? 2 : 0), inside.data() + inside.size(), D);
    if (!named || error != std::errc{} || at != inside.data() + inside.size()) {
      throw Error("\"" + std::string(name) + "\": a calibration file is named as " +
                      std::string(name.substr(0, end)) + ":file or " + std::string(name.substr(0, end)) +
                      "(D=1.7):file",
                  {.code = ErrorCode::control_file, .input = InputPart::control_file});
    }
    reference.D = D;
    colon = close + 1;
  }
  reference.prefix = std::string(name.substr(0, colon + 1));
  reference.path = std::string(name.substr(colon + 1));
  return reference;
}

}  // namespace irteq
