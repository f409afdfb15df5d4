#include "report/csv_files.hpp"

#include <cerrno>
#include <cstring>
#include <fstream>
#include <random>

#include "irteq/error.hpp"

namespace irteq {

namespace {

std::string reason() { return errno != 0 ? std::strerror(errno) : "unknown error"; }

[[noreturn]] void fail(const std::string& message, const std::filesystem::path& path) {
  throw Error(message, {.code = ErrorCode::file_error, .input = InputPart::csv, .source = path.string()});
}

void write_file(const std::filesystem::path& path, const std::string& content) {
  errno = 0;
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  if (!out) fail("cannot open " + path.string() + " for writing: " + reason(), path);
  out.write(content.data(), static_cast<std::streamsize>(content.size()));
  out.close();
  if (!out) fail("cannot write " + path.string() + ": " + reason(), path);
}

// A name of the run's own beside the file, so that two runs into one folder
// do not write into each other's temporaries.
std::filesystem::path temporary_for(const std::filesystem::path& path, unsigned tag) {
  std::string name(1, '.');
  name.append(path.filename().string()).append(".part-").append(std::to_string(tag));
  return path.parent_path() / name;
}

// Not a folder that happens to bear the name: it holds no results.
void remove_result_file(const std::filesystem::path& path) {
  std::error_code error;
  if (std::filesystem::is_directory(path, error)) return;
  std::filesystem::remove(path, error);
  if (error && error != std::errc::not_a_directory) {
    fail("cannot remove " + path.string() + " of an earlier run: " + error.message(), path);
  }
}

}  // namespace

void replace_csv_files(const std::filesystem::path& folder, std::span<const CsvFile> files) {
  const unsigned tag = std::random_device{}();
  std::error_code ignored;
  try {
    for (const CsvFile& file : files) write_file(temporary_for(folder / file.name, tag), file.text);
    for (const CsvFile& file : files) {
      const std::filesystem::path path = folder / file.name;
      std::error_code error;
      std::filesystem::rename(temporary_for(path, tag), path, error);
      if (error) fail("cannot rename a temporary file to " + path.string() + ": " + error.message(), path);
    }
    for (const std::string_view name : csv_file_names) {
      bool written = false;
      for (const CsvFile& file : files) written = written || file.name == name;
      if (!written) remove_result_file(folder / name);
    }
  } catch (const Error&) {
    for (const CsvFile& file : files) std::filesystem::remove(temporary_for(folder / file.name, tag), ignored);
    for (const std::string_view name : csv_file_names) {
      if (!std::filesystem::is_directory(folder / name, ignored)) std::filesystem::remove(folder / name, ignored);
    }
    throw;
  }
}

void remove_csv_files(const std::filesystem::path& folder) {
  for (const std::string_view name : csv_file_names) remove_result_file(folder / name);
}

}  // namespace irteq
