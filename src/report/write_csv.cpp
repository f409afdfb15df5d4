// The results as three tidy CSV files for scripts: one header line, commas,
// LF line ends, and numbers that read back to the same doubles (the shortest
// such text; NaN, Inf and -Inf as R and Python read them).
#include <cerrno>
#include <cmath>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>

#include "common/number_text.hpp"
#include "irteq/error.hpp"
#include "irteq/files.hpp"

namespace irteq {

namespace {

std::string number(double value) {
  if (std::isnan(value)) return "NaN";
  if (std::isinf(value)) return value < 0 ? "-Inf" : "Inf";
  return shortest_text(value);
}

std::string reason() { return errno != 0 ? std::strerror(errno) : "unknown error"; }

[[noreturn]] void fail(const std::string& message, const std::filesystem::path& path) {
  throw Error(message, {.code = ErrorCode::file_error, .input = InputPart::csv, .source = path.string()});
}

void write_file(const std::filesystem::path& path, const std::string& content) {
  errno = 0;
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  if (!out) fail("cannot open " + path.string() + " for writing: " + reason(), path);
  out.write(content.data(), static_cast<std::streamsize>(content.size()));
  out.close();
  if (!out) fail("cannot write " + path.string() + ": " + reason(), path);
}

std::string equivalents_csv(const EquatingResult& result) {
  std::string csv =
      "raw,theta,true_equivalent,true_scale,true_rounded,observed_equivalent,observed_scale,observed_rounded\n";
  const TrueScoreEquating& t = result.true_score;
  const ObservedScoreEquating& o = result.observed_score;
  for (std::size_t i = 0; i < result.x.raw_scores.size(); ++i) {
    // The report's -99 and 99 mark points without a search: no ability was found there.
    const std::string theta = t.theta_kinds[i] == ThetaKind::searched ? number(t.thetas[i]) : "";
    csv += number(result.x.raw_scores[i]) + ',' + theta + ',' + number(t.equivalents[i]) + ',' + number(t.scale[i]) +
           ',' + number(t.rounded[i]) + ',' + number(o.equivalents[i]) + ',' + number(o.scale[i]) + ',' +
           number(o.rounded[i]) + '\n';
  }
  return csv;
}

std::string distributions_csv(const EquatingResult& result) {
  std::string csv = "form,raw,group1,group2,synthetic\n";
  for (const auto& [form, d] : {std::pair{"X", &result.x}, std::pair{"Y", &result.y}}) {
    for (std::size_t i = 0; i < d->raw_scores.size(); ++i) {
      csv += std::string(form) + ',' + number(d->raw_scores[i]) + ',' + number(d->group1[i]) + ',' +
             number(d->group2[i]) + ',' + number(d->synthetic[i]) + '\n';
    }
  }
  return csv;
}

std::string moments_csv(const EquatingResult& result) {
  std::string csv = "block,group,score,mean,sd,skewness,kurtosis\n";
  for (const MomentsRow& row : result.moments) {
    const Moments& m = row.moments;
    csv += row.block + ',' + row.group + ',' + row.score + ',' + number(m.mean) + ',' + number(m.sd) + ',' +
           number(m.skewness) + ',' + number(m.kurtosis) + '\n';
  }
  return csv;
}

}  // namespace

void write_csv(const EquatingResult& result, const std::filesystem::path& folder) {
  std::error_code error;
  std::filesystem::create_directories(folder, error);
  if (error) fail("cannot create the CSV folder " + folder.string() + ": " + error.message(), folder);
  if (!std::filesystem::is_directory(folder)) fail("cannot write into " + folder.string() + ": not a folder", folder);
  write_file(folder / "equivalents.csv", equivalents_csv(result));
  write_file(folder / "distributions.csv", distributions_csv(result));
  write_file(folder / "moments.csv", moments_csv(result));
}

}  // namespace irteq
