// Parametric draws of a run: each form's parameters drawn from the normal
// distribution of its estimates, linked again when the run links, and
// equated again. Draws are handed out to workers by an atomic counter and
// each writes its own slot; draw r's numbers come from its own stream, so
// nothing in a draw depends on which worker ran it or what ran before.
#include "standard_errors/parametric_draws.hpp"

#include <algorithm>
#include <atomic>
#include <climits>
#include <exception>
#include <string>

#include "common/floating_point_mode.hpp"
#include "common/run_on_threads.hpp"
#include "irteq/equate.hpp"
#include "irteq/error.hpp"
#include "linking/link_applied.hpp"
#include "standard_errors/draw_factor.hpp"
#include "standard_errors/draw_items.hpp"
#include "standard_errors/normal_draws.hpp"

namespace irteq {

namespace {

// What every draw shares.
struct DrawPlan {
  const EquatingInput& estimates;
  std::optional<LinkingInput> linking;  // the run's, with the applied method
  std::optional<DrawFactor> x;
  std::optional<DrawFactor> y;
  std::uint64_t seed = 1;
  long long redraw_limit = 0;
};

// One worker's inputs, reused from draw to draw.
struct DrawBuffers {
  std::vector<double> normals;
  std::vector<Item> x;
  std::vector<Item> y;
  EquatingInput equating;
  std::optional<LinkingInput> linking;
};

// The draw's items, when the models can use them and, when the run links,
// its linking can be had; else why not.
std::string usable_draw(const DrawPlan& plan, DrawBuffers& buffers, LinkingResult& linked) {
  try {
    validate_items(buffers.x, plan.estimates.names.items_x);
    validate_items(buffers.y, plan.estimates.names.items_y);
    if (buffers.linking) {
      buffers.linking->items_x = buffers.x;
      buffers.linking->items_y = buffers.y;
      linked = link_applied(*buffers.linking);
    }
  } catch (const Error& error) {
    return error.what();
  }
  return {};
}

DrawnEquating one_draw(const DrawPlan& plan, int draw, DrawBuffers& buffers, int& redraws,
                       std::atomic<long long>& all_redraws) {
  NormalDraws stream(plan.seed, static_cast<std::uint64_t>(draw));
  LinkingResult linked;
  for (;;) {
    if (plan.x) draw_items(plan.estimates.items_x, *plan.x, stream, buffers.normals, buffers.x);
    if (plan.y) draw_items(plan.estimates.items_y, *plan.y, stream, buffers.normals, buffers.y);
    const std::string problem = usable_draw(plan, buffers, linked);
    if (problem.empty()) break;
    ++redraws;
    if (all_redraws.fetch_add(1) + 1 > plan.redraw_limit) {
      throw Error("parametric draws: more than " + std::to_string(plan.redraw_limit) +
                      " draws had to be drawn again; the covariances reach far beyond what the models can use, "
                      "as in: " + problem,
                  {.code = ErrorCode::invalid_input});
    }
  }
  EquatingInput& input = buffers.equating;
  input.items_y = buffers.y;
  if (buffers.linking) {
    input = linked_input(std::move(input), linked);
  } else {
    input.items_x = buffers.x;
  }
  EquatingResult result;
  try {
    result = equate(input, {.threads = 1});
  } catch (const Error& error) {
    throw Error("parametric draw " + std::to_string(draw + 1) + ": " + error.what(), error.diagnostic());
  }
  return {std::move(result.true_score.equivalents), std::move(result.true_score.scale),
          std::move(result.observed_score.equivalents), std::move(result.observed_score.scale),
          buffers.linking ? linked.A : 1.0, buffers.linking ? linked.B : 0.0};
}

}  // namespace

DrawnResults parametric_draws(const RunInput& run, const std::optional<LinkingResult>& linking,
                              const ParameterCovariances& covariances, const StandardErrorOptions& options) {
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
  DrawPlan plan{estimates, run.linking, std::nullopt, std::nullopt, options.seed,
                std::min(10LL * total, static_cast<long long>(INT_MAX / 2))};
  if (plan.linking && linking) {
    plan.linking->method = linking->applied;
    plan.linking->symmetric = linking->symmetric;
  }
  if (covariances.x) plan.x = draw_factor(*covariances.x, estimates.items_x, covariances.x_name);
  if (covariances.y) plan.y = draw_factor(*covariances.y, estimates.items_y, covariances.y_name);

  out.draws.resize(static_cast<std::size_t>(total));
  std::vector<int> redraws(static_cast<std::size_t>(total), 0);
  std::atomic<int> next{0};
  std::atomic<int> done{0};
  std::atomic<long long> all_redraws{0};
  std::atomic<bool> stop{false};
  bool interrupted = false;  // these two are the calling thread's alone
  int reported = -1;
  const auto report = [&](int count) {
    if (!options.progress || interrupted || count == reported) return;
    reported = count;
    if (!options.progress(count, total)) {
      interrupted = true;
      stop = true;
    }
  };
  // Each worker's failure and the draw it came from; the earliest draw's is
  // thrown, every draw before it having been completed by then.
  const int workers = std::clamp(options.threads, 1, total);
  std::vector<int> failed_draw(static_cast<std::size_t>(workers), INT_MAX);
  std::vector<std::exception_ptr> failures(static_cast<std::size_t>(workers));

  report(0);
  run_on_threads(workers, [&](int worker) {
    int draw = -1;
    try {
      DrawBuffers buffers{{}, estimates.items_x, estimates.items_y, estimates, plan.linking};
      while (!stop) {
        draw = next.fetch_add(1);
        if (draw >= total) break;
        const auto slot = static_cast<std::size_t>(draw);
        out.draws[slot] = one_draw(plan, draw, buffers, redraws[slot], all_redraws);
        const int count = done.fetch_add(1) + 1;
        if (worker == 0) report(count);
      }
    } catch (...) {
      failed_draw[static_cast<std::size_t>(worker)] = draw;
      failures[static_cast<std::size_t>(worker)] = std::current_exception();
      stop = true;
    }
  });
  const auto first = std::min_element(failed_draw.begin(), failed_draw.end());
  if (*first != INT_MAX) std::rethrow_exception(failures[static_cast<std::size_t>(first - failed_draw.begin())]);
  report(done);
  if (interrupted) {
    throw Error("parametric draws interrupted after " + std::to_string(done.load()) + " of " + std::to_string(total) +
                    " draws",
                {.code = ErrorCode::interrupted});
  }
  for (const int count : redraws) out.redraws += count;
  return out;
}

}  // namespace irteq
