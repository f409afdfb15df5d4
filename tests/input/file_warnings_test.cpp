// The readers' warnings: every one becomes the error of strict mode with its
// own text, and a decimal comma is an error whether strict or not.
#include <gtest/gtest.h>

#include <functional>
#include <sstream>
#include <string>
#include <vector>

#include "irteq/error.hpp"
#include "irteq/files.hpp"

namespace irteq::testing {
namespace {

using Read = std::function<void(std::istream&, const ReadOptions&)>;
const Read items = [](std::istream& in, const ReadOptions& o) { read_items(in, "f.par", o); };
const Read grid = [](std::istream& in, const ReadOptions& o) { read_grid(in, "g.qd", o); };
const Read scale = [](std::istream& in, const ReadOptions& o) { read_scale_table(in, "y.scl", o); };

// The warnings of a read, and the error it throws (empty when none).
struct Outcome {
  std::vector<std::string> warnings;
  std::string error;
  ErrorCode code = ErrorCode::file_error;
};

Outcome run(const Read& read, const std::string& content, bool strict) {
  Outcome outcome;
  std::istringstream in(content);
  try {
    read(in, {.echo = {}, .warning = [&](std::string_view w) { outcome.warnings.emplace_back(w); }, .strict = strict});
  } catch (const Error& error) {
    outcome.error = error.what();
    outcome.code = error.diagnostic().code;
  }
  return outcome;
}

TEST(FileWarnings, StrictModeThrowsTheFirstWarningAsItsError) {
  const struct {
    const Read& read;
    std::string content;
  } cases[] = {
      {grid, "t\n-1 1 7\n1 1 8\n"},
      {grid, "-1 1\n1 1\n"},
      {scale, "t\n0 10 0.5 9\n0 1 1\n"},
      {scale, "t\n0 10 0.5\n0 1 1 2\n"},
      {items, " t\n1 SN 3\n0 1 2 3\n1 0 1\n"},
      {items, " t\n1 L3 2\n0 1\n1.7 1 0 0.2 0.3\n"},
  };
  for (const auto& c : cases) {
    const Outcome lenient = run(c.read, c.content, false);
    ASSERT_FALSE(lenient.warnings.empty()) << c.content;
    EXPECT_EQ(lenient.error, "") << c.content;
    const Outcome strict = run(c.read, c.content, true);
    EXPECT_EQ(strict.error, lenient.warnings.front()) << c.content;
    EXPECT_EQ(strict.code, ErrorCode::input_warning) << c.content;
    EXPECT_TRUE(strict.warnings.empty()) << c.content;
  }
}

// A whole number, a comma and digits, where a real is read and numbers are
// left over; other commas between digits separate values.
TEST(FileWarnings, ADecimalCommaIsAnErrorOtherCommasSeparate) {
  const struct {
    const Read& read;
    std::string content;
    const char* error;  // empty: a read with the plain warning
  } cases[] = {
      {grid, "t\n0,5 2\n", "g.qd line 2: '0,5' has a decimal comma, which reads as two values; write decimal points"},
      {grid, "t\n-1 1,25\n", "g.qd line 2: '1,25' has a decimal comma, which reads as two values; write decimal points"},
      {scale, "t\n0 10 0,5\n0 1 1\n",
       "y.scl line 2: '0,5' has a decimal comma, which reads as two values; write decimal points"},
      {items, " t\n1 L3 2\n0 1\n1.7 1 0 0,2\n",
       "f.par line 4: item 1 (number 1, L3, 2 categories): parameters: '0,2' has a decimal comma, which reads as two "
       "values; write decimal points"},
      {grid, "t\n-1.5,1 2\n", ""},
      {grid, "t\n-1E+00,1 2\n", ""},
      {scale, "t\n0,10 0.5 9\n0 1 1\n", ""},
      {items, " t\n1 SN 2\n0,1,2\n1 0\n", ""},
  };
  for (const auto& c : cases) {
    for (const bool strict : {false, true}) {
      const Outcome outcome = run(c.read, c.content, strict);
      if (*c.error != '\0') {
        EXPECT_EQ(outcome.error, c.error) << c.content;
        EXPECT_EQ(outcome.code, ErrorCode::syntax_error) << c.content;
      } else {
        EXPECT_EQ(outcome.warnings.size() + (strict ? 1 : 0), 1u) << c.content;
        EXPECT_EQ(outcome.code, strict ? ErrorCode::input_warning : ErrorCode::file_error) << c.content;
      }
    }
  }
}

}  // namespace
}  // namespace irteq::testing
