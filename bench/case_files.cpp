#include "case_files.hpp"

#include <stdlib.h>  // mkdtemp

#include <cmath>
#include <cstdio>
#include <fstream>
#include <stdexcept>

namespace irteq::bench {

namespace {

std::string format(const char* pattern, double value) {
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, pattern, value);
  return buffer;
}

std::ofstream open_for_writing(const std::filesystem::path& path) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  if (!out) throw std::runtime_error("cannot write " + path.string());
  return out;
}

std::string quoted(const std::filesystem::path& path) {
  std::string text = "\"";
  for (const char c : path.string()) text += c == '"' ? std::string("\"\"") : std::string(1, c);
  return text + "\"";
}

}  // namespace

void write_item_parameter_file(const std::filesystem::path& path, std::span<const Item> items,
                               std::string_view title) {
  std::ofstream out = open_for_writing(path);
  out << "1 " << title << '\n';
  for (const Item& item : items) {
    out << item.number << ' ' << item_code(item.model) << ' ' << item.category_scores.size() << '\n';
    for (std::size_t k = 0; k < item.category_scores.size(); ++k) {
      out << (k == 0 ? "" : " ") << item.category_scores[k];
    }
    out << '\n';
    for (std::size_t k = 0; k < item.parameters.size(); ++k) {
      out << (k == 0 ? "" : " ") << format("%.4f", item.parameters[k]);
    }
    out << '\n';
  }
  if (!out.flush()) throw std::runtime_error("cannot write " + path.string());
}

void write_quadrature_file(const std::filesystem::path& path, const QuadratureGrid& grid, std::string_view title) {
  std::ofstream out = open_for_writing(path);
  out << title << '\n';
  for (std::size_t j = 0; j < grid.points.size(); ++j) {
    out << format("%.6f", grid.points[j]) << ' ' << format("%.10f", grid.weights[j]) << '\n';
  }
  if (!out.flush()) throw std::runtime_error("cannot write " + path.string());
}

void write_scale_file(const std::filesystem::path& path, long long lowest_raw, long long highest_raw, int scale_min,
                      int scale_max, double w2, std::string_view title) {
  std::ofstream out = open_for_writing(path);
  out << title << '\n' << scale_min << ' ' << scale_max << ' ' << format("%.4f", w2) << '\n';
  // Steeper in the middle than at the ends, like conversions built from a
  // reference group's percentiles, and strictly increasing throughout; the
  // ends stay 0.2 inside the limits.
  const double span = static_cast<double>(highest_raw - lowest_raw);
  const double bottom = scale_min + 0.2;
  const double height = (scale_max - 0.2) - bottom;
  for (long long raw = lowest_raw; raw <= highest_raw; ++raw) {
    const double t = span > 0.0 ? static_cast<double>(raw - lowest_raw) / span : 0.0;
    const double shape = 0.3 * t + 0.7 * t * t * (3.0 - 2.0 * t);
    const double scale = std::round((bottom + height * shape) * 1e4) / 1e4;
    out << raw << ' ' << format("%.4f", scale) << ' ' << format("%.0f", std::floor(scale + 0.5)) << '\n';
  }
  if (!out.flush()) throw std::runtime_error("cannot write " + path.string());
}

void write_covariance_file(const std::filesystem::path& path, const Covariance& covariance, std::string_view title) {
  std::ofstream out = open_for_writing(path);
  out << title << '\n';
  for (std::size_t row = 0; row < covariance.size; ++row) {
    for (std::size_t column = 0; column < covariance.size; ++column) {
      out << (column == 0 ? "" : " ") << format("%.17g", covariance.values[row * covariance.size + column]);
    }
    out << '\n';
  }
  if (!out.flush()) throw std::runtime_error("cannot write " + path.string());
}

void write_control_file(const std::filesystem::path& path, const std::filesystem::path& folder) {
  std::ofstream out = open_for_writing(path);
  out << "output " << quoted(folder / report_name) << '\n';
  out << "old_para " << quoted(folder / form_y_name) << '\n';
  out << "old_quad " << quoted(folder / group2_name) << '\n';
  out << "raw2scale " << quoted(folder / scale_name) << '\n';
  out << "new_para " << quoted(folder / form_x_name) << '\n';
  out << "new_quad " << quoted(folder / group1_name) << '\n';
  if (!out.flush()) throw std::runtime_error("cannot write " + path.string());
}

TemporaryFolder::TemporaryFolder(std::string_view prefix) {
  std::string pattern = (std::filesystem::temp_directory_path() / (std::string(prefix) + "-XXXXXX")).string();
  if (mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("cannot make a temporary folder");
  path_ = pattern;
}

TemporaryFolder::~TemporaryFolder() {
  std::error_code ignored;
  std::filesystem::remove_all(path_, ignored);
}

}  // namespace irteq::bench
