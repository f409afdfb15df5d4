#pragma once

#include <array>
#include <filesystem>
#include <span>
#include <string>
#include <string_view>

namespace irteq {

// Every file write_csv may write: the equating's three, a linking's four, the
// standard errors, the run's record, the report tables' five.
inline constexpr std::array<std::string_view, 14> csv_file_names{
    "equivalents.csv",    "distributions.csv",     "moments.csv",         "linking.csv",     "common_items.csv",
    "linked_items_x.par", "linked_grid_group1.qd", "standard_errors.csv", "run.csv",         "conversion.csv",
    "eap.csv",            "csem.csv",              "reliability.csv",     "classification.csv"};

struct CsvFile {
  std::string_view name;  // one of csv_file_names
  std::string text;
};

// Puts the files into folder: each is written under a temporary name in
// folder and renamed once all are complete, so a script never reads one cut
// short, and the other files of csv_file_names are removed, so that none of
// an earlier run stays beside them. A failure removes the temporaries and
// every file of csv_file_names, and throws Error (file_error, InputPart::csv).
void replace_csv_files(const std::filesystem::path& folder, std::span<const CsvFile> files);

// Removes the files of csv_file_names from folder, where present: a failed
// run leaves no CSV of an earlier one. Throws Error when one cannot be removed.
void remove_csv_files(const std::filesystem::path& folder);

}  // namespace irteq
