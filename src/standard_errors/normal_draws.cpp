// SplitMix64 (Steele, Lea and Flood, 2014) passes BigCrush and needs one
// 64-bit word of state; each stream starts from the seed and the stream's
// number mixed apart, so draws can be handed out to threads in any order.
// Box-Muller gives two normals per pair of uniforms in (0, 1).
#include "standard_errors/normal_draws.hpp"

#include <cmath>
#include <numbers>

namespace irteq {

namespace {

std::uint64_t mix(std::uint64_t z) {
  z = (z ^ (z >> 30)) * 0xbf58476d1ce4e5b9ULL;
  z = (z ^ (z >> 27)) * 0x94d049bb133111ebULL;
  return z ^ (z >> 31);
}

}  // namespace

NormalDraws::NormalDraws(std::uint64_t seed, std::uint64_t stream)
    : state_(mix(mix(seed) ^ (stream * 0x9e3779b97f4a7c15ULL + 0x632be59bd9b4e019ULL))) {}

std::uint64_t NormalDraws::uniform_bits() {
  state_ += 0x9e3779b97f4a7c15ULL;
  return mix(state_);
}

double NormalDraws::open_uniform() {
  // (k + 0.5) / 2^53 for k in 0 .. 2^53 - 1: never 0, never 1.
  return (static_cast<double>(uniform_bits() >> 11) + 0.5) * 0x1.0p-53;
}

double NormalDraws::next() {
  if (has_spare_) {
    has_spare_ = false;
    return spare_;
  }
  const double radius = std::sqrt(-2.0 * std::log(open_uniform()));
  const double angle = 2.0 * std::numbers::pi * open_uniform();
  spare_ = radius * std::sin(angle);
  has_spare_ = true;
  return radius * std::cos(angle);
}

void NormalDraws::fill(std::span<double> values) {
  for (double& value : values) value = next();
}

}  // namespace irteq
