// The readers on paths: a file without line ends (/dev/zero never ends) stops
// at the cap on the first line, title or control record alike.
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <string>

#include "irteq/error.hpp"
#include "irteq/files.hpp"

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

}  // namespace
}  // namespace irteq::testing
