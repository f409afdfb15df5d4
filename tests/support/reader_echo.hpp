#pragma once

#include <sstream>
#include <string>
#include <string_view>

#include "irteq/files.hpp"

namespace irteq::testing {

// Has read (called with a stream over content and the options) read content,
// appending its echo to echo as report lines ending in CR LF. Returns what
// read returns; its errors pass through, and echo keeps what came before.
template <class Read>
auto read_with_echo(const std::string& content, std::string& echo, Read&& read) {
  std::istringstream in(content);
  const ReadOptions options{.echo = [&](std::string_view line) { echo.append(line).append("\r\n"); }, .warning = {}};
  return read(in, options);
}

// The message of the Error that reading content throws; empty if it reads.
template <class Read>
std::string read_error(const std::string& content, Read&& read) {
  std::string echo;
  try {
    read_with_echo(content, echo, read);
  } catch (const Error& error) {
    return error.what();
  }
  return {};
}

}  // namespace irteq::testing
