#include "observed/conditional_score_distributions.hpp"

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <utility>
#include <vector>

#include "common/kernel_path.hpp"
#include "common/score_range.hpp"
#include "irteq/limits.hpp"
#include "models/category_probabilities.hpp"
#include "observed/add_item_to_distributions.hpp"

namespace irteq {

namespace {

// Two buffers that take turns as the distributions before and after each
// item, points side by side in lanes, each with `padding` points of zeros
// below point 0 for the categories that reach below the range. They start at
// a 64-byte boundary, so that every point's vector is one whole cache line on
// the widest path rather than straddling two.
class LaneBuffers {
 public:
  LaneBuffers(std::size_t lanes, std::size_t padding, std::size_t points)
      : lanes_(lanes), padding_(padding), size_((padding + points) * lanes), storage_(2 * size_ + 8) {
    const auto address = reinterpret_cast<std::uintptr_t>(storage_.data());
    const std::size_t skip = ((64 - address % 64) % 64) / sizeof(double);
    first_ = storage_.data() + skip;
  }

  // All zero but the sure score 0 in every lane.
  void start() {
    current_ = first_;
    next_ = first_ + size_;
    std::fill_n(first_, 2 * size_, 0.0);
    std::fill_n(current_ + padding_ * lanes_, lanes_, 1.0);
  }

  // Points -spread .. count - 1 of the current distributions.
  std::span<const double> current_from(std::size_t spread, std::size_t count) const {
    return {current_ + (padding_ - spread) * lanes_, (spread + count) * lanes_};
  }
  std::span<double> next(std::size_t count) const { return {next_ + padding_ * lanes_, count * lanes_}; }
  double current_point(std::size_t x, std::size_t lane) const { return current_[(padding_ + x) * lanes_ + lane]; }

  void swap() { std::swap(current_, next_); }

 private:
  std::size_t lanes_;
  std::size_t padding_;
  std::size_t size_;
  std::vector<double> storage_;
  double* first_ = nullptr;
  double* current_ = nullptr;
  double* next_ = nullptr;
};

std::size_t widest_spread(std::span<const Item> items) {
  int widest = 0;
  for (const Item& item : items) widest = std::max(widest, item.category_scores.back() - item.category_scores.front());
  return static_cast<std::size_t>(widest);
}

}  // namespace

void conditional_score_distributions(std::span<const double> thetas, std::span<const Item> items,
                                     std::span<double> probabilities) {
  const KernelPath path = kernel_path();
  const std::size_t lanes = kernel_lanes(path);
  const auto points = static_cast<std::size_t>(score_range(items).point_count());
  LaneBuffers buffers(lanes, widest_spread(items), points);
  std::vector<double> lane_probabilities(max_categories * lanes, 0.0);  // category k of lane t at k * lanes + t
  std::array<double, max_categories> p;
  for (std::size_t first = 0; first < thetas.size(); first += lanes) {
    const std::size_t batch = std::min(lanes, thetas.size() - first);
    buffers.start();
    std::size_t count = 1;
    for (const Item& item : items) {
      const std::span<const int> scores(item.category_scores);
      const std::size_t categories = scores.size();
      for (std::size_t t = 0; t < lanes; ++t) {
        // Lanes past the last theta carry zeros, and their rows are not kept.
        if (t < batch) category_probabilities(item, thetas[first + t], p);
        for (std::size_t k = 0; k < categories; ++k) lane_probabilities[k * lanes + t] = t < batch ? p[k] : 0.0;
      }
      const auto spread = static_cast<std::size_t>(scores.back() - scores.front());
      const std::size_t next_count = count + spread;
      add_item_to_distributions(buffers.current_from(spread, next_count), scores,
                                std::span<const double>(lane_probabilities.data(), categories * lanes),
                                buffers.next(next_count), path);
      buffers.swap();
      count = next_count;
    }
    for (std::size_t t = 0; t < batch; ++t) {
      double* row = probabilities.data() + (first + t) * points;
      for (std::size_t x = 0; x < points; ++x) row[x] = buffers.current_point(x, t);
    }
  }
}

}  // namespace irteq
