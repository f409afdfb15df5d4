#pragma once

#include "irteq/input.hpp"
#include "irteq/result.hpp"
#include "irteq/validate.hpp"

namespace irteq {

// How equate() runs; the results never depend on it.
struct EquatingOptions {
  // Threads of one equating: the calling thread and threads - 1 more, started
  // by the call and joined before it returns (none outlives it, so a fork()
  // afterwards is safe). 1, the default, leaves the parallelism to callers
  // that run many equatings at once; values below 1 count as 1.
  int threads = 1;
};

// Equates form X to form Y by IRT true score and observed score equating.
// Checks the input first and throws Error on anything it cannot use. Pure:
// no I/O and no shared state, so it may run on several threads at once; it
// sets round-to-nearest with masked exceptions for the run and restores the
// caller's floating-point mode afterwards. The results are the same to the
// last bit whatever options.threads is.
EquatingResult equate(const EquatingInput& input, const EquatingOptions& options = {});

}  // namespace irteq
