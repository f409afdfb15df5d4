// A linked run equals a plain run on the files it banks: form X's items and
// group 1's grid on form Y's scale (linked_items_x.par, linked_grid_group1.qd)
// give the very same results, to the last bit, from the console program and
// from the library, for every method, on a form of all five models.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "common/score_range.hpp"
#include "irteq/irteq.hpp"
#include "irteq/linking.hpp"
#include "support/binary_run.hpp"
#include "support/mixed_form.hpp"

namespace irteq::testing {
namespace {

namespace fs = std::filesystem;

// Form X: form Y on a scale theta_X = (theta_Y - 0.4) / 1.3, its items a little
// drifted so that no method fits exactly.
void write_forms(const TempDir& folder) {
  const std::vector<Item> y = mixed_form();
  std::vector<Item> x = transform_items(y, 1.0 / 1.3, -0.4 / 1.3);
  x[0].parameters[2] += 0.15;
  x[3].parameters[0] *= 1.1;
  x[6].parameters[2] -= 0.1;
  std::ofstream x_file(folder / "x.par");
  write_items(x, x_file, "form x");
  std::ofstream y_file(folder / "y.par");
  write_items(y, y_file, "form y");
  std::ofstream group1(folder / "g1.qd");
  write_grid(normal_shaped_grid(-0.2, 0.9), group1, "group 1");
  std::ofstream group2(folder / "g2.qd");
  write_grid(normal_shaped_grid(), group2, "group 2");
  const ScoreRange range = score_range(y);
  std::ofstream scale(folder / "y.scl");
  scale << "form y scale\n100 " << 100 + 2 * (range.highest - range.lowest) << " 0.4\n";
  for (long long raw = range.lowest; raw <= range.highest; ++raw) {
    scale << raw << ' ' << 100 + 2 * (raw - range.lowest) << ' ' << 100 + 2 * (raw - range.lowest) << '\n';
  }
}

void write_control(const TempDir& folder, const std::string& name, const std::string& new_para,
                   const std::string& new_quad, const std::string& common_items) {
  std::ofstream control(folder / name);
  // Quoted: a slash ends an unquoted name.
  control << "output " << name << ".report\nold_para y.par\nold_quad g2.qd\nraw2scale y.scl\nnew_para \"" << new_para
          << "\"\nnew_quad \"" << new_quad << "\"\n";
  if (!common_items.empty()) control << "common_items " << common_items << '\n';
}

// The report from its result sections on: the linked run's has the linking before them.
std::string results_of(const fs::path& report) {
  const std::string text = read_file(report);
  return text.substr(text.find("true score equating output"));
}

TEST(LinkedRuns, EqualPlainRunsOnTheLinkedFiles) {
  TempDir folder;
  write_forms(folder);
  for (const std::string method : {"mean-mean", "mean-sigma", "haebara", "stocking-lord", "haebara symmetric",
                                   "stocking-lord symmetric"}) {
    SCOPED_TRACE(method);
    std::ofstream(folder / "common.txt") << "anchors\n" << method << "\n1 1\n2 2\n3 3\n4 4\n5 5\n6 6\n7 7\n8 8\n";
    write_control(folder, "linked", "x.par", "g1.qd", "common.txt");
    const BinaryRun linked = run_irteq_batch(folder.path(), {"linked", "--csv", "linked-csv"});
    ASSERT_EQ(linked.exit_status, 0) << linked.errors;
    write_control(folder, "plain", "linked-csv/linked_items_x.par", "linked-csv/linked_grid_group1.qd", "");
    const BinaryRun plain = run_irteq_batch(folder.path(), {"plain", "--csv", "plain-csv"});
    ASSERT_EQ(plain.exit_status, 0) << plain.errors;
    for (const char* csv : {"equivalents.csv", "distributions.csv", "moments.csv"}) {
      EXPECT_EQ(read_file(folder / "linked-csv" / csv), read_file(folder / "plain-csv" / csv)) << csv;
    }
    EXPECT_FALSE(fs::exists(folder / "plain-csv" / "linking.csv"));
    EXPECT_EQ(results_of(folder / "linked.report"), results_of(folder / "plain.report"));

    const RunInput run = read_run(read_control(folder / "linked"));
    ASSERT_TRUE(run.linking.has_value());
    const EquatingResult in_memory = irteq::run(run).equating;
    const EquatingResult from_files = equate(read_control_file(folder / "plain"));
    EXPECT_EQ(in_memory.true_score.equivalents, from_files.true_score.equivalents);
    EXPECT_EQ(in_memory.observed_score.equivalents, from_files.observed_score.equivalents);
    EXPECT_EQ(in_memory.x.synthetic, from_files.x.synthetic);
  }
}

}  // namespace
}  // namespace irteq::testing
