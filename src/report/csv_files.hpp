#pragma once

#include <array>
#include <filesystem>
#include <span>
#include <string>
#include <string_view>

namespace irteq {

// The files write_csv writes, in its order.
inline constexpr std::array<std::string_view, 3> csv_file_names{"equivalents.csv", "distributions.csv",
                                                                 "moments.csv"};

// Puts texts into folder under csv_file_names: each is written under a
// temporary name in folder and renamed once all are complete, so a script
// never reads one cut short. A failure removes the temporaries and the
// files named, so that none of an earlier run stays beside it, and throws
// Error (file_error, InputPart::csv).
void replace_csv_files(const std::filesystem::path& folder, std::span<const std::string, 3> texts);

// Removes the files named from folder, where present: a failed run leaves no
// CSV of an earlier one. Throws Error when one cannot be removed.
void remove_csv_files(const std::filesystem::path& folder);

}  // namespace irteq
