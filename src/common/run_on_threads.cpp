#include "common/run_on_threads.hpp"

#include <exception>
#include <system_error>
#include <thread>
#include <vector>

#include "common/floating_point_mode.hpp"

namespace irteq {

void run_on_threads(int threads, const std::function<void(int worker)>& work) {
  const auto count = static_cast<std::size_t>(threads > 1 ? threads : 1);
  std::vector<std::exception_ptr> failures(count);
  const auto run = [&](int worker) {
    try {
      const FloatingPointMode mode;  // a new thread's mode is the system's default
      work(worker);
    } catch (...) {
      failures[static_cast<std::size_t>(worker)] = std::current_exception();
    }
  };
  std::vector<std::thread> started;
  started.reserve(count - 1);
  for (std::size_t worker = 1; worker < count; ++worker) {
    try {
      started.emplace_back(run, static_cast<int>(worker));
    } catch (const std::system_error&) {
      break;
    }
  }
  run(0);
  for (std::thread& thread : started) thread.join();
  for (const std::exception_ptr& failure : failures) {
    if (failure) std::rethrow_exception(failure);
  }
}

}  // namespace irteq
