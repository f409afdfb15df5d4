// The C++ side of r/bench/equate.R: times irteq::equate() on the input a
// control file names, read once and held in memory; prints one time per run,
// in seconds.
#include <chrono>
#include <cstdio>
#include <string>

#include "irteq/irteq.hpp"

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: equate_timer CONTROL_FILE REPETITIONS\n");
    return 2;
  }
  const irteq::EquatingInput input = irteq::read_control_file(argv[1]);
  const int repetitions = std::stoi(argv[2]);
  for (int i = 0; i < repetitions; ++i) {
    const auto start = std::chrono::steady_clock::now();
    const irteq::EquatingResult result = irteq::equate(input);
    const std::chrono::duration<double> seconds = std::chrono::steady_clock::now() - start;
    std::printf("%.6f %zu\n", seconds.count(), result.x.raw_scores.size());
  }
  return 0;
}
