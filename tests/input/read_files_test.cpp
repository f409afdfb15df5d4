// The readers on paths: a file without line ends (/dev/zero never ends) stops
// at the cap on the first line, title or control record alike; and the
// record of an input file, its SHA-256 against the published known answers.
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <string>

#include "irteq/error.hpp"
#include "irteq/files.hpp"
#include "support/binary_run.hpp"

namespace irteq::testing {
namespace {

TEST(ReadFiles, AFileWithoutLineEndsStopsAtTheCap) {
  const std::filesystem::path zeros = "/dev/zero";
  if (!std::filesystem::exists(zeros)) GTEST_SKIP() << "no /dev/zero";
  const std::function<void()> reads[] = {
      [&] { read_control(zeros); },
      [&] { read_items(zeros); },
      [&] { read_grid(zeros); },
      [&] { read_scale_table(zeros); },
      [&] { read_cut_scores(zeros); },
  };
  for (const auto& read : reads) {
    try {
      read();
      ADD_FAILURE() << "/dev/zero was read";
    } catch (const Error& error) {
      EXPECT_EQ(std::string(error.what()).substr(0, 52), "/dev/zero line 1: the line is longer than 1048576 ch");
      EXPECT_EQ(error.diagnostic().code, ErrorCode::limit_exceeded);
    }
  }
}

// FIPS 180-2's examples, the last longer than the 64 KiB read at a time;
// named through "..", which the canonical path leaves out.
TEST(ReadFiles, DescribeInputFileGivesSizeAndSha256) {
  TempDir folder;
  std::filesystem::create_directory(folder / "sub");
  const struct {
    std::string content;
    const char* sha256;
  } cases[] = {
      {"", "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855"},
      {"abc", "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad"},
      {std::string(1000000, 'a'), "cdc76e5c9914fb9281a1c7e284d73e67f1809a48a497200e046d39ccc7112cd0"},
  };
  for (const auto& c : cases) {
    write_file(folder / "file", c.content);
    const InputFileRecord record = describe_input_file(folder / "sub" / ".." / "file", "new_para");
    EXPECT_EQ(record.role, "new_para");
    EXPECT_EQ(record.name, (folder / "sub" / ".." / "file").string());
    EXPECT_EQ(record.path, std::filesystem::canonical(folder / "file").string());
    EXPECT_EQ(record.size, c.content.size());
    EXPECT_EQ(record.sha256, c.sha256);
  }
  if (std::filesystem::exists("/dev/zero")) {
    const InputFileRecord zeros = describe_input_file("/dev/zero", "control");
    EXPECT_FALSE(zeros.size) << "a device is not read again";
    EXPECT_EQ(zeros.sha256, "");
  }
  EXPECT_THROW(describe_input_file(folder / "missing", "old_para"), Error);
}

}  // namespace
}  // namespace irteq::testing
