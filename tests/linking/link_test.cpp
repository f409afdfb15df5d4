#include "irteq/linking.hpp"

#include <gtest/gtest.h>

#include <bit>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "irteq/error.hpp"
#include "irteq/files.hpp"
#include "linking/characteristic_curve_criterion.hpp"
#include "linking/link_methods.hpp"
#include "models/prepare_items.hpp"
#include "support/mixed_form.hpp"

namespace irteq::testing {
namespace {

namespace fs = std::filesystem;

std::vector<CommonItemPair> pairs(std::initializer_list<std::pair<int, int>> numbers) {
  std::vector<CommonItemPair> out;
  for (const auto& [x, y] : numbers) out.push_back({x, y, 0});
  return out;
}

std::vector<CommonItemPair> labelled(std::initializer_list<std::pair<std::string, std::string>> labels) {
  std::vector<CommonItemPair> out;
  for (const auto& [x, y] : labels) out.push_back({.x_label = x, .y_label = y});
  return out;
}

// "R" and the number, as a calibration program might label an item.
std::string label_of(int number) {
  std::string label(1, 'R');
  label += std::to_string(number);
  return label;
}

void label_items(std::vector<Item>& items) {
  for (Item& item : items) item.label = label_of(item.number);
}

// Form X is form Y put on a scale theta_X = (theta_Y - B) / A: linking must give A and B back.
EquatingInput self_forms(double A, double B) {
  EquatingInput forms;
  forms.items_y = mixed_form();
  forms.items_x = transform_items(forms.items_y, 1.0 / A, -B / A);
  forms.grid_group2 = normal_shaped_grid(0.2, 1.1);
  forms.grid_group1 = transform_grid(forms.grid_group2, 1.0 / A, -B / A);
  return forms;
}

LinkingInput every_item(const EquatingInput& forms, LinkingMethod method, bool symmetric) {
  LinkingInput linking;
  for (const Item& item : forms.items_y) linking.common.push_back({item.number, item.number, 0});
  linking.method = method;
  linking.symmetric = symmetric;
  return linking;
}

TEST(Link, FormLinkedToAKnownTransformationOfItselfGivesItBack) {
  const EquatingInput forms = self_forms(1.3, -0.4);
  for (const bool symmetric : {false, true}) {
    for (const LinkingMethod method : linking_methods) {
      if (symmetric && !is_characteristic_curve(method)) continue;
      SCOPED_TRACE(std::string(linking_method_name(method)) + (symmetric ? " symmetric" : ""));
      const LinkingResult result = link(forms, every_item(forms, method, symmetric));
      EXPECT_NEAR(result.A, 1.3, 1e-9);
      EXPECT_NEAR(result.B, -0.4, 1e-9);
      for (const AnchorFit& fit : result.anchors) EXPECT_LT(fit.rmsd, 1e-9) << "item " << fit.x_number;
    }
  }
}

// Pairs given by label link exactly as the same pairs given by number, here
// with form X's items numbered apart from form Y's.
TEST(Link, PairsByLabelLinkAsPairsByNumber) {
  EquatingInput forms;
  forms.items_y = mixed_form();
  forms.items_x = perturbed_mixed_form(0.05);
  label_items(forms.items_x);
  label_items(forms.items_y);
  for (Item& item : forms.items_x) item.number += 100;
  forms.grid_group1 = normal_shaped_grid(0.1, 0.9);
  forms.grid_group2 = normal_shaped_grid(0.2, 1.1);
  for (const bool symmetric : {false, true}) {
    for (const LinkingMethod method : linking_methods) {
      if (symmetric && !is_characteristic_curve(method)) continue;
      SCOPED_TRACE(std::string(linking_method_name(method)) + (symmetric ? " symmetric" : ""));
      LinkingInput by_number = every_item(forms, method, symmetric);
      for (CommonItemPair& pair : by_number.common) pair.x_number += 100;
      LinkingInput by_label = by_number;
      for (CommonItemPair& pair : by_label.common) {
        pair.x_label = label_of(pair.y_number);
        pair.y_label = pair.x_label;
        pair.x_number = pair.y_number = 0;
      }
      const LinkingResult a = link(forms, by_number);
      const LinkingResult b = link(forms, by_label);
      EXPECT_EQ(std::bit_cast<std::uint64_t>(a.A), std::bit_cast<std::uint64_t>(b.A));
      EXPECT_EQ(std::bit_cast<std::uint64_t>(a.B), std::bit_cast<std::uint64_t>(b.B));
      ASSERT_EQ(a.anchors.size(), b.anchors.size());
      for (std::size_t i = 0; i < a.anchors.size(); ++i) {
        EXPECT_EQ(std::bit_cast<std::uint64_t>(a.anchors[i].rmsd), std::bit_cast<std::uint64_t>(b.anchors[i].rmsd));
        EXPECT_EQ(b.anchors[i].x_number, a.anchors[i].x_number);
        EXPECT_EQ(b.anchors[i].x_label, forms.items_x[i].label);
        EXPECT_EQ(b.anchors[i].y_label, forms.items_y[i].label);
      }
      for (std::size_t i = 0; i < a.items_x.size(); ++i) {
        EXPECT_EQ(a.items_x[i].parameters, b.items_x[i].parameters);
        EXPECT_EQ(b.items_x[i].label, forms.items_x[i].label);
      }
    }
  }
}

// Central differences of the criteria against their analytic gradient and Hessian.
TEST(Link, CriterionDerivativesAgreeWithFiniteDifferences) {
  const EquatingInput forms = self_forms(1.3, -0.4);
  const CriterionSetup setup = criterion_setup(prepare_items(forms.items_x), prepare_items(forms.items_y),
                                               normal_shaped_grid(0.2, 1.1), forms.grid_group1, true);
  for (const LinkingMethod method : {LinkingMethod::haebara, LinkingMethod::stocking_lord}) {
    const auto criterion = [&](const CriterionSetup& s, double a, double b) {
      return characteristic_curve_criterion(method, s, a, b);
    };
    const double A = 1.1;
    const double B = -0.2;
    const double h = 1e-5;
    const CriterionValue at = criterion(setup, A, B);
    const CriterionValue a_up = criterion(setup, A + h, B);
    const CriterionValue a_down = criterion(setup, A - h, B);
    const CriterionValue b_up = criterion(setup, A, B + h);
    const CriterionValue b_down = criterion(setup, A, B - h);
    const auto near = [&](double analytic, double numeric) {
      EXPECT_NEAR(analytic, numeric, 1e-6 * std::fmax(1.0, std::fabs(numeric)));
    };
    near(at.gradient[0], (a_up.value - a_down.value) / (2 * h));
    near(at.gradient[1], (b_up.value - b_down.value) / (2 * h));
    near(at.hessian[0], (a_up.gradient[0] - a_down.gradient[0]) / (2 * h));
    near(at.hessian[1], (b_up.gradient[0] - b_down.gradient[0]) / (2 * h));
    near(at.hessian[1], (a_up.gradient[1] - a_down.gradient[1]) / (2 * h));
    near(at.hessian[2], (b_up.gradient[1] - b_down.gradient[1]) / (2 * h));
  }
}

// Every fault of the pairs is named with the pair and its two numbers, and
// a symmetric moment method with the method's line.
TEST(Link, RefusesPairsItCannotUse) {
  struct Case {
    std::vector<CommonItemPair> common;
    LinkingMethod method;
    std::string message;
    bool symmetric = false;
  };
  const std::vector<Case> cases = {
      {pairs({{1, 1}, {11, 2}}), LinkingMethod::haebara, "pair 2 (form X item 11, form Y item 2): form X has no item numbered 11"},
      {pairs({{1, 1}, {2, 12}}), LinkingMethod::haebara, "form Y has no item numbered 12"},
      {pairs({{1, 1}, {2, 2}, {3, 1}}), LinkingMethod::haebara, "pair 3 (form X item 3 (label R3), form Y item 1 (label R1)): form Y item 1 is already in pair 1"},
      {pairs({{1, 1}, {2, 4}}), LinkingMethod::haebara, "the items differ in model: \"L3\" in form X, \"SN\" in form Y"},
      {pairs({{1, 1}, {4, 8}}), LinkingMethod::haebara, "the items differ in categories: 3 in form X, 4 in form Y"},
      {pairs({{1, 1}, {2, 3}}), LinkingMethod::haebara, "the items differ in category scores: 1 3 in form X, 0 1 in form Y"},
      {pairs({{1, 1}, {3, 3}}), LinkingMethod::haebara, "the items differ in D: 1.7 in form X, 1 in form Y"},
      {pairs({{5, 5}}), LinkingMethod::haebara, "1 pair of common items; linking needs at least two"},
      {pairs({{6, 6}, {10, 10}}), LinkingMethod::mean_sigma, "mean-sigma linking failed: no common item has a slope"},
      {pairs({{13, 13}, {3, 3}}), LinkingMethod::haebara, "form Y has two items numbered 13 (items 11 and 12)"},
      {labelled({{"R1", "R1"}, {"R99", "R2"}}), LinkingMethod::haebara,
       "pair 2 (form X item 'R99', form Y item 'R2'): form X has no item labelled 'R99'"},
      {labelled({{"R1", "R1"}, {"R13", "R13"}}), LinkingMethod::haebara,
       "form Y has two items labelled 'R13' (items 11 and 12); a common item's label must name one item"},
      {labelled({{"R1", "R1"}, {"R2", "R1"}}), LinkingMethod::haebara, "form Y item 'R1' is already in pair 1"},
      {{{1, 1}, {.x_number = 2, .y_number = 4, .y_label = "R4"}}, LinkingMethod::haebara,
       "pair 2 (form X item 2 (label R2), form Y item 'R4'): the items differ in model"},
      {pairs({{1, 1}, {3, 3}}), LinkingMethod::mean_mean,
       "anchors.txt line 2: symmetric applies to the characteristic-curve methods (haebara, stocking-lord), not to "
       "mean-mean", true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.message);
    EquatingInput forms;
    forms.items_x = mixed_form();
    forms.items_x[2].parameters[0] = 1.7;
    forms.items_y = mixed_form();
    forms.items_x.push_back({13, ItemModel::l3, {0, 1}, {1.7, 1.0, 0.0, 0.2}});
    forms.items_y.push_back({13, ItemModel::l3, {0, 1}, {1.7, 1.0, 0.0, 0.2}});
    forms.items_y.push_back({13, ItemModel::l3, {0, 1}, {1.7, 1.2, 0.1, 0.2}});
    label_items(forms.items_x);
    label_items(forms.items_y);
    forms.grid_group1 = forms.grid_group2 = normal_shaped_grid();
    const LinkingInput linking{c.common, c.method, c.symmetric, "anchors.txt", 2};
    try {
      link(forms, linking);
      ADD_FAILURE() << "no error";
    } catch (const Error& error) {
      EXPECT_NE(std::string(error.what()).find(c.message), std::string::npos) << error.what();
      EXPECT_EQ(error.diagnostic().input, InputPart::common_items);
    }
  }
}

// Kolen and Brennan's 3PL example as plink ships it (KB04), with plink's
// published constants; the applied method alone, as the draws relink, gives
// link()'s very bits.
TEST(Link, Kb04GivesThePublishedConstants) {
  const fs::path folder = fs::path(IRTEQ_VALIDATION_DIR) / "kb04";
  EquatingInput forms;
  forms.items_x = read_items(folder / "formx.par");
  forms.items_y = read_items(folder / "formy.par");
  LinkingInput input;
  for (int number = 3; number <= 36; number += 3) input.common.push_back({number, number, 0});
  std::ifstream expected(folder / "expected.csv");
  std::string line;
  std::getline(expected, line);
  int rows = 0;
  while (std::getline(expected, line)) {
    std::replace(line.begin(), line.end(), ',', ' ');
    std::istringstream fields(line);
    std::string control, method;
    double A = 0.0, B = 0.0;
    fields >> control >> method >> A >> B;
    SCOPED_TRACE(control + " " + method);
    input.symmetric = control.find("symmetric") != std::string::npos;
    const fs::path grid = folder / (input.symmetric ? "normal30.qd" : "uniform40.qd");
    forms.grid_group1 = read_grid(grid);
    forms.grid_group2 = read_grid(grid);
    input.method = *linking_method(method);
    const LinkingResult result = link(forms, input);
    const MethodConstants& constants = result.methods[static_cast<std::size_t>(input.method)];
    EXPECT_NEAR(*constants.A, A, 2e-6);
    EXPECT_NEAR(*constants.B, B, 2e-6);
    const LinkingResult applied = link_methods(forms, input, LinkingScope::applied_method);
    EXPECT_EQ(applied.methods[static_cast<std::size_t>(input.method)].iterations, constants.iterations);
    EXPECT_EQ(applied.A, result.A);
    EXPECT_EQ(applied.B, result.B);
    ++rows;
  }
  EXPECT_EQ(rows, 6);
}

}  // namespace
}  // namespace irteq::testing
