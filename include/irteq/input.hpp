#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace irteq {

// The item response models, by their codes in item parameter files.
enum class ItemModel {
  l3,  // "L3" three-parameter logistic
  sn,  // "SN" graded response, normal ogive
  sl,  // "SL" graded response, logistic
  bn,  // "BN" nominal response
  mu,  // "MU" generalized partial credit
};

// "L3", "SN", "SL", "BN" or "MU".
std::string_view item_code(ItemModel model);
// The model of a two-letter code (exact, case-sensitive); none for any other text.
std::optional<ItemModel> item_model(std::string_view code);

// One item, its parameters in the order and meaning of an item parameter file:
//   l3: D, a, b, c                         (two categories: incorrect, correct)
//   sn: a, b(1), ..., b(m-1)
//   sl: D, a, b(1), ..., b(m-1)
//   bn: D, a(1), ..., a(m), c(1), ..., c(m)
//   mu: D, a, b, d(1), ..., d(m)
struct Item {
  int number = 0;  // as written; messages name the item by it and by its position
  ItemModel model = ItemModel::l3;
  std::vector<int> category_scores;  // one per category: the first the lowest, the last the highest
  std::vector<double> parameters;
  // The name a calibration program gave the item ("R05001"); empty when it
  // has none. Messages and CSV files name it beside the number.
  std::string label{};
};

// One group's ability distribution. The weights need not sum to 1: equate()
// divides them by their sum.
struct QuadratureGrid {
  std::vector<double> points;
  std::vector<double> weights;
};

// Form Y's raw-to-scale conversion. Row j belongs to form Y's j-th raw score
// point, counted from its lowest; rows beyond its score points are not used.
struct ScaleTable {
  int scale_min = 0;            // lowest reportable scale score
  int scale_max = 0;            // highest reportable scale score
  std::vector<double> raw;      // may be empty; if given, row j holds form Y's j-th score point
  std::vector<double> scale;    // unrounded scale score of each row
  std::vector<double> rounded;  // rounded scale score of each row, as given
};

// How messages name each input: the file names when the input was read from files.
struct InputNames {
  std::string items_x = "form X items";
  std::string items_y = "form Y items";
  std::string grid_group1 = "group 1 grid";
  std::string grid_group2 = "group 2 grid";
  std::string scale_table = "scale table";
};

// Everything one equating needs. Group 1 took form X (the new form), group 2
// took form Y (the old form); all item parameters are on one ability scale.
struct EquatingInput {
  std::vector<Item> items_x;
  std::vector<Item> items_y;
  QuadratureGrid grid_group1;
  QuadratureGrid grid_group2;
  ScaleTable scale_table;
  double w2 = 0.5;  // weight of group 2 in the synthetic population; group 1 has 1 - w2
  InputNames names;
};

}  // namespace irteq
