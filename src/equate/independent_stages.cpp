#include "equate/independent_stages.hpp"

#include <algorithm>
#include <array>
#include <atomic>
#include <condition_variable>
#include <mutex>

#include "common/run_on_threads.hpp"
#include "common/score_range.hpp"
#include "observed/marginal_score_distribution.hpp"
#include "truescore/true_score_equivalents.hpp"

namespace irteq {

namespace {

IndependentStages on_one_thread(std::span<const Item> items_y, std::span<const Item> items_x,
                                const QuadratureGrid& group1, const QuadratureGrid& group2, double root_tolerance) {
  IndependentStages stages;
  stages.y_group2 = marginal_score_distribution(items_y, group2);
  stages.y_group1 = marginal_score_distribution(items_y, group1);
  stages.x_group1 = marginal_score_distribution(items_x, group1);
  stages.x_group2 = marginal_score_distribution(items_x, group2);
  true_score_equivalents(items_y, items_x, score_points(score_range(items_x)), score_points(score_range(items_y)),
                         root_tolerance, stages.true_score, stages.warnings);
  return stages;
}

// One form in one group, and where its marginal distribution goes.
struct Marginal {
  std::span<const Item> items;
  const QuadratureGrid& grid;
  ScoreDistribution& result;
};

// Form Y's true scores are shared out in runs of this many score points.
constexpr std::size_t equivalents_per_unit = 32;

// How many of form X's first points have their final theta, for the workers
// that wait to compute form Y's true scores there. (A mutex and a condition
// variable rather than std::atomic::wait, which older macOS libraries lack.)
class SettledPoints {
 public:
  explicit SettledPoints(std::size_t all) : all_(all) {}

  // Waiting workers wake when a whole run of points has settled, not at every search.
  void settle(std::size_t points) {
    std::size_t before = 0;
    {
      const std::lock_guard lock(mutex_);
      before = settled_;
      settled_ = points;
    }
    if (points / equivalents_per_unit != before / equivalents_per_unit || points == all_) changed_.notify_all();
  }

  void wait_for(std::size_t points) {
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [&] { return settled_ >= points; });
  }

 private:
  const std::size_t all_;
  std::size_t settled_ = 0;
  std::mutex mutex_;
  std::condition_variable changed_;
};

}  // namespace

IndependentStages independent_stages(std::span<const Item> items_y, std::span<const Item> items_x,
                                     const QuadratureGrid& group1, const QuadratureGrid& group2, int threads,
                                     double root_tolerance) {
  if (threads <= 1) return on_one_thread(items_y, items_x, group1, group2, root_tolerance);

  IndependentStages stages;
  const std::array<Marginal, 4> marginals{Marginal{items_y, group2, stages.y_group2},
                                          Marginal{items_y, group1, stages.y_group1},
                                          Marginal{items_x, group1, stages.x_group1},
                                          Marginal{items_x, group2, stages.x_group2}};
  const std::vector<double> scores_x = score_points(score_range(items_x));
  const std::vector<double> scores_y = score_points(score_range(items_y));
  const int workers = static_cast<int>(std::min<std::size_t>(static_cast<std::size_t>(threads), marginals.size() + 1));

  // Worker 0 first runs the searches; every worker takes marginal
  // distributions by number until none is left, each summed over its grid in
  // grid order as on one thread, then form Y's true scores by runs of points
  // as the searches settle them.
  std::atomic<std::size_t> next_marginal{0};
  std::atomic<std::size_t> next_equivalent{0};
  const std::size_t x_points = scores_x.size();
  SettledPoints settled(x_points);
  run_on_threads(workers, [&](int worker) {
    if (worker == 0) {
      try {
        true_score_thetas(items_x, scores_x, scores_y, chance_score(items_y), root_tolerance, stages.true_score,
                          stages.warnings, [&](std::size_t points) { settled.settle(points); });
      } catch (...) {
        settled.settle(x_points);  // no worker waits for searches that will not come; rethrown at the join
        throw;
      }
    }
    for (std::size_t m; (m = next_marginal.fetch_add(1)) < marginals.size();) {
      marginals[m].result = marginal_score_distribution(marginals[m].items, marginals[m].grid);
    }
    for (std::size_t begin; (begin = next_equivalent.fetch_add(equivalents_per_unit)) < x_points;) {
      const std::size_t end = std::min(begin + equivalents_per_unit, x_points);
      settled.wait_for(end);
      searched_equivalents(items_y, stages.true_score, begin, end);
    }
  });

  return stages;
}

}  // namespace irteq
