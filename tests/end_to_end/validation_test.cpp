// make validate's program: every published value of validation/ passes by
// both front ends, and the same program fails an example whose published
// value was moved by one unit in its last digit, so its "yes" means something.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "support/binary_run.hpp"

namespace irteq::testing {
namespace {

namespace fs = std::filesystem;

struct Validation {
  int exit_status = -1;
  std::string output;
};

Validation run_validate(const std::string& examples) {
  TempDir io;
  const std::string command = std::string("'") + IRTEQ_VALIDATE + "' '" + IRTEQ_BINARY + "' " + examples + " > '" +
                              (io / "stdout").string() + "'";
  const int status = std::system(command.c_str());
  return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, read_file(io / "stdout")};
}

std::string quoted(const fs::path& path) {
  std::string text(1, '\'');
  text += path.string();
  text += '\'';
  return text;
}

TEST(Validation, PublishedValuesPassAndAMovedOneFails) {
  const fs::path examples(IRTEQ_VALIDATION_DIR);
  const Validation published = run_validate(quoted(examples / "kb04") + " " + quoted(examples / "est2pl") + " " +
                                            quoted(examples / "lsat7"));
  EXPECT_EQ(published.exit_status, 0) << published.output;
  EXPECT_NE(published.output.find("every value passes: 26 of 26"), std::string::npos) << published.output;

  TempDir folder;
  fs::copy(examples / "est2pl", folder / "est2pl");
  std::string expected = read_file(folder / "est2pl" / "expected.csv");
  const std::size_t at = expected.find(",0.021344,");  // Haebara's se_A
  ASSERT_NE(at, std::string::npos);
  expected.replace(at, 10, ",0.021345,");
  write_file(folder / "est2pl" / "expected.csv", expected);
  const Validation moved = run_validate(quoted(folder / "est2pl"));
  EXPECT_EQ(moved.exit_status, 1) << moved.output;
  EXPECT_NE(moved.output.find("7 of 8 values pass"), std::string::npos) << moved.output;
  const std::size_t row = moved.output.find("haebara se_A");
  ASSERT_NE(row, std::string::npos);
  EXPECT_EQ(moved.output.substr(moved.output.find('\n', row) - 2, 2), "NO") << moved.output;
}

}  // namespace
}  // namespace irteq::testing
