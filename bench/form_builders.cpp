#include "form_builders.hpp"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <stdexcept>

#include "common/score_range.hpp"
#include "irteq/limits.hpp"

namespace irteq::bench {

double Draws::uniform(double low, double high) {
  // 32 random bits are plenty for parameter values kept to four decimals.
  const double unit = static_cast<double>(engine_()) / 4294967296.0;
  return low + (high - low) * unit;
}

int Draws::integer(int low, int high) {
  const auto span = static_cast<std::uint32_t>(high - low + 1);
  return low + static_cast<int>(engine_() % span);
}

namespace {

constexpr double logistic_d = 1.7;

// Parameter files carry four decimals; keeping the built values to four as
// well makes a form written to a file and read back the same form.
double four_decimals(double value) { return std::round(value * 1e4) / 1e4; }

enum class Kind { l3, sl, sn, bn };

void score_categories(Item& item, int m) {
  item.category_scores.resize(static_cast<std::size_t>(m));
  for (int k = 0; k < m; ++k) item.category_scores[static_cast<std::size_t>(k)] = k;
}

// m - 1 increasing thresholds around a location, evenly spread with a little
// jitter that never reorders them, all within -2.8 to 2.8.
std::vector<double> thresholds(Draws& draws, int m) {
  const int count = m - 1;
  const double location = draws.uniform(-1.0, 1.0);
  const double half_spread = draws.uniform(1.0, 1.8);
  const double gap = count > 1 ? 2.0 * half_spread / (count - 1) : 0.0;
  std::vector<double> b(static_cast<std::size_t>(count));
  for (int k = 0; k < count; ++k) {
    const double even = count > 1 ? location - half_spread + gap * k : location;
    const double jitter = draws.uniform(-0.2, 0.2) * gap;
    b[static_cast<std::size_t>(k)] = four_decimals(std::clamp(even + jitter, -2.8, 2.8));
  }
  return b;
}

void build_l3(Item& item, Draws& draws) {
  item.model = ItemModel::l3;
  score_categories(item, 2);
  const double a = four_decimals(draws.uniform(0.6, 2.0));
  const double b = four_decimals(draws.uniform(-2.5, 2.5));
  const double c = four_decimals(draws.uniform(0.1, 0.25));
  item.parameters = {logistic_d, a, b, c};
}

void build_graded(Item& item, Draws& draws, int m, bool logistic) {
  item.model = logistic ? ItemModel::sl : ItemModel::sn;
  score_categories(item, m);
  item.parameters.clear();
  if (logistic) item.parameters.push_back(logistic_d);
  item.parameters.push_back(four_decimals(draws.uniform(0.8, 2.0)));
  for (const double b : thresholds(draws, m)) item.parameters.push_back(b);
}

// Nominal item in the partial credit pattern: the slope rises with every
// category, and category k overtakes category k - 1 at its step location.
// Slopes and intercepts are centred on 0, as calibration programs report them.
void build_bn(Item& item, Draws& draws, int m) {
  item.model = ItemModel::bn;
  score_categories(item, m);
  const double a = draws.uniform(0.6, 1.6);
  const std::vector<double> steps = thresholds(draws, m);
  std::vector<double> slope(static_cast<std::size_t>(m), 0.0);
  std::vector<double> intercept(static_cast<std::size_t>(m), 0.0);
  for (std::size_t k = 1; k < slope.size(); ++k) {
    const double rise = a * draws.uniform(0.8, 1.2);
    slope[k] = slope[k - 1] + rise;
    intercept[k] = intercept[k - 1] - rise * steps[k - 1];
  }
  double slope_mean = 0.0;
  double intercept_mean = 0.0;
  for (std::size_t k = 0; k < slope.size(); ++k) {
    slope_mean += slope[k] / m;
    intercept_mean += intercept[k] / m;
  }
  item.parameters.assign(1 + 2 * slope.size(), 0.0);
  item.parameters[0] = logistic_d;
  for (std::size_t k = 0; k < slope.size(); ++k) {
    item.parameters[1 + k] = four_decimals(slope[k] - slope_mean);
    item.parameters[1 + slope.size() + k] = four_decimals(intercept[k] - intercept_mean);
  }
}

// True score equating searches from one point above the chance score, with
// the test characteristic function at theta = -8 as the low end of the
// bracket. That function sits a little above the chance score, so a chance
// score just under an integer would leave the first target unbracketed.
// Moving the lower asymptotes a little keeps its fraction near one half.
void centre_chance_score(std::vector<Item>& items) {
  double chance = 0.0;
  int l3_count = 0;
  for (const Item& item : items) {
    if (item.model == ItemModel::l3) {
      chance += item.parameters[3];
      ++l3_count;
    }
  }
  if (l3_count == 0) return;
  const double shift = (0.5 - (chance - std::floor(chance))) / l3_count;
  for (Item& item : items) {
    if (item.model == ItemModel::l3) item.parameters[3] = four_decimals(item.parameters[3] + shift);
  }
}

}  // namespace

std::vector<Item> build_form(const FormRecipe& recipe, std::uint32_t seed) {
  std::vector<Kind> kinds;
  kinds.insert(kinds.end(), static_cast<std::size_t>(recipe.l3_items), Kind::l3);
  kinds.insert(kinds.end(), static_cast<std::size_t>(recipe.sl_items), Kind::sl);
  kinds.insert(kinds.end(), static_cast<std::size_t>(recipe.sn_items), Kind::sn);
  kinds.insert(kinds.end(), static_cast<std::size_t>(recipe.bn_items), Kind::bn);
  if (kinds.size() > static_cast<std::size_t>(max_items)) throw std::invalid_argument("more items than a form holds");

  Draws draws(seed);
  if (recipe.shuffle) {
    // Fisher-Yates with our own draws, so the order is the same everywhere.
    for (std::size_t i = kinds.size(); i > 1; --i) {
      std::swap(kinds[i - 1], kinds[static_cast<std::size_t>(draws.integer(0, static_cast<int>(i) - 1))]);
    }
  }

  std::vector<Item> items(kinds.size());
  for (std::size_t i = 0; i < kinds.size(); ++i) {
    Item& item = items[i];
    item.number = static_cast<int>(i + 1);
    const int m = kinds[i] == Kind::l3 ? 2 : draws.integer(recipe.fewest_categories, recipe.most_categories);
    switch (kinds[i]) {
      case Kind::l3: build_l3(item, draws); break;
      case Kind::sl: build_graded(item, draws, m, true); break;
      case Kind::sn: build_graded(item, draws, m, false); break;
      case Kind::bn: build_bn(item, draws, m); break;
    }
  }
  centre_chance_score(items);
  if (score_range(items).point_count() > max_score_points) {
    throw std::invalid_argument("the form has more score points than a distribution holds");
  }
  return items;
}

std::vector<Item> mixed_form(std::uint32_t seed) {
  return build_form({.l3_items = 170,
                     .sl_items = 10,
                     .sn_items = 10,
                     .bn_items = 10,
                     .fewest_categories = 4,
                     .most_categories = 6,
                     .shuffle = true},
                    seed);
}

std::vector<Item> five_category_form(std::uint32_t seed) {
  return build_form({.l3_items = 0,
                     .sl_items = 67,
                     .sn_items = 67,
                     .bn_items = 66,
                     .fewest_categories = 5,
                     .most_categories = 5,
                     .shuffle = true},
                    seed);
}

std::vector<Item> wide_mixed_form(std::uint32_t seed, int l3_items) {
  const int others = max_items - l3_items;
  return build_form({.l3_items = l3_items,
                     .sl_items = others / 3,
                     .sn_items = others / 3,
                     .bn_items = others - 2 * (others / 3),
                     .fewest_categories = 5,
                     .most_categories = 7,
                     .shuffle = true},
                    seed);
}

QuadratureGrid normal_grid(int count, double low, double high, double mean) {
  QuadratureGrid grid;
  double sum = 0.0;
  for (int j = 0; j < count; ++j) {
    const double point = count > 1 ? low + (high - low) * j / (count - 1) : low;
    const double weight = std::exp(-0.5 * (point - mean) * (point - mean));
    grid.points.push_back(point);
    grid.weights.push_back(weight);
    sum += weight;
  }
  for (double& weight : grid.weights) weight /= sum;
  return grid;
}

EquatingInput five_category_run() {
  EquatingInput input;
  input.items_y = five_category_form(7301);
  input.items_x = five_category_form(7302);
  input.grid_group1 = normal_grid(100, -4.0, 4.0, 0.1);
  input.grid_group2 = normal_grid(100, -4.0, 4.0, 0.0);
  const long long rows = score_range(input.items_y).point_count();
  for (long long j = 0; j < rows; ++j) {
    input.scale_table.scale.push_back(100.0 + 0.25 * static_cast<double>(j));
    input.scale_table.rounded.push_back(100.0 + static_cast<double>(j / 4));
  }
  input.scale_table.scale_min = 100;
  input.scale_table.scale_max = 300;
  return input;
}

long long multiply_adds_per_theta(std::span<const Item> items) {
  long long total = 0;
  long long points_before = 1;  // the first item is added to the sure score 0
  for (const Item& item : items) {
    total += points_before * static_cast<long long>(item.category_scores.size());
    points_before += item.category_scores.back() - item.category_scores.front();
  }
  return total;
}

std::vector<Item> drifted(std::vector<Item> items) {
  for (std::size_t i = 0; i < items.size(); ++i) {
    const double drift = 0.05 * std::sin(static_cast<double>(i));
    std::vector<double>& p = items[i].parameters;
    switch (items[i].model) {
      case ItemModel::l3:
      case ItemModel::mu:
        p[1] *= 1.0 + drift;
        p[2] += drift;
        break;
      case ItemModel::sl:
        p[1] *= 1.0 + drift;
        for (std::size_t k = 2; k < p.size(); ++k) p[k] += drift;
        break;
      case ItemModel::sn:
        p[0] *= 1.0 + drift;
        for (std::size_t k = 1; k < p.size(); ++k) p[k] += drift;
        break;
      case ItemModel::bn:
        for (std::size_t k = 1; k <= (p.size() - 1) / 2; ++k) p[k] *= 1.0 + drift;
        break;
    }
  }
  return items;
}

}  // namespace irteq::bench
