#pragma once

#include <cstddef>
#include <span>
#include <vector>

#include "irteq/input.hpp"
#include "standard_errors/distribution_gradients.hpp"

namespace irteq {

// Where one item's numbers sit in a FrequencyLayout.
struct FrequencyItem {
  std::size_t categories = 0;
  std::size_t parameters = 0;
  bool nominal = false;          // derivatives on the nominal basis (derivative_terms)
  std::size_t basis = 0;         // the size of its basis
  std::size_t first_term = 0;    // its derivative_terms within a grid point's block
  std::size_t first_column = 0;  // its first estimated parameter among the form's
  std::size_t first_row = 0;     // its rows' numbers in FrequencyLayout::rows
};

// One group's grid points with every item's derivative_terms at each.
struct FrequencyGroup {
  std::size_t points = 0;
  bool moving = false;  // the points move with A and B
  std::vector<double> dtheta_dA;
  std::vector<double> dtheta_dB;
  std::vector<double> terms;  // point q's block at q * FrequencyLayout::block
};

// A form laid out for the frequency-domain sums. Frequencies 1 .. half of the
// transform of length 2 * half are needed; frequency 0 gives exactly zero,
// as every difference of powers of w is zero at w = 1. They are summed in
// tiles of `width`, up to `frequencies` (the tiles' end: on a short form
// some beyond half, summed and not used).
struct FrequencyLayout {
  std::size_t points = 0;   // score points of the form
  std::size_t half = 0;
  std::size_t width = 0;
  std::size_t frequencies = 0;
  std::size_t columns = 0;  // the form's estimated parameters; A and B follow
  std::size_t block = 0;    // derivative terms of all items at one grid point
  std::size_t widest = 0;   // most categories of an item
  std::vector<FrequencyItem> items;
  // For each item in turn, the numbers of its rows: w^d_c - w^d_(c-1) for
  // c = 1 .. m - 1, and for the nominal basis then w^d_c for c = 0 .. m - 1.
  // Items with the same score steps share rows.
  std::vector<std::size_t> rows;
  // Row r at frequencies 1 .. frequencies: real parts from r * 2 * frequencies, imaginary parts after them.
  std::vector<double> powers;
  std::vector<FrequencyGroup> groups;
};

// Lays out the items and computes their terms at every grid point of every
// group (grid points shared out over the threads), for tiles of up to
// `width` frequencies (a multiple of 8).
FrequencyLayout frequency_layout(std::span<const Item> items, std::span<const GroupThetas> groups,
                                 std::size_t width, int threads);

}  // namespace irteq
