// Equates form X to form Y from a control file through irteq's library,
// linking the forms' scales first when the control file names common items,
// and prints both methods' equivalents per form X raw score.
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
    const irteq::RunInput run = irteq::read_run(irteq::read_control(argv[1]));
    irteq::EquatingInput input = run.equating;
    if (run.linking) {
      const irteq::LinkingResult linking = irteq::link(*run.linking);
      const std::string_view method = irteq::linking_method_name(linking.applied);
      std::printf("linked by %.*s: A = %.6f, B = %.6f\n", static_cast<int>(method.size()), method.data(), linking.A,
                  linking.B);
      input = irteq::linked_input(input, linking);
    }
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
