// Equates form X to form Y from a control file through irteq's library: one
// run() links the forms' scales first when the control file names common
// items, equates, and gives standard errors when asked. It prints both
// methods' equivalents per form X raw score and, with a folder, writes the
// CSV files batch mode writes.
//
//   equate_control_file CONTROL_FILE [CSV_FOLDER [DRAWS]]
//
// With DRAWS, standard errors by the delta method and DRAWS parametric
// draws from the covariance files the control file names (new_cov, old_cov).
#include <irteq/irteq.hpp>

#include <cstdio>
#include <iostream>
#include <string>

int main(int argc, char** argv) {
  if (argc < 2 || argc > 4) {
    std::cerr << "usage: equate_control_file CONTROL_FILE [CSV_FOLDER [DRAWS]]\n";
    return 2;
  }
  try {
    // Names in the control file resolve against its own folder.
    const irteq::ControlFile files = irteq::read_control(argv[1]);
    const irteq::RunInput input = irteq::read_run(files);
    irteq::RunOptions options;
    if (argc == 4) {
      options.standard_errors = {.delta_method = true, .draws = std::stoi(argv[3])};
      options.covariances = irteq::read_covariances(files, input);
    }
    const irteq::RunResult result = irteq::run(input, options);

    if (result.linking) {
      const std::string_view method = irteq::linking_method_name(result.linking->applied);
      std::printf("linked by %.*s: A = %.6f, B = %.6f\n", static_cast<int>(method.size()), method.data(),
                  result.linking->A, result.linking->B);
    }
    const irteq::EquatingResult& equating = result.equating;
    const irteq::TrueScoreEquating& t = equating.true_score;
    const irteq::ObservedScoreEquating& o = equating.observed_score;
    std::printf("%6s %12s %12s %12s %8s\n", "x-raw", "true", "observed", "difference", "rounded");
    for (std::size_t i = 0; i < equating.x.raw_scores.size(); ++i) {
      std::printf("%6.0f %12.6f %12.6f %12.6f %8.0f\n", equating.x.raw_scores[i], t.equivalents[i],
                  o.equivalents[i], o.equivalents[i] - t.equivalents[i], o.rounded[i]);
    }
    for (const irteq::RootFinderWarning& warning : equating.warnings) {
      std::cerr << "warning: " << irteq::warning_message(warning) << '\n';
    }
    if (argc >= 3) irteq::write_csv(result, argv[2]);
    return 0;
  } catch (const irteq::Error& error) {
    const irteq::Diagnostic& where = error.diagnostic();
    std::cerr << "error: " << error.what() << '\n';
    if (where.item > 0) std::cerr << "  (item " << where.item << " of " << where.source << ")\n";
    return 1;
  }
}
