// Equates form X to form Y from a control file through irteq's library and
// prints both methods' equivalents per form X raw score.
//
//   equate_control_file examples/spring-grade7/control.txt
#include <irteq/irteq.hpp>

#include <cstdio>
#include <iostream>

int main(int argc, char** argv) {
  if (argc != 2) {
    std::cerr << "usage: equate_control_file CONTROL_FILE\n";
    return 2;
  }
  try {
    // Names in the control file resolve against its own folder.
    const irteq::EquatingInput input = irteq::read_control_file(argv[1]);
    const irteq::EquatingResult result = irteq::equate(input);

    const irteq::TrueScoreEquating& t = result.true_score;
    const irteq::ObservedScoreEquating& o = result.observed_score;
    std::printf("%6s %12s %12s %12s %8s\n", "x-raw", "true", "observed", "difference", "rounded");
    for (std::size_t i = 0; i < result.x.raw_scores.size(); ++i) {
      std::printf("%6.0f %12.6f %12.6f %12.6f %8.0f\n", result.x.raw_scores[i], t.equivalents[i], o.equivalents[i],
                  o.equivalents[i] - t.equivalents[i], o.rounded[i]);
    }
    for (const irteq::RootFinderWarning& warning : result.warnings) {
      std::cerr << "warning: " << irteq::warning_message(warning) << '\n';
    }
    return 0;
  } catch (const irteq::Error& error) {
    const irteq::Diagnostic& where = error.diagnostic();
    std::cerr << "error: " << error.what() << '\n';
    if (where.item > 0) std::cerr << "  (item " << where.item << " of " << where.source << ")\n";
    return 1;
  }
}
