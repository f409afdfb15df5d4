#pragma once

#include <cstddef>
#include <span>
#include <vector>

#include "common/kernel_path.hpp"
#include "standard_errors/frequency_layout.hpp"

namespace irteq {

// Working storage of one worker for the form's tiles.
struct FrequencyScratch {
  explicit FrequencyScratch(const FrequencyLayout& form);
  std::vector<double> rows;     // the form's rows over the tile
  std::vector<double> factors;  // each item's factor
  std::vector<double> suffix;   // for item j, the product of the factors after it
  std::vector<double> prefix;   // the product of the factors before the current item
  std::vector<double> basis;    // the product of the other factors times each basis function of the current item
  std::vector<double> dtheta;   // the derivative in theta at the current grid point
  std::vector<double> sums;     // the tile's sums, column by column
};

// The derivatives of the form's generating function in every column (the
// form's parameters, A, B) at the tile of form.width frequencies from
// `first` (1 + a multiple of the width), into transforms laid out as
// FrequencyLayout::powers is, one row per column. Every frequency's
// arithmetic is the same whatever the tile and the instruction set.
void frequency_tile(const FrequencyLayout& form, std::size_t first, FrequencyScratch& scratch,
                    std::span<double> transforms);

// The same on a given path, which must be supported (kernel_path_supported):
// for tests. The other form takes kernel_path().
void frequency_tile(const FrequencyLayout& form, std::size_t first, FrequencyScratch& scratch,
                    std::span<double> transforms, KernelPath path);

}  // namespace irteq
