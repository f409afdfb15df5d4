// irteq_validate: irteq's linking constants, their standard errors and its
// summed-score EAP tables against published values, through both of irteq's
// front ends.
//
//   irteq_validate IRTEQ_PROGRAM EXAMPLE_FOLDER...
//
// An example folder (validation/kb04, validation/est2pl, validation/lsat7)
// holds control files, a README.md whose first line is its title and which
// says where every published number comes from, and expected.csv: either the
// header control,method,QUANTITY... (QUANTITY one of A, B, se_A, se_B) and
// one row per published linking, the method as irteq names it; or the
// header control,form,raw,QUANTITY... (QUANTITY eap or sd) and one row per
// published raw score of a summed-score EAP table, form X or Y.
//
// Each control file runs twice, on a copy of the folder so that no report
// lands in it: through the library (irteq::run) and through the console
// program in batch mode (IRTEQ_PROGRAM CONTROL --csv DIR, with --se when
// standard errors are published, --tables for EAP tables), whose linking.csv
// or eap.csv is read back. A value
// passes when both give the same double and it lies within the tolerance of
// the published value: half a unit in the last digit of the published text
// (irteq's value rounds to it) or, when the folder has a tolerance.txt, the
// absolute tolerance written there.
//
// One table per example. Exit status 0 when every value passes, 1 when any
// fails, 2 when an example cannot be run.
#include <irteq/irteq.hpp>

#include <stdlib.h>  // mkdtemp

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <optional>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

using Row = std::map<std::string, std::string>;  // column name -> text

std::vector<std::string> split(const std::string& line) {
  std::vector<std::string> fields;
  std::istringstream in(line);
  for (std::string field; std::getline(in, field, ',');) fields.push_back(field);
  return fields;
}

// A CSV file's rows after its header, by the header's names.
std::vector<Row> read_csv(const fs::path& file) {
  std::ifstream in(file);
  if (!in) throw std::runtime_error("cannot read " + file.string());
  std::string line;
  std::getline(in, line);
  const std::vector<std::string> header = split(line);
  std::vector<Row> rows;
  while (std::getline(in, line)) {
    const std::vector<std::string> fields = split(line);
    Row row;
    for (std::size_t i = 0; i < header.size(); ++i) row[header[i]] = i < fields.size() ? fields[i] : "";
    rows.push_back(row);
  }
  return rows;
}

// The double a number's text stands for, correctly rounded and in no locale.
double number(const std::string& text) {
  double value = 0.0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || end != text.data() + text.size()) throw std::runtime_error("not a number: " + text);
  return value;
}

// Half a unit in the last digit of a number's text: 0.021344 gives 5e-7,
// 1.5e-3 gives 5e-5. Within it, a value rounds to that text.
double half_unit(const std::string& text) {
  const std::size_t exponent = text.find_first_of("eE");
  const std::string mantissa = text.substr(0, exponent);
  const std::size_t point = mantissa.find('.');
  int decimals = point == std::string::npos ? 0 : static_cast<int>(mantissa.size() - point - 1);
  if (exponent != std::string::npos) decimals -= std::stoi(text.substr(exponent + 1));
  return 0.5 * std::pow(10.0, -decimals);
}

std::optional<double> library_value(const irteq::MethodConstants& constants, const std::string& quantity) {
  if (quantity == "A") return constants.A;
  if (quantity == "B") return constants.B;
  if (quantity == "se_A") return constants.se_A;
  return constants.se_B;
}

std::string quoted(const fs::path& path) {
  std::string text = "'";
  for (const char c : path.string()) text += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return text + "'";
}

