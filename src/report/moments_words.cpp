#include "report/moments_words.hpp"

namespace irteq {

std::string_view block_word(MomentsBlock block) {
  switch (block) {
    case MomentsBlock::raw:
      return "raw";
    case MomentsBlock::scale:
      return "scale";
    case MomentsBlock::rounded:
      return "rounded";
  }
  return {};
}

std::string_view group_word(MomentsGroup group) {
  switch (group) {
    case MomentsGroup::group1:
      return "1";
    case MomentsGroup::group2:
      return "2";
    case MomentsGroup::synthetic:
      return "s";
  }
  return {};
}

std::string_view score_word(MomentsScore score) {
  switch (score) {
    case MomentsScore::x:
      return "X";
    case MomentsScore::y:
      return "Y";
    case MomentsScore::true_score:
      return "true";
    case MomentsScore::observed_score:
      return "observed";
  }
  return {};
}

}  // namespace irteq
