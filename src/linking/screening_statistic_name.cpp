#include <algorithm>
#include <cctype>
#include <string>

#include "common/enum_names.hpp"
#include "irteq/linking.hpp"

namespace irteq {

namespace {

constexpr NameTable<ScreeningStatistic, 4> names{{{ScreeningStatistic::none, "none"},
                                                  {ScreeningStatistic::robust_z, "robust-z"},
                                                  {ScreeningStatistic::rmsd, "rmsd"},
                                                  {ScreeningStatistic::wald, "wald"}}};

}  // namespace

std::string_view screening_statistic_name(ScreeningStatistic statistic) { return name_in(names, statistic); }

std::optional<ScreeningStatistic> screening_statistic(std::string_view name) {
  std::string lower(name);
  std::transform(lower.begin(), lower.end(), lower.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return value_in(names, lower);
}

}  // namespace irteq
