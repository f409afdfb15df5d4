#pragma once

#include <string_view>

#include "irteq/files.hpp"

namespace irteq {

// The report's echo of a file as a reader reads it; silent when no sink was given.
class Echo {
 public:
  explicit Echo(const LineSink& sink) : sink_(sink) {}
  void line(std::string_view text) const {
    if (sink_) sink_(text);
  }
  void empty_line() const { line({}); }

 private:
  const LineSink& sink_;
};

}  // namespace irteq
