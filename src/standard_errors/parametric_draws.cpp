// Parametric draws of a run: each form's parameters drawn from the normal
// distribution of its estimates, linked again when the run links, and
// equated again. Draws are handed out to workers by an atomic counter and
// each writes its own slot; draw r's numbers come from its own stream, so
// nothing in a draw depends on which worker ran it or what ran before.
// Failures are judged in draw order once the workers have joined, so they
// too are the same on any thread count.
#include "standard_errors/parametric_draws.hpp"

#include <algorithm>
#include <atomic>
#include <climits>
#include <cmath>
#include <exception>
#include <functional>
#include <mutex>
#include <string>

#include "common/floating_point_mode.hpp"
#include "common/run_on_threads.hpp"
#include "irteq/equate.hpp"
#include "irteq/error.hpp"
#include "linking/link_methods.hpp"
#include "models/item_problems.hpp"
#include "standard_errors/draw_factor.hpp"
#include "standard_errors/draw_items.hpp"
#include "standard_errors/normal_draws.hpp"

namespace irteq {

namespace {

// What every draw shares.
struct DrawPlan {
  const RunInput& run;
  std::optional<DrawFactor> x;
  std::optional<DrawFactor> y;
  std::uint64_t seed = 1;
  long long redraw_limit = 0;
  double root_tolerance = default_root_tolerance;
};

// One worker's inputs, reused from draw to draw: the run's forms with the drawn items.
struct DrawBuffers {
  std::vector<double> normals;
  EquatingInput forms;
};

// How one draw ended, and what it leaves for the run's verdict.
enum class DrawEnd {
  equated,     // its items were usable and it was equated (or its equating failed)
  over_limit,  // it alone was drawn again more often than the run allows: the run fails by it at the latest
  abandoned,   // stopped because it no longer matters (a failure before it, an interrupt)
};

struct DrawOutcome {
  bool done = false;           // equated or over the limit: it counts in the verdict
  int redraws = 0;
  std::string first_problem;   // why its first attempt was drawn again
  std::vector<std::size_t> invalid;  // the items invalid in its attempts: form X's positions, then form Y's after them
  std::exception_ptr failure;  // its equating failed
};

// The draw's items, when the models can use them and, when the run links,
// its linking can be had; else why not.
std::string usable_draw(const DrawPlan& plan, DrawBuffers& buffers, LinkingResult& linked) {
  try {
    validate_items(buffers.forms.items_x, plan.run.equating.names.items_x);
    validate_items(buffers.forms.items_y, plan.run.equating.names.items_y);
    if (plan.run.linking) linked = link_methods(buffers.forms, *plan.run.linking, LinkingScope::applied_method);
  } catch (const Error& error) {
    return error.what();
  }
  return {};
}

// The drawn items the models cannot use, added to invalid: form X's by
// position, form Y's after form X's.
void add_invalid_items(const DrawPlan& plan, const DrawBuffers& buffers, std::vector<std::size_t>& invalid) {
  const auto add = [&](const std::vector<Item>& items, std::size_t first) {
    for (std::size_t i = 0; i < items.size(); ++i) {
      const Item& item = items[i];
      const bool finite = std::all_of(item.parameters.begin(), item.parameters.end(),
                                      [](double value) { return std::isfinite(value); });
      const auto m = static_cast<int>(item.category_scores.size());
      if (!finite || !parameter_problem(item.model, m, item.parameters).empty()) invalid.push_back(first + i);
    }
  };
  if (plan.x) add(buffers.forms.items_x, 0);
  if (plan.y) add(buffers.forms.items_y, plan.run.equating.items_x.size());
}

// Counts of the items the draws' attempts found invalid, most often first.
std::vector<InvalidDrawnItem> invalid_items(const EquatingInput& forms, const std::vector<DrawOutcome>& outcomes) {
  const std::size_t x_size = forms.items_x.size();
  std::vector<int> counts(x_size + forms.items_y.size(), 0);
  for (const DrawOutcome& outcome : outcomes) {
    for (const std::size_t i : outcome.invalid) ++counts[i];
  }
  std::vector<InvalidDrawnItem> out;
  for (std::size_t i = 0; i < counts.size(); ++i) {
    if (counts[i] == 0) continue;
    const bool x = i < x_size;
    const Item& item = x ? forms.items_x[i] : forms.items_y[i - x_size];
    out.push_back({x ? 'X' : 'Y', static_cast<int>(x ? i + 1 : i - x_size + 1), item.number, item.label, counts[i]});
  }
  std::stable_sort(out.begin(), out.end(),
                   [](const InvalidDrawnItem& a, const InvalidDrawnItem& b) { return a.count > b.count; });
  return out;
}

// Draws until the items can be used, then equates them into drawn.
DrawEnd one_draw(const DrawPlan& plan, int draw, DrawBuffers& buffers, DrawOutcome& outcome,
                 const std::function<bool()>& abandon, DrawnEquating& drawn) {
  NormalDraws stream(plan.seed, static_cast<std::uint64_t>(draw));
  const EquatingInput& estimates = plan.run.equating;
  LinkingResult linked;
  for (;;) {
    if (plan.x) draw_items(estimates.items_x, *plan.x, stream, buffers.normals, buffers.forms.items_x);
    if (plan.y) draw_items(estimates.items_y, *plan.y, stream, buffers.normals, buffers.forms.items_y);
    const std::string problem = usable_draw(plan, buffers, linked);
    if (problem.empty()) break;
    add_invalid_items(plan, buffers, outcome.invalid);
    if (outcome.redraws == 0) outcome.first_problem = problem;
    if (++outcome.redraws > plan.redraw_limit) return DrawEnd::over_limit;
    if (abandon()) return DrawEnd::abandoned;
  }
  EquatingInput input = buffers.forms;
  if (plan.run.linking) input = linked_input(std::move(input), linked);
  EquatingResult result;
  try {
    result = equate(input, {.threads = 1, .root_tolerance = plan.root_tolerance});
  } catch (const Error& error) {
    throw Error("parametric draw " + std::to_string(draw + 1) + ": " + error.what(), error.diagnostic());
  }
  drawn = {std::move(result.true_score.equivalents), std::move(result.true_score.scale),
           std::move(result.observed_score.equivalents), std::move(result.observed_score.scale),
           plan.run.linking ? linked.A : 1.0, plan.run.linking ? linked.B : 0.0};
  return DrawEnd::equated;
}

// The verdict on the draws, reached in draw order as they complete: the
// first draw whose equating failed or by which the redraws of all draws so
// far passed the limit, and which of the two it was. Only completed draws
// from the first on are judged, so the verdict does not depend on which
// worker ran which draw.
class DrawVerdict {
 public:
  DrawVerdict(std::vector<DrawOutcome>& outcomes, long long limit) : outcomes_(outcomes), limit_(limit) {}

