#pragma once

#include <cstdint>
#include <span>

namespace irteq {

// Standard normal numbers for parametric draws, the same on every machine,
// compiler and thread count: a counter-based stream (SplitMix64 over the
// seed and the stream's number) turned into normals by the Box-Muller
// transform, with no use of the standard library's distributions, whose
// algorithms differ between implementations. Stream s of seed k is the same
// sequence whichever thread draws it and whatever was drawn before.
class NormalDraws {
 public:
  NormalDraws(std::uint64_t seed, std::uint64_t stream);
  double next();
  void fill(std::span<double> values);

 private:
  std::uint64_t uniform_bits();
  double open_uniform();  // in (0, 1), 53 random bits

  std::uint64_t state_;
  double spare_ = 0.0;
  bool has_spare_ = false;
};

}  // namespace irteq