// A fresh folder under the system's temporary directory, removed with its contents.
struct TemporaryFolder {
  fs::path path;
  TemporaryFolder() {
    std::string pattern = (fs::temp_directory_path() / "irteq-validate-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("cannot make a temporary folder");
    path = pattern;
  }
  ~TemporaryFolder() {
    std::error_code ignored;
    fs::remove_all(path, ignored);
  }
  TemporaryFolder(const TemporaryFolder&) = delete;
  TemporaryFolder& operator=(const TemporaryFolder&) = delete;
};

// One control file's linking by both front ends.
// What an example compares: linking constants (by method) or EAP tables (by form and raw score).
enum class Kind { linking, eap };

struct Runs {
  irteq::RunResult library;
  std::map<std::string, Row> console;  // linking.csv's rows by method, or eap.csv's by "form raw"
};

Runs run_both(const fs::path& control, Kind kind, bool standard_errors, const fs::path& program) {
  Runs runs;
  const irteq::ControlFile files = irteq::read_control(control);
  const irteq::RunInput input = irteq::read_run(files);
  irteq::RunOptions options;
  if (standard_errors) {
    options.standard_errors.delta_method = true;
    options.covariances = irteq::read_covariances(files, input);
  }
  options.tables = kind == Kind::eap;
  runs.library = irteq::run(input, options);
  if (kind == Kind::linking && !runs.library.linking) throw std::runtime_error(control.string() + " names no common items");

  const fs::path csv = control.parent_path() / ("csv-" + control.stem().string());
  const std::string command = quoted(program) + " " + quoted(control) + " --csv " + quoted(csv) +
                              (standard_errors ? " --se" : "") + (kind == Kind::eap ? " --tables" : "");
  if (std::system(command.c_str()) != 0) throw std::runtime_error("the console program failed: " + command);
  if (kind == Kind::linking) {
    for (const Row& row : read_csv(csv / "linking.csv")) runs.console[row.at("method")] = row;
  } else {
    for (const Row& row : read_csv(csv / "eap.csv")) runs.console[row.at("form") + " " + row.at("raw")] = row;
  }
  return runs;
}

// A value of the library's EAP table: form X's or Y's, at a raw score.
std::optional<double> eap_value(const irteq::ReportTables& tables, const std::string& form, double raw,
                                const std::string& quantity) {
  const irteq::EapTable& table = form == "X" ? tables.eap_x : tables.eap_y;
  for (std::size_t r = 0; r < table.raw_scores.size(); ++r) {
    if (table.raw_scores[r] == raw) return quantity == "eap" ? table.eap[r] : table.sd[r];
  }
  return std::nullopt;
}

// Runs one example and prints its table; the number of values and of failures.
std::pair<int, int> validate(const fs::path& example, const fs::path& program) {
  std::string title;
  std::ifstream readme(example / "README.md");
  std::getline(readme, title);
  if (title.rfind("# ", 0) == 0) title.erase(0, 2);
  std::optional<double> tolerance;
  if (std::ifstream file(example / "tolerance.txt"); file) {
    std::string text;
    file >> text;
    tolerance = number(text);
  }

  TemporaryFolder work;
  fs::copy(example, work.path, fs::copy_options::recursive);
  const std::vector<Row> expected = read_csv(work.path / "expected.csv");
  const Kind kind = expected.at(0).contains("raw") ? Kind::eap : Kind::linking;
  const std::vector<std::string> quantities = kind == Kind::linking
                                                  ? std::vector<std::string>{"A", "se_A", "B", "se_B"}
                                                  : std::vector<std::string>{"eap", "sd"};
  for (const auto& [column, text] : expected.at(0)) {
    const bool key = column == "control" || (kind == Kind::linking ? column == "method" : column == "form" || column == "raw");
    if (!key && std::find(quantities.begin(), quantities.end(), column) == quantities.end()) {
      throw std::runtime_error("expected.csv: unknown column " + column);
    }
  }
  const bool standard_errors = expected.at(0).contains("se_A") || expected.at(0).contains("se_B");

  std::printf("%s\n%s\n", title.c_str(), example.string().c_str());
  if (tolerance) {
    std::printf("tolerance: %g, absolute (tolerance.txt)\n\n", *tolerance);
  } else {
    std::printf("tolerance: half a unit in the last published digit\n\n");
  }
  std::printf("%-28s %12s %15s %15s %11s %9s  %s\n", "quantity", "published", "irteq library", "irteq console",
              "difference", "tolerance", "pass");

  std::map<std::string, Runs> runs;  // by control file
  int values = 0;
  int failures = 0;
  for (const Row& row : expected) {
    const std::string& control = row.at("control");
    if (!runs.contains(control)) {
      runs.emplace(control, run_both(work.path / control, kind, standard_errors, program));
    }
    const Runs& both = runs.at(control);
    std::string name;  // the row's label, and its key among the console's rows
    std::string key;
    const irteq::MethodConstants* constants = nullptr;
    if (kind == Kind::linking) {
      const std::optional<irteq::LinkingMethod> method = irteq::linking_method(row.at("method"));
      if (!method) throw std::runtime_error("expected.csv: unknown method " + row.at("method"));
      name = irteq::linking_method_name(*method);
      key = name;
      constants = &both.library.linking->methods[static_cast<std::size_t>(*method)];
      if (both.library.linking->symmetric) name += " symmetric";
    } else {
      name = "form " + row.at("form") + " raw " + row.at("raw");
      key = row.at("form") + " " + row.at("raw");
    }
    // The table's order of columns: A, se_A, B, se_B as published; eap, sd.
    for (const std::string& quantity : quantities) {
      if (!row.contains(quantity)) continue;
      const std::string& text = row.at(quantity);
      const double published = number(text);
      const double allowed = tolerance ? *tolerance : half_unit(text);
      const std::optional<double> library =
          kind == Kind::linking ? library_value(*constants, quantity)
                                : eap_value(*both.library.tables, row.at("form"), number(row.at("raw")), quantity);
      std::optional<double> console;
      if (both.console.contains(key) && !both.console.at(key).at(quantity).empty()) {
        console = number(both.console.at(key).at(quantity));
      }
      const bool pass = library && console && *library == *console && std::fabs(*library - published) <= allowed;
      const std::string label = name + " " + quantity;
      std::printf("%-28s %12s %15.10f %15.10f %+11.1e %9.0e  %s\n", label.c_str(), text.c_str(),
                  library.value_or(NAN), console.value_or(NAN), library.value_or(NAN) - published, allowed,
                  pass ? "yes" : "NO");
      ++values;
      if (!pass) ++failures;
    }
  }
  std::printf("\n%d of %d values pass\n\n", values - failures, values);
  return {values, failures};
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: irteq_validate IRTEQ_PROGRAM EXAMPLE_FOLDER...\n");
    return 2;
  }
  const fs::path program = fs::absolute(argv[1]);
  int values = 0;
  int failures = 0;
  bool could_not_run = false;
  for (int i = 2; i < argc; ++i) {
    try {
      const auto [checked, failed] = validate(argv[i], program);
      values += checked;
      failures += failed;
    } catch (const std::exception& error) {  // irteq::Error among them
      std::fprintf(stderr, "irteq_validate: %s: %s\n", argv[i], error.what());
      could_not_run = true;
    }
  }
  if (could_not_run) return 2;
  if (failures > 0) {
    std::printf("FAILED: %d of %d values\n", failures, values);
    return 1;
  }
  std::printf("every value passes: %d of %d\n", values, values);
  return 0;
}
