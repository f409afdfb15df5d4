#include <string>

#include "common/enum_names.hpp"
#include "irteq/linking.hpp"

namespace irteq {

namespace {

constexpr NameTable<LinkingMethod, 4> names{{{LinkingMethod::mean_mean, "mean-mean"},
                                             {LinkingMethod::mean_sigma, "mean-sigma"},
                                             {LinkingMethod::haebara, "haebara"},
                                             {LinkingMethod::stocking_lord, "stocking-lord"}}};

// Other programs' spellings (plink's codes, equateIRT's and SNSequate's names), lower case.
constexpr NameTable<LinkingMethod, 7> other_spellings{{
    {LinkingMethod::mean_mean, "mean/mean"},
    {LinkingMethod::mean_mean, "mm"},
    {LinkingMethod::mean_sigma, "mean/sigma"},
    {LinkingMethod::mean_sigma, "ms"},
    {LinkingMethod::haebara, "hb"},
    {LinkingMethod::stocking_lord, "sl"},
    {LinkingMethod::stocking_lord, "stocking/lord"},
}};

}  // namespace

std::string_view linking_method_name(LinkingMethod method) { return name_in(names, method); }

std::optional<LinkingMethod> linking_method(std::string_view name) {
  const std::string lower = ascii_lower(name);
  if (const std::optional<LinkingMethod> method = value_in(names, lower)) return method;
  return value_in(other_spellings, lower);
}

bool is_characteristic_curve(LinkingMethod method) {
  return method == LinkingMethod::haebara || method == LinkingMethod::stocking_lord;
}

}  // namespace irteq
