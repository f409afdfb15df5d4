#pragma once

// GCC's vectors of two, four and eight doubles: SSE2's, AVX2's and AVX-512's
// registers, for the kernels written once and compiled per instruction set
// (the distribution recursion, the distributions' derivatives). Aligned as
// doubles and free to alias them, as the compilers' own unaligned vector
// types are, they load and store straight from and to arrays of doubles.
// (Declared here rather than passed as template arguments, which would drop
// their attributes.) A compiler without them has Doubles<1>, plain doubles.
#include <cstddef>

#if defined(__GNUC__)
#define IRTEQ_ALWAYS_INLINE inline __attribute__((always_inline))
#else
#define IRTEQ_ALWAYS_INLINE inline
#endif

namespace irteq {

template <std::size_t Lanes>
struct Doubles;
#if defined(__GNUC__)
template <>
struct Doubles<2> {
  typedef double Vector __attribute__((vector_size(16), aligned(8), may_alias));
};
template <>
struct Doubles<4> {
  typedef double Vector __attribute__((vector_size(32), aligned(8), may_alias));
};
template <>
struct Doubles<8> {
  typedef double Vector __attribute__((vector_size(64), aligned(8), may_alias));
};
inline constexpr std::size_t baseline_lanes = 2;
#else
template <>
struct Doubles<1> {
  using Vector = double;
};
inline constexpr std::size_t baseline_lanes = 1;
#endif

}  // namespace irteq
