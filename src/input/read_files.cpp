// The readers on files named by path, opened as existing files with the
// messages the console program gives.
#include <fstream>

#include "common/open_input_file.hpp"
#include "irteq/files.hpp"

namespace irteq {

std::vector<Item> read_items(const std::filesystem::path& file, const ReadOptions& options) {
  std::ifstream in;
  open_input_file(in, file.string(), "item parameter file");
  return read_items(in, file.string(), options);
}

QuadratureGrid read_grid(const std::filesystem::path& file, const ReadOptions& options) {
  std::ifstream in;
  open_input_file(in, file.string(), "quadrature points file");
  return read_grid(in, file.string(), options);
}

RawToScaleFile read_scale_table(const std::filesystem::path& file, const ReadOptions& options) {
  std::ifstream in;
  open_input_file(in, file.string(), "raw-to-scale file");
  return read_scale_table(in, file.string(), options);
}

CommonItemsFile read_common_items(const std::filesystem::path& file, const ReadOptions& options) {
  std::ifstream in;
  open_input_file(in, file.string(), "common-item file");
  return read_common_items(in, file.string(), options);
}

CutScores read_cut_scores(const std::filesystem::path& file, const ReadOptions& options) {
  std::ifstream in;
  open_input_file(in, file.string(), "cut-score file");
  return read_cut_scores(in, file.string(), options);
}

Covariance read_covariance(const std::filesystem::path& file, const std::vector<Item>& items,
                           const ReadOptions& options) {
  std::ifstream in;
  open_input_file(in, file.string(), "covariance file");
  return read_covariance(in, file.string(), items, options);
}

}  // namespace irteq
