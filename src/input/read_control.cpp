// Reader of control files: six free-format records of a keyword and a file
// name, in any order.
#include <array>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string_view>

#include "common/free_format_reader.hpp"
#include "common/open_input_file.hpp"
#include "input/calibration_reference.hpp"
#include "input/control_records.hpp"

namespace irteq {

namespace {

constexpr int record_count = 6;
// Records a control file may add, anywhere among the six or after them: none counts as one of the six.
constexpr std::array<std::string_view, 4> optional_keywords{"common_items", "new_cov", "old_cov", "cut_scores"};
constexpr std::array<std::string ControlFile::*, 4> optional_slots{&ControlFile::common_items, &ControlFile::new_cov,
                                                                   &ControlFile::old_cov, &ControlFile::cut_scores};
constexpr std::array<std::string_view, 6> keywords{"output", "old_para", "old_quad", "raw2scale", "new_para", "new_quad"};
constexpr std::array<std::string ControlFile::*, 6> slots{&ControlFile::output,    &ControlFile::old_para,
                                                           &ControlFile::old_quad,  &ControlFile::raw2scale,
                                                           &ControlFile::new_para,  &ControlFile::new_quad};

std::string_view without_trailing_blanks(std::string_view text) {
  const std::size_t end = text.find_last_not_of(' ');
  return end == std::string_view::npos ? std::string_view{} : text.substr(0, end + 1);
}

// The file a record names: an item parameter record may name a calibration
// program's file behind its prefix ("flexmirt:formx-prm.txt").
std::string file_of(const ControlFile& files, std::string ControlFile::*slot) {
  if (slot == &ControlFile::old_para || slot == &ControlFile::new_para) {
    if (const auto reference = calibration_reference(files.*slot)) return reference->path;
  }
  return files.*slot;
}

[[noreturn]] void fail(const std::string& control_file_name, const std::string& what) {
  throw Error(control_file_name + ": " + what,
              {.code = ErrorCode::control_file, .input = InputPart::control_file, .source = control_file_name});
}

}  // namespace

ControlFile read_control_records(const std::string& control_file_name) {
  std::ifstream in;
  open_input_file(in, control_file_name, "control file");
  FreeFormatReader reader(in, control_file_name);
  ControlFile files;
  std::array<bool, 6> named{};
  // Both start empty on every record: a value the read leaves unread must not
  // carry over from the record before (a lone slash, two commas).
  std::string keyword;
  std::string file_name;
  Got got_name = Got::kept;
  const auto read_keyword = [&] {
    reader.begin_read();
    keyword.clear();
    file_name.clear();
    return reader.get_text(keyword);
  };
  const auto read_name = [&] { return got_name = reader.get_path(file_name); };
  // The optional record's slot when the keyword names one, else none.
  const auto optional_slot = [&]() -> std::optional<std::size_t> {
    for (std::size_t slot = 0; slot < optional_keywords.size(); ++slot) {
      if (without_trailing_blanks(keyword) == optional_keywords[slot]) return slot;
    }
    return std::nullopt;
  };
  // The record's name, refused when the record holds none or one that cannot be a path.
  const auto name_of = [&](std::string_view what) {
    // A path cannot hold a NUL: opening would silently use the part before it.
    if (file_name.find('\0') != std::string::npos) {
      reader.fail("the file name of " + std::string(what) + " holds a NUL character",
                  {.code = ErrorCode::control_file, .input = InputPart::control_file});
    }
    std::string name(without_trailing_blanks(file_name));
    if (got_name != Got::value || name.empty()) {
      reader.fail("the keyword " + std::string(what) + " names no file",
                  {.code = ErrorCode::control_file, .input = InputPart::control_file});
    }
    return name;
  };
  for (int record = 0; record < record_count;) {
    if (read_keyword() == Got::end_of_file || read_name() == Got::end_of_file) {
      reader.fail("end of file after " + std::to_string(record) + " of the six keyword records",
                  {.code = ErrorCode::syntax_error, .input = InputPart::control_file});
    }
    if (const auto slot = optional_slot()) {
      files.*optional_slots[*slot] = name_of(optional_keywords[*slot]);
      continue;
    }
    ++record;
    for (std::size_t slot = 0; slot < keywords.size(); ++slot) {
      if (without_trailing_blanks(keyword) == keywords[slot]) {
        files.*slots[slot] = name_of(keywords[slot]);
        named[slot] = true;
        break;
      }
    }
  }
  // After the six, lines that are not records stay ignored, as they always
  // were; only the optional records are taken from them.
  for (;;) {
    std::optional<std::size_t> slot;
    try {
      if (read_keyword() == Got::end_of_file) break;
      slot = optional_slot();
      if (!slot) continue;
      read_name();  // the end of the file leaves the record without a name
    } catch (const Error& error) {
      if (error.diagnostic().code != ErrorCode::syntax_error) throw;
      continue;  // a line that is no record
    }
    files.*optional_slots[*slot] = name_of(optional_keywords[*slot]);
  }
  std::string missing;
  for (std::size_t slot = 0; slot < keywords.size(); ++slot) {
    if (!named[slot]) missing += (missing.empty() ? "" : ", ") + std::string(keywords[slot]);
  }
  if (!missing.empty()) fail(control_file_name, "no record names the keyword(s) " + missing);
  return files;
}

void check_report_is_not_an_input(const ControlFile& files, const std::string& control_file_name) {
  std::error_code no_such_file;
  for (std::size_t slot = 1; slot < keywords.size(); ++slot) {
    if (std::filesystem::equivalent(files.output, file_of(files, slots[slot]), no_such_file)) {
      fail(control_file_name, "the report " + files.output + " is also the " + std::string(keywords[slot]) +
                                  " file; it would be overwritten");
    }
  }
  for (std::size_t slot = 0; slot < optional_slots.size(); ++slot) {
    const std::string& name = files.*optional_slots[slot];
    if (!name.empty() && std::filesystem::equivalent(files.output, name, no_such_file)) {
      fail(control_file_name, "the report " + files.output + " is also the " + std::string(optional_keywords[slot]) +
                                  " file; it would be overwritten");
    }
  }
  if (std::filesystem::equivalent(files.output, control_file_name, no_such_file)) {
    fail(control_file_name, "the report " + files.output + " is the control file itself");
  }
}

ControlFile read_control(const std::filesystem::path& control_file) {
  const std::string control_file_name = control_file.string();
  ControlFile files = read_control_records(control_file_name);
  // Names resolve against the control file's own folder, so a run does not
  // depend on the folder it starts in.
  const std::filesystem::path folder = control_file.parent_path();
  for (std::string ControlFile::*slot : slots) {
    if (slot == &ControlFile::old_para || slot == &ControlFile::new_para) {
      if (auto reference = calibration_reference(files.*slot)) {
        reference->path = (folder / std::filesystem::path(reference->path)).string();
        if (!reference->thresholds.empty()) {
          reference->thresholds = (folder / std::filesystem::path(reference->thresholds)).string();
        }
        files.*slot = calibration_name(*reference);
        continue;
      }
    }
    files.*slot = (folder / std::filesystem::path(files.*slot)).string();
  }
  for (std::string ControlFile::*slot : optional_slots) {
    if (!(files.*slot).empty()) files.*slot = (folder / std::filesystem::path(files.*slot)).string();
  }
  check_report_is_not_an_input(files, control_file_name);
  files.control = control_file_name;
  return files;
}

}  // namespace irteq
