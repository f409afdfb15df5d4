#pragma once

#include <filesystem>
#include <span>
#include <string>
#include <string_view>

#include "irteq/covariance.hpp"
#include "irteq/input.hpp"

// Writers of a run's input files in the layouts the readers accept, so that a
// benchmark can run the whole program on forms built in memory.
namespace irteq::bench {

// Title line, then per item a header line, a line of category scores and a
// line of parameters.
void write_item_parameter_file(const std::filesystem::path& path, std::span<const Item> items,
                               std::string_view title);

// Title line, then one ability point and its weight per line.
void write_quadrature_file(const std::filesystem::path& path, const QuadratureGrid& grid, std::string_view title);

// Title line, the scale limits and w2, then one row per form Y score point
// (lowest first): a smooth, strictly increasing conversion from the raw
// scores onto scale_min to scale_max, and its rounded value.
void write_scale_file(const std::filesystem::path& path, long long lowest_raw, long long highest_raw, int scale_min,
                      int scale_max, double w2, std::string_view title);

// Title line, then one row of the covariance per line, every value in
// %.17g, which reads back to the same double.
void write_covariance_file(const std::filesystem::path& path, const Covariance& covariance, std::string_view title);

// The six keyword records, with every file name quoted so that folders with
// slashes or blanks in their names read whole.
void write_control_file(const std::filesystem::path& path, const std::filesystem::path& folder);

// The names write_control_file gives the files, relative to its folder.
inline constexpr const char* report_name = "report.txt";
inline constexpr const char* form_y_name = "formy.par";
inline constexpr const char* group2_name = "group2.qd";
inline constexpr const char* scale_name = "formy.scl";
inline constexpr const char* form_x_name = "formx.par";
inline constexpr const char* group1_name = "group1.qd";

// A fresh folder under the system's temporary directory, removed with its contents.
class TemporaryFolder {
 public:
  explicit TemporaryFolder(std::string_view prefix);
  ~TemporaryFolder();
  TemporaryFolder(const TemporaryFolder&) = delete;
  TemporaryFolder& operator=(const TemporaryFolder&) = delete;
  const std::filesystem::path& path() const { return path_; }

 private:
  std::filesystem::path path_;
};

}  // namespace irteq::bench
