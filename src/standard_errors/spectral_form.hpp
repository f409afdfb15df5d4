#pragma once

#include <cstddef>
#include <span>
#include <vector>

#include "irteq/input.hpp"
#include "standard_errors/distribution_gradients.hpp"

namespace irteq {

// Where one item's numbers sit in a SpectralForm.
struct SpectralItem {
  std::size_t categories = 0;
  std::size_t parameters = 0;
  std::size_t first_term = 0;    // its derivative_terms within a grid point's block
  std::size_t first_column = 0;  // its first estimated parameter among the form's
  std::size_t first_row = 0;     // its m - 1 difference rows' numbers in SpectralForm::rows
};

// One group's grid points with every item's derivative_terms at each.
struct SpectralGroup {
  std::size_t points = 0;
  bool moving = false;  // the points move with A and B
  std::vector<double> dtheta_dA;
  std::vector<double> dtheta_dB;
  std::vector<double> terms;  // point q's block at q * SpectralForm::block
};

// A form laid out for the spectral sums. Frequencies 1 .. half of the
// transform of length 2 * half are summed; frequency 0 gives exactly zero,
// as every difference of powers of w is zero at w = 1.
struct SpectralForm {
  std::size_t points = 0;   // score points of the form
  std::size_t half = 0;
  std::size_t columns = 0;  // the form's estimated parameters; A and B follow
  std::size_t block = 0;    // derivative terms of all items at one grid point
  std::size_t widest = 0;   // most categories of an item
  std::vector<SpectralItem> items;
  // For each item and category c >= 1 in turn, the number of the row
  // w^(s_c - s_0) - w^(s_(c-1) - s_0); items with the same score steps share rows.
  std::vector<std::size_t> rows;
  // Row r at frequencies 1 .. half: real parts from r * 2 * half, imaginary parts after them.
  std::vector<double> differences;
  std::vector<SpectralGroup> groups;
};

// Lays out the items and computes their terms at every grid point of every
// group (grid points shared out over the threads).
SpectralForm spectral_form(std::span<const Item> items, std::span<const GroupThetas> groups, int threads);

}  // namespace irteq
