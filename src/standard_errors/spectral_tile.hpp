#pragma once

#include <cstddef>
#include <span>
#include <vector>

#include "standard_errors/spectral_form.hpp"

namespace irteq {

// Working storage of one worker for tiles of up to `width` frequencies.
struct SpectralScratch {
  SpectralScratch(const SpectralForm& form, std::size_t width);
  std::size_t width;
  std::vector<double> rows;     // the difference rows over the tile
  std::vector<double> factors;  // each item's factor
  std::vector<double> suffix;   // for item j, the product of the factors after it
  std::vector<double> prefix;   // the product of the factors before the current item
  std::vector<double> others;   // the product of all factors but the current item's
  std::vector<double> terms;    // others times each difference row of the current item
  std::vector<double> dtheta;   // the derivative in theta at the current grid point
  std::vector<double> sums;     // the tile's sums, column by column
};

// The derivatives of the form's generating function in every column (the
// form's parameters, A, B) at frequencies first .. first + count - 1 (within
// 1 .. half, count at most the scratch's width), into spectra laid out as
// SpectralForm::differences is, one row per column. Every frequency's
// arithmetic is the same whatever the tile and the instruction set.
void spectral_tile(const SpectralForm& form, std::size_t first, std::size_t count, SpectralScratch& scratch,
                   std::span<double> spectra);

}  // namespace irteq
