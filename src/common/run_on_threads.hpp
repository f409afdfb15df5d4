#pragma once

#include <functional>

namespace irteq {

// Runs work(0) on the calling thread and work(1) .. work(threads - 1) on
// threads started here and joined before it returns (so that nothing outlives
// the call, and a fork() afterwards finds no threads), each worker under the
// run's floating-point mode. A thread the system cannot start is left out:
// callers share their work out through counters, so that any number of
// workers completes it. The first exception a worker threw is rethrown once
// all have joined.
void run_on_threads(int threads, const std::function<void(int worker)>& work);

}  // namespace irteq