  void complete(int r) {
    const std::lock_guard lock(mutex_);
    outcomes_[static_cast<std::size_t>(r)].done = true;
    while (failed_draw == INT_MAX && judged_ < outcomes_.size() && outcomes_[judged_].done) {
      const DrawOutcome& outcome = outcomes_[judged_];
      redraws_ += outcome.redraws;
      over_limit_ = redraws_ > limit_;
      if (over_limit_ || outcome.failure) failed_draw = static_cast<int>(judged_);
      ++judged_;
    }
  }
  // Whether the failing draw failed by the redraws rather than its equating.
  bool over_limit() const { return over_limit_; }

  std::atomic<int> failed_draw{INT_MAX};

 private:
  std::vector<DrawOutcome>& outcomes_;
  long long limit_;
  std::mutex mutex_;
  std::size_t judged_ = 0;
  long long redraws_ = 0;
  bool over_limit_ = false;
};

}  // namespace

DrawnResults parametric_draws(const RunInput& run, const ParameterCovariances& covariances,
                              const StandardErrorOptions& options, double root_tolerance) {
  const FloatingPointMode mode;
  const EquatingInput& estimates = run.equating;
  DrawnResults out;
  out.linked = run.linking.has_value();
  const int total = options.draws;
  if (total <= 0) return out;
  if (!covariances.x && !covariances.y) {
    throw Error("parametric draws need the covariance of at least one form's parameter estimates",
                {.code = ErrorCode::invalid_input});
  }
  validate_items(estimates.items_x, estimates.names.items_x);
  validate_items(estimates.items_y, estimates.names.items_y);
  DrawPlan plan{run, std::nullopt, std::nullopt, options.seed,
                std::min(10LL * total, static_cast<long long>(INT_MAX / 2)), root_tolerance};
  if (covariances.x) plan.x = draw_factor(*covariances.x, estimates.items_x, covariances.x_name);
  if (covariances.y) plan.y = draw_factor(*covariances.y, estimates.items_y, covariances.y_name);

  out.draws.resize(static_cast<std::size_t>(total));
  std::vector<DrawOutcome> outcomes(static_cast<std::size_t>(total));
  DrawVerdict verdict(outcomes, plan.redraw_limit);
  std::atomic<int> next{0};
  std::atomic<int> done{0};
  std::atomic<bool> interrupted{false};
  int reported = -1;  // the calling thread's alone
  const auto report = [&](int count) {
    if (!options.progress || interrupted || count == reported) return;
    reported = count;
    if (!options.progress(count, total)) interrupted = true;
  };

  report(0);
  const int workers = std::clamp(options.threads, 1, total);
  run_on_threads(workers, [&](int worker) {
    DrawBuffers buffers{{}, estimates};
    for (;;) {
      const int draw = next.fetch_add(1);
      // A draw after a known failure, or after an interrupt, is not needed.
      const std::function<bool()> abandon = [&] { return interrupted || draw > verdict.failed_draw; };
      if (draw >= total || abandon()) break;
      const auto slot = static_cast<std::size_t>(draw);
      DrawEnd end = DrawEnd::equated;
      try {
        end = one_draw(plan, draw, buffers, outcomes[slot], abandon, out.draws[slot]);
      } catch (...) {
        outcomes[slot].failure = std::current_exception();
      }
      if (end == DrawEnd::abandoned) continue;
      verdict.complete(draw);
      const int count = done.fetch_add(1) + 1;
      if (worker == 0) report(count);
    }
  });
  if (const int failed = verdict.failed_draw; failed != INT_MAX) {
    const DrawOutcome& outcome = outcomes[static_cast<std::size_t>(failed)];
    if (!verdict.over_limit()) std::rethrow_exception(outcome.failure);
    throw Error("parametric draws: more than " + std::to_string(plan.redraw_limit) +
                    " draws had to be drawn again; the covariances reach far beyond what the models can use, "
                    "as in draw " + std::to_string(failed + 1) + ": " + outcome.first_problem,
                {.code = ErrorCode::invalid_input});
  }
  report(done);
  if (interrupted) {
    throw Error("parametric draws interrupted after " + std::to_string(done.load()) + " of " + std::to_string(total) +
                    " draws",
                {.code = ErrorCode::interrupted});
  }
  for (const DrawOutcome& outcome : outcomes) out.redraws += outcome.redraws;
  out.invalid_items = invalid_items(estimates, outcomes);
  return out;
}

}  // namespace irteq
