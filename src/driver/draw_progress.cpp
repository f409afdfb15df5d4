// The draws' progress on the terminal: a line rewritten in place with a
// carriage return, so that a long run shows it is alive.
#include "driver/draw_progress.hpp"

#include <unistd.h>

#include <iostream>
#include <memory>

namespace irteq {

bool is_terminal(const std::ostream& out) { return &out == &std::cerr && isatty(STDERR_FILENO) == 1; }

std::function<bool(int done, int total)> draw_progress(std::ostream& out) {
  auto shown = std::make_shared<int>(-1);
  return [&out, shown](int done, int total) {
    const int percent = total > 0 ? static_cast<int>(100LL * done / total) : 100;
    if (percent == *shown) return true;
    *shown = percent;
    out << "\rirteq: draws " << done << " of " << total << (done == total ? "\n" : "") << std::flush;
    return true;
  };
}

}  // namespace irteq
