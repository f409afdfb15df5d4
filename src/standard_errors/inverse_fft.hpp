#pragma once

#include <cstddef>
#include <span>
#include <vector>

namespace irteq {

// What an inverse transform of one length needs, worked out once: the
// bit-reversed order and, stage by stage, the roots its butterflies take.
struct FftPlan {
  std::size_t n = 0;
  std::vector<std::size_t> reversed;
  // Stage of half-length h (1, 2, 4, ...): exp(+2 pi i k / (2 h)) for k < h, from h - 1 on.
  std::vector<double> root_real;
  std::vector<double> root_imaginary;
};

// n a power of two of at least 8; roots = unit_roots(n).
FftPlan fft_plan(std::size_t n);

// In place, z[s] = real[s] + i imaginary[s] becomes sum over f of
// z[f] exp(+2 pi i f s / n) (not divided by n). Radix 2, decimation in time,
// real and imaginary parts in arrays of their own so that each stage's
// butterflies run as vectors; a fixed order of operations.
void inverse_fft(const FftPlan& plan, std::span<double> real, std::span<double> imaginary);

}  // namespace irteq
