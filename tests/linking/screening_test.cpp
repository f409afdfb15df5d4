#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "common/chi_square_upper_tail.hpp"
#include "irteq/error.hpp"
#include "irteq/files.hpp"
#include "irteq/linking.hpp"
#include "irteq/models.hpp"
#include "irteq/run.hpp"
#include "models/item_model_facts.hpp"
#include "support/binary_run.hpp"
#include "support/mixed_form.hpp"
#include "support/random_case.hpp"

namespace irteq::testing {
namespace {

LinkingInput every_pair(const std::vector<Item>& items, ScreeningStatistic screen = ScreeningStatistic::none,
                        double cut = 0.0) {
  LinkingInput linking;
  for (const Item& item : items) linking.common.push_back({item.number, item.number, 0});
  linking.common_items_name = "anchors.txt";
  linking.screen = screen;
  linking.cut = cut;
  linking.screen_line = 3;
  return linking;
}

// Moves an item's locations (every b, or an "MU" item's b) by shift.
void shift_locations(Item& item, double shift) {
  const auto m = static_cast<int>(item.category_scores.size());
  for (std::size_t k = 0; k < item.parameters.size(); ++k) {
    if (parameter_role(item.model, m, k) == ParameterRole::location) item.parameters[k] += shift;
  }
}

// A generated mixed-format form of 30 items whose form X is an exact
// transformation of it but for two anchors moved by 0.5: robust z finds
// exactly those, the second round settles, and the kept pairs give the
// transformation back.
TEST(Screening, PurificationRemovesTwoShiftedAnchorsAndRecoversTheTransformation) {
  RandomCaseGenerator generator(20261208);
  const RandomCase generated = generator.make({.y_items = 30, .x_items = 30});
  std::istringstream text(generated.y_items);
  EquatingInput forms;
  forms.items_y = read_items(text, "y.par");
  const double A = 1.25;
  const double B = -0.4;
  forms.items_x = transform_items(forms.items_y, 1.0 / A, -B / A);
  std::vector<std::size_t> moved;
  for (std::size_t i = 0; i < forms.items_x.size() && moved.size() < 2; ++i) {
    if (forms.items_x[i].model != ItemModel::bn && i % 7 == 3) {
      shift_locations(forms.items_x[i], 0.5);
      moved.push_back(i);
    }
  }
  ASSERT_EQ(moved.size(), 2u);
  forms.grid_group2 = normal_shaped_grid(0.1, 1.1);
  forms.grid_group1 = transform_grid(forms.grid_group2, 1.0 / A, -B / A);

  for (const LinkingMethod method : linking_methods) {
    SCOPED_TRACE(linking_method_name(method));
    LinkingInput linking = every_pair(forms.items_y, ScreeningStatistic::robust_z, 2.7);
    linking.method = method;
    const LinkingResult result = link(forms, linking);
    ASSERT_EQ(result.rounds.size(), 2u);
    EXPECT_EQ(result.rounds[0].flagged, moved);
    EXPECT_EQ(result.rounds[1].flagged, moved);
    EXPECT_EQ(result.rounds[1].A, result.A);
    EXPECT_NEAR(result.A, A, 1e-9);
    EXPECT_NEAR(result.B, B, 1e-9);
    for (std::size_t i = 0; i < result.anchors.size(); ++i) {
      const bool drifted = std::find(moved.begin(), moved.end(), i) != moved.end();
      EXPECT_EQ(result.anchors[i].flagged, drifted) << "pair " << i + 1;
      EXPECT_EQ(result.anchors[i].removed_round, drifted ? 1 : 0) << "pair " << i + 1;
      if (!drifted) {
        EXPECT_LT(result.anchors[i].rmsd, 1e-9) << "pair " << i + 1;
      }
    }
    for (const MethodConstants& constants : result.methods) {
      if (constants.available()) {
        EXPECT_NEAR(*constants.A, A, 1e-9) << linking_method_name(constants.method);
      }
    }
  }
}

// The statistics as the formulas state them, computed plainly: expected
// scores from the public probabilities, quartiles by R's definition, the
// transformation's Jacobian by differences of transform_items, and the Wald
// test's inverse by Gauss-Jordan over the parameters in reverse order.
struct Direct {
  double rmsd = 0.0;
  double mean_difference = 0.0;
  std::optional<double> wald;
  int df = 0;
};

double item_expected_score(const Item& item, double theta) {
  const std::vector<double> p = probabilities(item, theta);
  double sum = 0.0;
  for (std::size_t k = 0; k < p.size(); ++k) sum += item.category_scores[k] * p[k];
  return sum;
}

double quantile7(std::vector<double> values, double p) {
  std::sort(values.begin(), values.end());
  const double h = (static_cast<double>(values.size()) - 1.0) * p;
  const auto low = static_cast<std::size_t>(std::floor(h));
  if (low + 1 >= values.size()) return values.back();
  return values[low] + (h - static_cast<double>(low)) * (values[low + 1] - values[low]);
}

// An item's slope and its locations, by model.
void slope_and_locations(const Item& item, std::vector<double>& slope, std::vector<double>& locations) {
  const std::vector<double>& p = item.parameters;
  const std::size_t m = item.category_scores.size();
  switch (item.model) {
    case ItemModel::l3:
      slope = {p[1]};
      locations = {p[2]};
      break;
    case ItemModel::sn:
      slope = {p[0]};
      locations.assign(p.begin() + 1, p.end());
      break;
    case ItemModel::sl:
      slope = {p[1]};
      locations.assign(p.begin() + 2, p.end());
      break;
    case ItemModel::mu:
      slope = {p[1]};
      locations.clear();
      for (std::size_t k = 2; k <= m; ++k) locations.push_back(p[2] - p[2 + k]);
      break;
    case ItemModel::bn:
      slope.clear();
      locations.clear();
      break;
  }
}

std::vector<double> covariance_block(const std::optional<Covariance>& covariance, std::size_t first, std::size_t n) {
  std::vector<double> block(n * n, 0.0);
  if (!covariance) return block;
  for (std::size_t i = 0; i < n; ++i) {
    for (std::size_t j = 0; j < n; ++j) block[i * n + j] = covariance->values[(first + i) * covariance->size + first + j];
  }
  return block;
}

std::optional<double> direct_wald(const Item& x, const Item& y, std::size_t x_first, std::size_t y_first,
                                  const ParameterCovariances& covariances, double A, double B, int& df) {
  const std::size_t f = first_estimated_parameter(y.model);
  const std::size_t n = estimated_parameter_count(y);
  // J by central differences: the transformation is linear in the parameters.
  std::vector<double> J(n * n);
  for (std::size_t j = 0; j < n; ++j) {
    Item up = x, down = x;
    up.parameters[f + j] += 0.5;
    down.parameters[f + j] -= 0.5;
    const Item t_up = transform_items(std::vector<Item>{up}, A, B)[0];
    const Item t_down = transform_items(std::vector<Item>{down}, A, B)[0];
    for (std::size_t i = 0; i < n; ++i) J[i * n + j] = t_up.parameters[f + i] - t_down.parameters[f + i];
  }
  const std::vector<double> sx = covariance_block(covariances.x, x_first, n);
  std::vector<double> sigma = covariance_block(covariances.y, y_first, n);
  for (std::size_t i = 0; i < n; ++i) {
    for (std::size_t j = 0; j < n; ++j) {
      for (std::size_t k = 0; k < n; ++k) {
        for (std::size_t l = 0; l < n; ++l) sigma[i * n + j] += J[i * n + k] * sx[k * n + l] * J[j * n + l];
      }
    }
  }
  const Item linked = transform_items(std::vector<Item>{x}, A, B)[0];
  std::vector<std::size_t> kept;
  for (std::size_t i = n; i-- > 0;) {
    if (sigma[i * n + i] != 0.0) kept.push_back(i);
  }
  df = static_cast<int>(kept.size());
  if (kept.empty()) return std::nullopt;
  // Gauss-Jordan on [Sigma | Delta] gives Sigma^-1 Delta.
  const std::size_t r = kept.size();
  const std::size_t w = r + 1;  // [Sigma | Delta], row-major
  std::vector<double> M(r * w);
  std::vector<double> delta(r);
  for (std::size_t i = 0; i < r; ++i) {
    for (std::size_t j = 0; j < r; ++j) M[i * w + j] = sigma[kept[i] * n + kept[j]];
    delta[i] = y.parameters[f + kept[i]] - linked.parameters[f + kept[i]];
    M[i * w + r] = delta[i];
  }
  for (std::size_t c = 0; c < r; ++c) {
    std::size_t pivot = c;
    for (std::size_t i = c + 1; i < r; ++i) {
      if (std::fabs(M[i * w + c]) > std::fabs(M[pivot * w + c])) pivot = i;
    }
    for (std::size_t j = 0; j < w; ++j) std::swap(M[c * w + j], M[pivot * w + j]);
    for (std::size_t i = 0; i < r; ++i) {
      if (i == c) continue;
      const double factor = M[i * w + c] / M[c * w + c];
      for (std::size_t j = c; j < w; ++j) M[i * w + j] -= factor * M[c * w + j];
    }
  }
  double chi_square = 0.0;
  for (std::size_t i = 0; i < r; ++i) chi_square += delta[i] * M[i * w + r] / M[i * w + i];
  return chi_square;
}

// A covariance of a form's estimates: each item's block a random positive
// definite matrix of size 1e-3, with the parameters calibrations fix (an
// "L3" c, a "BN" item's first slope and intercept, an "MU" item's d(1))
// held at zero variance.
Covariance random_covariance(const std::vector<Item>& items, unsigned seed) {
  std::mt19937_64 engine(seed);
  const auto uniform = [&] { return static_cast<double>(engine() >> 11) * 0x1.0p-53 - 0.5; };
  Covariance covariance;
  covariance.size = covariance_size(items);
  covariance.values.assign(covariance.size * covariance.size, 0.0);
  std::size_t first = 0;
  for (const Item& item : items) {
    const std::size_t n = estimated_parameter_count(item);
    const std::size_t f = first_estimated_parameter(item.model);
    const auto m = static_cast<int>(item.category_scores.size());
    std::vector<bool> fixed(n, false);
    for (std::size_t k = 0; k < n; ++k) {
      const ParameterRole role = parameter_role(item.model, m, f + k);
      const std::string name = parameter_name(item.model, m, f + k);
      fixed[k] = role == ParameterRole::asymptote || name == "a(1)" || name == "c(1)" || name == "d(1)";
    }
    std::vector<double> root(n * n);
    for (double& value : root) value = uniform();
    for (std::size_t i = 0; i < n; ++i) {
      for (std::size_t j = 0; j < n; ++j) {
        if (fixed[i] || fixed[j]) continue;
        double sum = i == j ? 1.0 : 0.0;
        for (std::size_t k = 0; k < n; ++k) sum += root[i * n + k] * root[j * n + k];
        covariance.values[(first + i) * covariance.size + first + j] = 1e-3 * sum;
      }
    }
    first += n;
  }
  return covariance;
}

TEST(Screening, StatisticsAgreeWithTheFormulasForEveryModel) {
  EquatingInput forms;
  forms.items_y = mixed_form();
  const double A0 = 1.2;
  const double B0 = 0.3;
  forms.items_x = transform_items(perturbed_mixed_form(0.03), 1.0 / A0, -B0 / A0);
  forms.grid_group2 = normal_shaped_grid(0.2, 1.1);
  forms.grid_group1 = normal_shaped_grid(-0.1, 0.9);
  ParameterCovariances both{.x = random_covariance(forms.items_x, 1), .y = random_covariance(forms.items_y, 2)};
  ParameterCovariances y_only{.x = std::nullopt, .y = both.y};

  for (const ParameterCovariances* covariances : {&both, &y_only}) {
    const LinkingResult result = link(forms, every_pair(forms.items_y), *covariances);
    const std::vector<Item> linked = transform_items(forms.items_x, result.A, result.B);
    double total = 0.0;
    for (const double w : forms.grid_group2.weights) total += w;
    std::vector<double> slope_d, location_d;
    std::vector<std::vector<std::size_t>> location_of(forms.items_y.size());
    std::vector<std::optional<std::size_t>> slope_of(forms.items_y.size());
    std::size_t x_first = 0, y_first = 0;
    for (std::size_t i = 0; i < forms.items_y.size(); ++i) {
      const Item& x = linked[i];
      const Item& y = forms.items_y[i];
      SCOPED_TRACE("item " + std::to_string(y.number) + " " + std::string(item_code(y.model)));
      Direct direct;
      for (std::size_t q = 0; q < forms.grid_group2.points.size(); ++q) {
        const double theta = forms.grid_group2.points[q];
        const double d = item_expected_score(y, theta) - item_expected_score(x, theta);
        direct.rmsd += forms.grid_group2.weights[q] / total * d * d;
        direct.mean_difference += forms.grid_group2.weights[q] / total * d;
      }
      const AnchorFit& fit = result.anchors[i];
      EXPECT_NEAR(fit.rmsd, std::sqrt(direct.rmsd), 1e-13);
      EXPECT_NEAR(fit.mean_difference, direct.mean_difference, 1e-13);
      const std::optional<double> wald =
          direct_wald(forms.items_x[i], y, x_first, y_first, *covariances, result.A, result.B, direct.df);
      ASSERT_EQ(fit.wald.has_value(), wald.has_value());
      if (wald) {
        EXPECT_NEAR(*fit.wald, *wald, 1e-9 * std::fmax(1.0, *wald));
        EXPECT_EQ(fit.wald_df, direct.df);
        EXPECT_EQ(fit.wald_p, chi_square_upper_tail(*fit.wald, *fit.wald_df));
      }
      x_first += estimated_parameter_count(forms.items_x[i]);
      y_first += estimated_parameter_count(y);

      std::vector<double> xs, xl, ys, yl;
      slope_and_locations(x, xs, xl);
      slope_and_locations(y, ys, yl);
      if (!ys.empty()) {
        slope_of[i] = slope_d.size();
        slope_d.push_back(std::log(ys[0]) - std::log(xs[0]));
      }
      for (std::size_t k = 0; k < yl.size(); ++k) {
        location_of[i].push_back(location_d.size());
        location_d.push_back(yl[k] - xl[k]);
      }
    }
    const auto z = [](const std::vector<double>& d, std::size_t j) {
      const double spread = 0.74 * (quantile7(d, 0.75) - quantile7(d, 0.25));
      return (d[j] - quantile7(d, 0.5)) / std::fmax(spread, 1e-6);
    };
    for (std::size_t i = 0; i < forms.items_y.size(); ++i) {
      const AnchorFit& fit = result.anchors[i];
      ASSERT_EQ(fit.z_slope.has_value(), slope_of[i].has_value()) << "item " << i + 1;
      if (slope_of[i]) {
        EXPECT_NEAR(*fit.z_slope, z(slope_d, *slope_of[i]), 1e-9);
      }
      ASSERT_EQ(fit.z_location.has_value(), !location_of[i].empty()) << "item " << i + 1;
      double largest = 0.0;
      for (const std::size_t j : location_of[i]) {
        if (std::fabs(z(location_d, j)) > std::fabs(largest)) largest = z(location_d, j);
      }
      if (fit.z_location) {
        EXPECT_NEAR(*fit.z_location, largest, 1e-9);
      }
    }
  }
}

// R's pchisq(x, df, lower.tail = FALSE).
TEST(Screening, ChiSquareTailMatchesR) {
  const struct {
    double x;
    int df;
    double tail;
  } cases[] = {
      {0.5, 2, 0.77880078307140488},        {3.841458820694124, 1, 0.049999999999999975},
      {10, 5, 0.075235246146512197},        {25, 7, 0.00075880025565825012},
      {0.001, 3, 0.99999159208094202},      {80, 60, 0.04322868215173558},
      {300, 121, 3.3072704758921981e-17},   {1400, 100, 4.4774296035997468e-228},
  };
  for (const auto& c : cases) {
    EXPECT_NEAR(chi_square_upper_tail(c.x, c.df), c.tail, 1e-13 * c.tail) << c.x << " on " << c.df;
  }
  EXPECT_EQ(chi_square_upper_tail(0.0, 4), 1.0);
}

// Seven "L3" anchors, drawn at random, whose robust z flags under haebara
// alternate between two sets for ever.
EquatingInput alternating_forms() {
  const double p[7][4] = {{1.5367293405678657, -0.53100518137125174, 1.57961804316362, -0.59712892132567252},
                          {1.7483093114308879, 1.2606015253303391, 2.5783803876393061, 1.1209603157592323},
                          {1.8436968225193455, -1.2104181132885401, 1.394175854563618, -1.4157548847232626},
                          {1.3802659841054932, 0.073246885797089156, 1.0707674724709577, -0.39937530417593503},
                          {1.9944601870012519, 1.5512907988847364, 1.6713457190377836, 1.7316936523388786},
                          {1.5446705418026678, 0.18947100302262232, 2.2602567780920593, -0.31489518191793853},
                          {0.63483502585931717, 0.43704387685250268, 0.78361174197354777, 0.11596247934481718}};
  EquatingInput forms;
  for (int i = 0; i < 7; ++i) {
    forms.items_y.push_back({i + 1, ItemModel::l3, {0, 1}, {1.7, p[i][0], p[i][1], 0.2}});
    forms.items_x.push_back({i + 1, ItemModel::l3, {0, 1}, {1.7, p[i][2], p[i][3], 0.2}});
  }
  forms.grid_group1 = forms.grid_group2 = normal_shaped_grid();
  return forms;
}

// Every error names the common-item file and its screening line.
TEST(Screening, RefusesWhatItCannotScreen) {
  EquatingInput forms;
  forms.items_y = mixed_form();
  forms.items_x = perturbed_mixed_form(0.05);
  forms.grid_group1 = forms.grid_group2 = normal_shaped_grid();
  ParameterCovariances singular{.x = std::nullopt, .y = random_covariance(forms.items_y, 3)};
  // Item 2's a and b move together exactly.
  Covariance& y = *singular.y;
  y.values[3 * y.size + 3] = y.values[4 * y.size + 4] = y.values[3 * y.size + 4] = y.values[4 * y.size + 3] = 1e-3;
  // Two pairs, a cut between their rmsds: one left.
  EquatingInput two = forms;
  two.items_x.resize(2);
  two.items_y.resize(2);
  const LinkingResult unscreened = link(two, every_pair(two.items_y));
  const double between = std::sqrt(unscreened.anchors[0].rmsd * unscreened.anchors[1].rmsd);
  const EquatingInput alternating = alternating_forms();

  const struct {
    ScreeningStatistic screen;
    double cut;
    const ParameterCovariances* covariances;
    std::string message;
    const EquatingInput* forms = nullptr;
    LinkingMethod method = LinkingMethod::stocking_lord;
  } cases[] = {
      {ScreeningStatistic::rmsd, 0.0, nullptr, "anchors.txt line 3: screen rmsd: the cut is 0; it must be a finite number above 0"},
      {ScreeningStatistic::robust_z, NAN, nullptr, "the cut is nan; it must be a finite number above 0"},
      {ScreeningStatistic::wald, 1.0, &singular, "screen wald: the cut is 1; it must be a p-value above 0 and below 1"},
      {ScreeningStatistic::wald, 0.05, nullptr, "screen wald needs the covariance of at least one form's estimates"},
      {ScreeningStatistic::wald, 0.05, &singular,
       "anchors.txt: pair 2 (form X item 2, form Y item 2): the covariance of its parameter differences is singular"},
      {ScreeningStatistic::rmsd, 1e-9, nullptr,
       "screen rmsd round 1 flags 10 of 10 common items, more than half: the forms may not be on comparable scales"},
      {ScreeningStatistic::rmsd, between, nullptr,
       "screen rmsd round 1 flags 1 of 2 common items; linking needs at least two left", &two},
      {ScreeningStatistic::robust_z, 1.24, nullptr,
       "screen robust-z: the flagged set does not settle within 20 rounds; round 1 flags (x/y) 5/5 6/6; round 2 "
       "flags (x/y) 4/4 5/5 6/6; round 3",
       &alternating, LinkingMethod::haebara},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.message);
    const EquatingInput& these = c.forms ? *c.forms : forms;
    try {
      LinkingInput linking = every_pair(these.items_y, c.screen, c.cut);
      linking.method = c.method;
      if (c.covariances) {
        link(these, linking, *c.covariances);
      } else {
        link(these, linking);
      }
      ADD_FAILURE() << "no error";
    } catch (const Error& error) {
      EXPECT_NE(std::string(error.what()).find(c.message), std::string::npos) << error.what();
      EXPECT_EQ(error.diagnostic().input, InputPart::common_items);
    }
  }
}

// The screened run's equating and standard errors are those of a run on the
// kept pairs alone, to the last bit: both routes take the final set as given.
TEST(Screening, StandardErrorsTakeTheKeptPairsAsGiven) {
  RunInput input;
  EquatingInput& forms = input.equating;
  forms.items_y = mixed_form();
  forms.items_x = transform_items(mixed_form(), 1.0 / 1.1, 0.2 / 1.1);
  shift_locations(forms.items_x[1], 0.6);
  forms.grid_group2 = normal_shaped_grid();
  forms.grid_group1 = transform_grid(normal_shaped_grid(), 1.0 / 1.1, 0.2 / 1.1);
  forms.scale_table = raw_score_table(forms.items_y);
  input.linking = every_pair(forms.items_y, ScreeningStatistic::robust_z, 2.7);
  RunOptions options;
  options.standard_errors = {.delta_method = true, .draws = 20};
  options.covariances = {.x = random_covariance(forms.items_x, 4), .y = random_covariance(forms.items_y, 5)};
  const RunResult screened = run(input, options);
  for (const AnchorFit& anchor : screened.linking->anchors) EXPECT_EQ(anchor.flagged, anchor.x_number == 2);

  RunInput kept = input;
  kept.linking->screen = ScreeningStatistic::none;
  kept.linking->common.erase(kept.linking->common.begin() + 1);
  const RunResult plain = run(kept, options);
  TempDir folder;
  write_csv(screened, folder.path() / "screened");
  write_csv(plain, folder.path() / "kept");
  for (const char* file : {"equivalents.csv", "moments.csv", "linking.csv", "standard_errors.csv"}) {
    EXPECT_EQ(read_file(folder.path() / "screened" / file), read_file(folder.path() / "kept" / file)) << file;
  }
}

// common_items.csv names each pair's items by label too, after the statistics
// so that scripts reading by position keep their columns.
TEST(Screening, CommonItemsCsvEndsWithTheLabels) {
  RunInput input;
  EquatingInput& forms = input.equating;
  forms.items_y = mixed_form();
  forms.items_x = mixed_form();
  forms.items_x[0].label = "R05001";
  forms.items_y[0].label = "R,1";
  forms.grid_group1 = forms.grid_group2 = normal_shaped_grid();
  forms.scale_table = raw_score_table(forms.items_y);
  input.linking = every_pair(forms.items_y, ScreeningStatistic::none, 0.0);
  TempDir folder;
  write_csv(run(input, {}), folder.path());
  std::istringstream csv(read_file(folder.path() / "common_items.csv"));
  std::string header, first, second;
  std::getline(csv, header);
  std::getline(csv, first);
  std::getline(csv, second);
  EXPECT_TRUE(header.starts_with("x_item,y_item,model,")) << header;
  EXPECT_TRUE(header.ends_with(",removed_round,x_label,y_label")) << header;
  EXPECT_TRUE(first.starts_with("1,1,L3,")) << first;
  EXPECT_TRUE(first.ends_with(",0,R05001,\"R,1\"")) << first;
  EXPECT_TRUE(second.ends_with(",0,,")) << second;
}

}  // namespace
}  // namespace irteq::testing
