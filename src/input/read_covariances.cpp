// The covariance files a control file names, read against the forms' items
// as read (form X on its own scale), for standard errors and the Wald test.
#include "input/calibration_reference.hpp"
#include "irteq/error.hpp"
#include "irteq/files.hpp"

namespace irteq {

namespace {

// A form's covariance file: irteq's, or, when the form's items come from a
// calibration program's file, that program's covariance of its printed
// values, converted with the items.
Covariance form_covariance(const std::string& para, const std::string& cov, const std::vector<Item>& items,
                           const ReadOptions& read_options) {
  if (const auto reference = calibration_reference(para)) {
    const CalibrationOptions options{.D = reference->D, .covariance = cov, .thresholds = reference->thresholds};
    return *read_calibration(reference->path, reference->program, options).covariance;
  }
  return read_covariance(std::filesystem::path(cov), items, read_options);
}

}  // namespace

ParameterCovariances read_covariances(const ControlFile& files, const RunInput& run, const ReadOptions& options) {
  if (files.new_cov.empty() && files.old_cov.empty()) {
    throw Error("standard errors need the estimates' covariance: the control file names neither new_cov nor old_cov",
                {.code = ErrorCode::control_file, .input = InputPart::control_file});
  }
  // The matrices are not part of the report's echo: a form's may have a
  // million numbers.
  ReadOptions quiet = options;
  quiet.echo = {};
  ParameterCovariances covariances;
  if (!files.new_cov.empty()) {
    covariances.x = form_covariance(files.new_para, files.new_cov, run.equating.items_x, quiet);
    covariances.x_name = files.new_cov;
  }
  if (!files.old_cov.empty()) {
    covariances.y = form_covariance(files.old_para, files.old_cov, run.equating.items_y, quiet);
    covariances.y_name = files.old_cov;
  }
  if (!files.new_cov.empty()) covariances.files.push_back(describe_input_file(files.new_cov, "new_cov"));
  if (!files.old_cov.empty()) covariances.files.push_back(describe_input_file(files.old_cov, "old_cov"));
  return covariances;
}

ParameterCovariances read_run_covariances(const ControlFile& files, const RunInput& run, bool standard_errors,
                                          const ReadOptions& options) {
  const bool wald = run.linking && run.linking->screen == ScreeningStatistic::wald &&
                    (!files.new_cov.empty() || !files.old_cov.empty());
  if (!standard_errors && !wald) return {};
  return read_covariances(files, run, options);
}

}  // namespace irteq
