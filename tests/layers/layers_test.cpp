// The library's layers hold: each folder of src/ includes only folders below
// it (common <- models <- validate <- truescore, observed, linking, convert
// <- equate, standard_errors, tables <- input, report, run <- driver), the
// readers and writers include no computation, the public headers only each
// other, and the front ends and examples nothing of src/ at all.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <regex>
#include <set>
#include <string>
#include <vector>

namespace irteq::testing {
namespace {

namespace fs = std::filesystem;

const std::map<std::string, int> ranks{
    {"common", 0},   {"models", 1}, {"validate", 2}, {"truescore", 3}, {"observed", 3},
    {"linking", 3},  {"convert", 3}, {"equate", 4},  {"standard_errors", 4}, {"tables", 4},
    {"input", 5},    {"report", 5},  {"run", 5},     {"driver", 6},
};
// The readers and writers turn files into the computation's input and its
// results into files; they need no computation of their own.
const std::set<std::string> computation{"truescore", "observed", "linking", "convert",
                                        "equate",    "standard_errors", "tables"};

// Every "folder/..." a file includes with quotes, and every <folder/...> of
// the library's own folders (other <...> are the system's).
std::vector<std::string> included_folders(const fs::path& file) {
  static const std::regex include(R"(^\s*#\s*include\s*([<"])([a-z_]+)/)");
  std::vector<std::string> folders;
  std::ifstream in(file);
  std::smatch match;
  for (std::string line; std::getline(in, line);) {
    if (!std::regex_search(line, match, include)) continue;
    if (match[1] == "\"" || ranks.contains(match[2]) || match[2] == "irteq") folders.push_back(match[2]);
  }
  return folders;
}

std::vector<fs::path> sources(const fs::path& folder) {
  std::vector<fs::path> files;
  if (!fs::exists(folder)) return files;
  for (const auto& entry : fs::recursive_directory_iterator(folder)) {
    const std::string extension = entry.path().extension().string();
    if (extension == ".cpp" || extension == ".hpp") files.push_back(entry.path());
  }
  return files;
}

TEST(Layers, NoFolderIncludesUpward) {
  const fs::path src = fs::path(IRTEQ_SOURCE_DIR) / "src";
  for (const auto& [folder, rank] : ranks) {
    for (const fs::path& file : sources(src / folder)) {
      for (const std::string& used : included_folders(file)) {
        if (used == folder || used == "irteq") continue;
        ASSERT_TRUE(ranks.contains(used)) << file << " includes " << used << "/, a folder of no layer";
        EXPECT_LT(ranks.at(used), rank) << file << " includes " << used << "/, a layer above or beside it";
        if (folder == "input" || folder == "report") {
          EXPECT_FALSE(computation.contains(used)) << file << " includes the computation " << used << "/";
        }
      }
    }
  }
  for (const auto& entry : fs::directory_iterator(src)) {
    EXPECT_TRUE(ranks.contains(entry.path().filename().string())) << entry.path() << " is in no layer";
  }
}

TEST(Layers, PublicHeadersAndFrontEndsUseOnlyThePublicInterface) {
  const fs::path top(IRTEQ_SOURCE_DIR);
  for (const fs::path& folder : {top / "include", top / "r" / "src", top / "python" / "src", top / "examples",
                                 top / "validation"}) {
    for (const fs::path& file : sources(folder)) {
      // The package builds copy the library's sources into a core/ of their own.
      if (file.string().find("/core/") != std::string::npos) continue;
      for (const std::string& used : included_folders(file)) {
        EXPECT_EQ(used, "irteq") << file << " includes " << used << "/ of the library's sources";
      }
    }
  }
}

}  // namespace
}  // namespace irteq::testing
