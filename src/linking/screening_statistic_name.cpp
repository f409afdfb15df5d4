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
  const std::string lower = ascii_lower(name);
  return value_in(names, lower);
}

}  // namespace irteq
