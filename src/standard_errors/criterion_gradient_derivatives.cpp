// Mixed second derivatives of a characteristic-curve criterion, in (A, B)
// and in the items' parameters, for the implicit function of its minimum.
// Each squared difference w r^2 gives d(dF/dA)/d(eta) = 2 w (r_eta r_A +
// r r_A,eta): the fixed side's items enter r alone, the moved side's enter
// r and, through their slope at the transformed ability xi, r_A and r_B.
#include "standard_errors/criterion_gradient_derivatives.hpp"

#include <array>
#include <vector>

#include "irteq/limits.hpp"
#include "linking/criterion_residuals.hpp"
#include "linking/criterion_terms.hpp"
#include "models/normalised_grid.hpp"
#include "models/parameter_derivatives.hpp"

namespace irteq {

namespace {

// One scale's two sides: the fixed items at the grid's points and the moved
// items at the transformed ability, with each item's first column.
struct Side {
  std::vector<const Item*> items;
  std::vector<std::size_t> columns;
  std::vector<ParameterDerivatives> at_point;  // per item, at the current point
};

// Per category of one item, what multiplies its probability's derivative
// in each parameter (p) and its mixed derivative in xi and the parameter
// (xi_p) in the derivatives of dF/dA and dF/dB. Filled for the item's
// categories only, not zeroed whole: an item and point at a time, zeroing
// every possible category would cost more than the sums.
struct CategoryCoefficients {
  std::array<double, max_categories> a_p;
  std::array<double, max_categories> a_xi_p;
  std::array<double, max_categories> b_p;
  std::array<double, max_categories> b_xi_p;
};

void clear(CategoryCoefficients& c, std::size_t categories) {
  for (std::size_t k = 0; k < categories; ++k) c.a_p[k] = c.a_xi_p[k] = c.b_p[k] = c.b_xi_p[k] = 0.0;
}

void add_item(Gradients& g, const ParameterDerivatives& d, std::size_t column, const CategoryCoefficients& c) {
  for (std::size_t j = 0; j < d.parameters; ++j) {
    double a = 0.0;
    double b = 0.0;
    for (std::size_t k = 0; k < d.categories; ++k) {
      a += c.a_p[k] * d.at(d.dparameter, j, k) + c.a_xi_p[k] * d.at(d.dtheta_dparameter, j, k);
      b += c.b_p[k] * d.at(d.dparameter, j, k) + c.b_xi_p[k] * d.at(d.dtheta_dparameter, j, k);
    }
    g.at(0, column + j) += a;
    g.at(1, column + j) += b;
  }
}

// A residual r = fixed - moved of weight w, entered by category k of an
// item with the factor u: r_eta = u dP_fixed/deta or -u dP_moved/deta, and
// for the moved item r_A = -P'(xi) xi_A gives r_A,eta = -u dP'/deta xi_A.
void set_category(CategoryCoefficients& fixed, CategoryCoefficients& moved, std::size_t k, double u, double w,
                  double r, double slope, const TransformedAbility& at) {
  const double r_A = -slope * at.gradient[0];
  const double r_B = -slope * at.gradient[1];
  fixed.a_p[k] = 2.0 * w * u * r_A;
  fixed.b_p[k] = 2.0 * w * u * r_B;
  fixed.a_xi_p[k] = 0.0;
  fixed.b_xi_p[k] = 0.0;
  moved.a_p[k] = -fixed.a_p[k];
  moved.b_p[k] = -fixed.b_p[k];
  moved.a_xi_p[k] = -2.0 * w * u * r * at.gradient[0];
  moved.b_xi_p[k] = -2.0 * w * u * r * at.gradient[1];
}

// Haebara: one residual per compared category of each item.
void add_haebara_point(Gradients& g, double w, const TransformedAbility& at, const Side& fixed, const Side& moved) {
  for (std::size_t i = 0; i < moved.items.size(); ++i) {
    const ParameterDerivatives& f = fixed.at_point[i];
    const ParameterDerivatives& m = moved.at_point[i];
    CategoryCoefficients on_fixed;
    CategoryCoefficients on_moved;
    clear(on_fixed, m.categories);
    clear(on_moved, m.categories);
    haebara_residuals(*moved.items[i], f.p.data(), m.p.data(), m.dtheta.data(), nullptr,
                      [&](double r, double slope, double, std::size_t k) {
                        set_category(on_fixed, on_moved, k, 1.0, w, r, slope, at);
                      });
    add_item(g, f, fixed.columns[i], on_fixed);
    add_item(g, m, moved.columns[i], on_moved);
  }
}

// Stocking-Lord: one residual per point, every category of every item in it with its weight.
void add_stocking_lord_point(Gradients& g, double w, const TransformedAbility& at, const Side& fixed,
                             const Side& moved) {
  StockingLordResidual residual;
  for (std::size_t i = 0; i < moved.items.size(); ++i) {
    const ParameterDerivatives& m = moved.at_point[i];
    residual.add(*moved.items[i], fixed.at_point[i].p.data(), m.p.data(), m.dtheta.data(), nullptr);
  }
  for (std::size_t i = 0; i < moved.items.size(); ++i) {
    const Item& item = *moved.items[i];
    CategoryCoefficients on_fixed;
    CategoryCoefficients on_moved;
    for (std::size_t k = 0; k < item.category_scores.size(); ++k) {
      set_category(on_fixed, on_moved, k, StockingLordResidual::weight(item, k), w, residual.difference,
                   residual.slope, at);
    }
    add_item(g, fixed.at_point[i], fixed.columns[i], on_fixed);
    add_item(g, moved.at_point[i], moved.columns[i], on_moved);
  }
}

void add_scale_part(Gradients& g, LinkingMethod method, Side& fixed, Side& moved, const QuadratureGrid& grid,
                    auto transformed) {
  fixed.at_point.resize(fixed.items.size());
  moved.at_point.resize(moved.items.size());
  for (std::size_t q = 0; q < grid.points.size(); ++q) {
    const TransformedAbility at = transformed(grid.points[q]);
    for (std::size_t i = 0; i < moved.items.size(); ++i) {
      parameter_derivatives(*fixed.items[i], grid.points[q], fixed.at_point[i]);
      parameter_derivatives(*moved.items[i], at.xi, moved.at_point[i]);
    }
    if (method == LinkingMethod::haebara) {
      add_haebara_point(g, grid.weights[q], at, fixed, moved);
    } else {
      add_stocking_lord_point(g, grid.weights[q], at, fixed, moved);
    }
  }
}

}  // namespace

Gradients criterion_gradient_derivatives(LinkingMethod method, const EquatingInput& forms, const LinkingInput& linking,
                                         std::span<const CommonItemPositions> common, const ParameterLayout& layout,
                                         double A, double B) {
  Side x;
  Side y;
  for (const CommonItemPositions& pair : common) {
    x.items.push_back(&forms.items_x[pair.x]);
    x.columns.push_back(layout.x_offsets[pair.x]);
    y.items.push_back(&forms.items_y[pair.y]);
    y.columns.push_back(layout.y_offsets[pair.y]);
  }
  Gradients g(2, layout.columns());
  add_scale_part(g, method, y, x, normalised_grid(forms.grid_group2),
                 [&](double theta) { return onto_form_x(theta, A, B); });
  if (linking.symmetric) {
    add_scale_part(g, method, x, y, normalised_grid(forms.grid_group1),
                   [&](double theta) { return onto_form_y(theta, A, B); });
  }
  return g;
}

}  // namespace irteq
