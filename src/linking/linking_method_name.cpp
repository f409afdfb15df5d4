#include "irteq/linking.hpp"

namespace irteq {

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

}  // namespace irteq
