// Numbers are read and written in the C conventions whatever the process
// locale: a host process (an R session, say) may run under a comma-decimal one.
#include "common/number_text.hpp"

#include <gtest/gtest.h>
#include <unistd.h>

#include <clocale>
#include <cmath>
#include <filesystem>
#include <locale>
#include <sstream>

#include "driver/console.hpp"
#include "irteq/calibration.hpp"
#include "driver/run_dialogue.hpp"
#include "support/binary_run.hpp"

namespace irteq::testing {
namespace {

namespace fs = std::filesystem;

TEST(NumberText, ReadsRealsAsWritten) {
  struct Case {
    const char* text;
    bool fits;
    double value;
  } const cases[] = {
      {"1.5", true, 1.5},       {"+3", true, 3.0},          {"-.5", true, -0.5},      {"2.", true, 2.0},
      {"1.5D-02", true, 0.015}, {"1e-310", true, 1e-310},   {"1e-400", true, 0.0},    {"1e400", false, 0.0},
      {"-1e400", false, 0.0},   {"0.001e-330", true, 0.0},  {"12345e305", false, 0.0}, {"0.0001e310", true, 1e306},
  };
  for (const Case& c : cases) {
    double value = -7.0;
    EXPECT_EQ(parse_real(c.text, value), c.fits) << c.text;
    if (c.fits) {
      EXPECT_EQ(value, c.value) << c.text;
    }
  }
  double value = 0.0;
  ASSERT_TRUE(parse_real("-1e-400", value));
  EXPECT_TRUE(value == 0.0 && std::signbit(value));
}

// A whole run of the bundled example in this process under a German locale
// gives the golden report byte for byte, and a flexMIRT file reads as under C.
TEST(NumberText, ARunUnderACommaDecimalLocaleMatchesTheGoldenReport) {
  if (std::setlocale(LC_ALL, "de_DE.UTF-8") == nullptr) GTEST_SKIP() << "the locale de_DE.UTF-8 is not installed";
  std::locale::global(std::locale("de_DE.UTF-8"));
  std::ostringstream probe;
  probe << 1.5;
  ASSERT_EQ(probe.str(), "1,5");  // the locale is in force

  TempDir folder;
  const fs::path example = fs::path(IRTEQ_SOURCE_DIR) / "examples" / "spring-grade7";
  for (const auto& entry : fs::directory_iterator(example)) {
    if (entry.path().filename() != "report.txt") fs::copy_file(entry.path(), folder / entry.path().filename().string());
  }
  const fs::path here = fs::current_path();
  fs::current_path(folder.path());
  std::istringstream typed("control.txt\n\n");
  std::ostringstream shown;
  std::ostringstream errors;
  Console console{typed, shown};
  const int status = run_dialogue(console, errors);
  fs::current_path(here);
  // A calibration program's files too: the parameters and the covariance.
  const fs::path flexmirt = fs::path(IRTEQ_SOURCE_DIR) / "examples" / "flexmirt-grade7";
  const auto read_flexmirt = [&] {
    return read_calibration(flexmirt / "formx-prm.txt", CalibrationProgram::flexmirt,
                            {.covariance = flexmirt / "formx-cov.txt"});
  };
  const CalibrationFile under_commas = read_flexmirt();
  std::locale::global(std::locale::classic());
  std::setlocale(LC_ALL, "C");
  const CalibrationFile under_points = read_flexmirt();
  ASSERT_EQ(under_commas.items.size(), under_points.items.size());
  for (std::size_t i = 0; i < under_points.items.size(); ++i) {
    EXPECT_EQ(under_commas.items[i].parameters, under_points.items[i].parameters);
  }
  EXPECT_EQ(under_commas.covariance->values, under_points.covariance->values);

  EXPECT_EQ(status, 0) << errors.str();
  const fs::path golden = fs::path(IRTEQ_SOURCE_DIR) / "tests" / "end_to_end" / "golden" / "spring-grade7.report";
  EXPECT_TRUE(read_file(folder / "report.txt") == read_file(golden));
}

}  // namespace
}  // namespace irteq::testing
