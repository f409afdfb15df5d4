#include "driver/report_file.hpp"

#include <cerrno>
#include <cstring>
#include <utility>

#include "irteq/error.hpp"

namespace irteq {

namespace {

std::string system_reason() { return errno != 0 ? std::strerror(errno) : "unknown error"; }

}  // namespace

ReportFile::ReportFile(std::string file_name) : file_name_(std::move(file_name)) {
  errno = 0;
  out_.open(file_name_, std::ios::out | std::ios::binary | std::ios::trunc);
  if (!out_) {
    throw Error("cannot open report file " + file_name_ + " for writing: " + system_reason(),
                {.code = ErrorCode::file_error, .input = InputPart::report, .source = file_name_});
  }
}

void ReportFile::check() {
  if (!out_) {
    throw Error("cannot write report file " + file_name_ + ": " + system_reason(),
                {.code = ErrorCode::file_error, .input = InputPart::report, .source = file_name_});
  }
}

void ReportFile::write_line(std::string_view line) {
  errno = 0;
  out_.write(line.data(), static_cast<std::streamsize>(line.size()));
  out_.write("\r\n", 2);
  check();
}

void ReportFile::close() {
  if (!out_.is_open()) return;
  errno = 0;
  out_.flush();
  check();
  out_.close();
  check();
}

}  // namespace irteq
