#include "driver/control_file.hpp"

#include <array>
#include <filesystem>
#include <fstream>
#include <string_view>

#include "common/free_format_reader.hpp"
#include "common/open_input_file.hpp"
#include "common/run_error.hpp"

namespace irteq {

namespace {

constexpr int record_count = 6;
constexpr std::array<std::string_view, slot_count> keywords{"output", "old_para", "old_quad",
                                                            "raw2scale", "new_para", "new_quad"};

std::string_view without_trailing_blanks(std::string_view text) {
  const std::size_t end = text.find_last_not_of(' ');
  return end == std::string_view::npos ? std::string_view{} : text.substr(0, end + 1);
}

}  // namespace

ControlRecords read_control_records(const std::string& control_file_name) {
  std::ifstream in;
  open_input_file(in, control_file_name, "control file");
  FreeFormatReader reader(in, control_file_name);
  ControlRecords records;
  std::string keyword;  // both keep what they held when a read leaves them unread
  std::string file_name;
  for (int record = 0; record < record_count; ++record) {
    reader.begin_read();
    if (reader.get_text(keyword) == Got::end_of_file || reader.get_text(file_name) == Got::end_of_file) {
      reader.fail("end of file after " + std::to_string(record) + " of the six keyword records");
    }
    for (std::size_t slot = 0; slot < keywords.size(); ++slot) {
      if (without_trailing_blanks(keyword) == keywords[slot]) {
        // A path cannot hold a NUL: opening would silently use the part before it.
        if (file_name.find('\0') != std::string::npos) {
          reader.fail("the file name of " + std::string(keywords[slot]) + " holds a NUL character");
        }
        records.names[slot] = std::string(without_trailing_blanks(file_name));
        records.named[slot] = true;
        break;
      }
    }
  }
  return records;
}

FileNames read_control_file(const std::string& control_file_name) {
  const auto [names, named] = read_control_records(control_file_name);
  std::string missing;
  for (std::size_t slot = 0; slot < keywords.size(); ++slot) {
    if (named[slot] && names[slot].empty()) {
      throw RunError(control_file_name + ": the keyword " + std::string(keywords[slot]) + " names no file");
    }
    if (!named[slot]) missing += (missing.empty() ? "" : ", ") + std::string(keywords[slot]);
  }
  if (!missing.empty()) throw RunError(control_file_name + ": no record names the keyword(s) " + missing);
  // The report is emptied before anything is read: it must not be one of the inputs.
  std::error_code no_such_file;
  for (std::size_t slot = slot_old_para; slot < keywords.size(); ++slot) {
    if (std::filesystem::equivalent(names[slot_output], names[slot], no_such_file)) {
      throw RunError(control_file_name + ": the report " + names[slot_output] + " is also the " +
                     std::string(keywords[slot]) + " file; it would be overwritten");
    }
  }
  if (std::filesystem::equivalent(names[slot_output], control_file_name, no_such_file)) {
    throw RunError(control_file_name + ": the report " + names[slot_output] + " is the control file itself");
  }
  return names;
}

}  // namespace irteq
