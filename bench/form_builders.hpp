#pragma once

#include <cstdint>
#include <random>
#include <span>
#include <vector>

#include "irteq/input.hpp"

// Deterministic forms and grids at the sizes the program is built for, so that
// the benchmarks measure the same work on every run and every machine.
namespace irteq::bench {

// A small fixed-seed generator. The draws come straight from std::mt19937,
// whose output sequence is fixed by the standard; the library's distribution
// classes are not, so they are avoided.
class Draws {
 public:
  explicit Draws(std::uint32_t seed) : engine_(seed) {}
  double uniform(double low, double high);
  int integer(int low, int high);  // both ends included

 private:
  std::mt19937 engine_;
};

// How many items of each model a form gets, and their numbers of categories.
// Items of more than two categories are scored 0 to m - 1; "L3" items 0 and 1.
struct FormRecipe {
  int l3_items = 0;
  int sl_items = 0;
  int sn_items = 0;
  int bn_items = 0;
  int fewest_categories = 5;  // for the "SL", "SN" and "BN" items
  int most_categories = 5;
  bool shuffle = true;  // spread the item types through the form
};

// A form built by the recipe, with parameters in the ranges of real
// calibrations: "L3" with D = 1.7, a in 0.6-2.0, b in -2.5-2.5, c in 0.1-0.25;
// graded items with increasing thresholds; nominal items whose slopes increase
// with the category score, so every expected item score rises with theta.
std::vector<Item> build_form(const FormRecipe& recipe, std::uint32_t seed);

// 200 items, mostly "L3" with some 4-to-6-category "SL", "SN" and "BN" items.
std::vector<Item> mixed_form(std::uint32_t seed);

// The largest distribution: 200 five-category items scored 0 to 4, 801 score points.
std::vector<Item> five_category_form(std::uint32_t seed);

// The largest run a file may hold: two five-category forms (seeds 7301 for
// form Y, 7302 for form X), 100-point grids (group 1's mean 0.1), and a scale
// of a quarter point per raw score, rounded down to whole points per four.
EquatingInput five_category_run();

// 200 items whose raw scores span about 800 points: some "L3" items and many
// five-to-seven-category graded and nominal items.
std::vector<Item> wide_mixed_form(std::uint32_t seed, int l3_items);

// Equally spaced points from low to high with normal weights around mean
// (standard deviation 1), normalised to sum to 1 as equate() leaves them
// for the distributions.
QuadratureGrid normal_grid(int count, double low, double high, double mean);

// Multiply-adds of the item-by-item recursion for one theta: over the items,
// the score points of the distribution before the item times its categories.
long long multiply_adds_per_theta(std::span<const Item> items);

// The items each drifted a little (slopes by up to 5 %, locations by up to
// 0.05), so that a linking to them keeps a residual, as on real data.
std::vector<Item> drifted(std::vector<Item> items);

}  // namespace irteq::bench
