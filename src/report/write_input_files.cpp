// Item parameter, quadrature and covariance files in the formats the readers
// take, so that items, grids and covariances made in memory (a linking's
// transformed form X, a converted calibration's covariance) can be kept and
// read back: numbers in the shortest text that reads back to the same
// double, "MU" items as "MU", checked first as run() checks them.
#include <ostream>
#include <string>

#include "common/number_text.hpp"
#include "irteq/files.hpp"
#include "irteq/validate.hpp"

namespace irteq {

namespace {

// A title line: the readers take its first 79 columns (after the item file's digit column).
std::string title_line(std::string_view title) {
  std::string text(title.substr(0, 79));
  for (char& c : text) {
    if (c == '\r' || c == '\n') c = ' ';
  }
  return text;
}

}  // namespace

void write_items(const std::vector<Item>& items, std::ostream& out, std::string_view title) {
  validate_items(items, "items to write");
  out << ' ' << title_line(title) << '\n';
  for (const Item& item : items) {
    out << item.number << ' ' << item_code(item.model) << ' ' << item.category_scores.size() << '\n';
    for (std::size_t k = 0; k < item.category_scores.size(); ++k) {
      out << (k == 0 ? "" : " ") << item.category_scores[k];
    }
    out << '\n';
    for (std::size_t k = 0; k < item.parameters.size(); ++k) {
      out << (k == 0 ? "" : " ") << shortest_text(item.parameters[k]);
    }
    out << '\n';
  }
}

void write_grid(const QuadratureGrid& grid, std::ostream& out, std::string_view title) {
  validate_grid(grid, "grid to write");
  out << title_line(title) << '\n';
  for (std::size_t j = 0; j < grid.points.size(); ++j) {
    out << shortest_text(grid.points[j]) << ' ' << shortest_text(grid.weights[j]) << '\n';
  }
}

void write_covariance(const Covariance& covariance, const std::vector<Item>& items, std::ostream& out,
                      std::string_view title) {
  validate_items(items, "items of the covariance to write");
  validate_covariance(covariance, items, "covariance to write");
  out << title_line(title) << '\n';
  if (covariance.guessing == GuessingMetric::logit) out << "guessing logit\n";
  for (std::size_t row = 0; row < covariance.size; ++row) {
    for (std::size_t column = 0; column < covariance.size; ++column) {
      out << (column == 0 ? "" : " ") << shortest_text(covariance.values[row * covariance.size + column]);
    }
    out << '\n';
  }
}

}  // namespace irteq
