#pragma once

#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <utility>

namespace irteq {

enum class ErrorCode {
  file_error,         // a file cannot be opened, read or written
  syntax_error,       // text that is not the value expected there, or a file that ends too soon
  limit_exceeded,     // beyond the limits of a run (limits.hpp)
  invalid_input,      // a value the models cannot use: categories, parameters, weights, w2, scale table
  unknown_item_type,  // an item type code no model knows
  control_file,       // a control file that does not name the six files properly
  not_finite,         // results that are not finite numbers
  input_warning,      // a warning of the readers, made an error by strict mode
  linking_failed,     // the applied linking method found no constants: no convergence, or A <= 0
  interrupted,        // the caller's progress callback asked a long computation to stop
};

// The input an error concerns.
enum class InputPart {
  none,
  control_file,
  items_x,
  items_y,
  grid_group1,
  grid_group2,
  scale_table,
  report,
  csv,
  common_items,
  cut_scores,
};

// Each code's and part's name: the enumerator's own ("file_error", "items_x",
// "none"); the parsers take exactly these and give none for any other text.
std::string_view error_code_name(ErrorCode code);
std::optional<ErrorCode> error_code(std::string_view name);
std::string_view input_part_name(InputPart part);
std::optional<InputPart> input_part(std::string_view name);

// Where an error was found. Counts are from 1; 0 means not applicable.
struct Diagnostic {
  ErrorCode code = ErrorCode::invalid_input;
  InputPart input = InputPart::none;
  std::string source{};  // the file, or the input's name when it was built in memory
  int line = 0;          // line of the file
  int item = 0;          // position of the item in its form
  int row = 0;           // quadrature point, scale table row or common-item pair
  int score_point = 0;   // form score point
};

// A failure of a run. what() is the whole message, naming where it was found.
class Error : public std::runtime_error {
 public:
  Error(const std::string& message, Diagnostic diagnostic)
      : std::runtime_error(message), diagnostic_(std::move(diagnostic)) {}
  const Diagnostic& diagnostic() const noexcept { return diagnostic_; }

 private:
  Diagnostic diagnostic_;
};

}  // namespace irteq
