#pragma once

#include <array>

#include "common/file_names.hpp"
#include "common/item_set.hpp"
#include "common/limits.hpp"
#include "common/quadrature_grid.hpp"
#include "common/scale_table.hpp"
#include "common/score_distribution.hpp"

namespace irteq {

using PerScorePoint = std::array<double, max_score_points>;

// Everything one run reads and computes, held for the whole run.
struct RunData {
  FileNames file_names;
  ItemSet items_y;
  ItemSet items_x;
  QuadratureGrid grid_group2;  // the group that took form Y
  QuadratureGrid grid_group1;  // the group that took form X
  ScaleTable scale_table;
  double w2 = 0.0;

  ScoreDistribution y_group1;
  ScoreDistribution y_group2;
  ScoreDistribution y_synthetic;
  ScoreDistribution x_group1;
  ScoreDistribution x_group2;
  ScoreDistribution x_synthetic;

  // One entry per form X score point.
  PerScorePoint thetas{};
  PerScorePoint true_equivalents{};
  PerScorePoint observed_equivalents{};
  PerScorePoint true_scale{};
  PerScorePoint observed_scale{};
  PerScorePoint true_rounded{};
  PerScorePoint observed_rounded{};
};

}  // namespace irteq
