#include <algorithm>
#include <array>
#include <cctype>
#include <string>
#include <utility>

#include "irteq/linking.hpp"

namespace irteq {

namespace {

// Other programs' spellings (plink's codes, equateIRT's and SNSequate's names), lower case.
constexpr std::array<std::pair<std::string_view, LinkingMethod>, 7> other_spellings{{
    {"mean/mean", LinkingMethod::mean_mean},
    {"mm", LinkingMethod::mean_mean},
    {"mean/sigma", LinkingMethod::mean_sigma},
    {"ms", LinkingMethod::mean_sigma},
    {"hb", LinkingMethod::haebara},
    {"sl", LinkingMethod::stocking_lord},
    {"stocking/lord", LinkingMethod::stocking_lord},
}};

}  // namespace

std::string_view linking_method_name(LinkingMethod method) {
  switch (method) {
    case LinkingMethod::mean_mean:
      return "mean-mean";
    case LinkingMethod::mean_sigma:
      return "mean-sigma";
    case LinkingMethod::haebara:
      return "haebara";
    case LinkingMethod::stocking_lord:
      return "stocking-lord";
  }
  return "unknown";
}

std::optional<LinkingMethod> linking_method(std::string_view name) {
  std::string lower(name);
  std::transform(lower.begin(), lower.end(), lower.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  for (const LinkingMethod method : linking_methods) {
    if (lower == linking_method_name(method)) return method;
  }
  for (const auto& [spelling, method] : other_spellings) {
    if (lower == spelling) return method;
  }
  return std::nullopt;
}

bool is_characteristic_curve(LinkingMethod method) {
  return method == LinkingMethod::haebara || method == LinkingMethod::stocking_lord;
}

}  // namespace irteq
