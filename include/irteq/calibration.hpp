#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "irteq/covariance.hpp"
#include "irteq/input.hpp"

namespace irteq {

// The calibration programs whose parameter files irteq reads (docs/calibration-files.md,
// a page per program in docs/calibration/).
enum class CalibrationProgram { flexmirt, irtpro, parscale, bilog, winsteps };

// "flexmirt", "irtpro", "parscale", "bilog", "winsteps".
std::string_view calibration_program_name(CalibrationProgram program);
// The program of a name (exact, lower case); none for any other text.
std::optional<CalibrationProgram> calibration_program(std::string_view name);

struct CalibrationOptions {
  // The metric of the printed slopes, for the programs whose files do not
  // say it (PARSCALE, BILOG-MG): 1 or 1.7, never guessed. flexMIRT and
  // IRTPRO print slope-intercept estimates on the logistic metric (D = 1).
  std::optional<double> D{};
  // flexMIRT's or IRTPRO's -cov.txt; none when empty.
  std::filesystem::path covariance{};
  // Winsteps' SFILE= for the rating-scale or partial-credit thresholds.
  std::filesystem::path thresholds{};
};

// A group line of flexMIRT's or IRTPRO's -prm.txt: the ability distribution
// the program estimated or fixed for the group that took the form. mean and
// variance are NaN when the line is not one factor's mean and variance.
struct CalibrationGroup {
  int number = 0;
  std::string label{};
  double mean = 0.0;
  double variance = 1.0;
};

struct CalibrationFile {
  // In file order, numbered 1..n, each with the label the program gave it.
  std::vector<Item> items;
  // Over irteq's parameters after D (covariance_size(items)), carried from
  // the covariance file by the conversion's exact Jacobian; none when no
  // covariance file was named. flexMIRT and IRTPRO estimate an L3 item's
  // logit(c): its rows stay those of logit(c) (GuessingMetric::logit).
  std::optional<Covariance> covariance;
  // The file's group lines in file order (flexMIRT, IRTPRO); a grid for the
  // form's group, taken as normal, has their mean and variance (R's normal_grid()).
  std::vector<CalibrationGroup> groups{};
};

// Reads a calibration program's item parameter file into irteq items. Throws
// Error naming the file, the line and the item's label on what irteq does not
// take: a multidimensional item, a four-parameter item, a model code the
// program's documentation does not give.
CalibrationFile read_calibration(const std::filesystem::path& file, CalibrationProgram program,
                                 const CalibrationOptions& options = {});

}  // namespace irteq
