#pragma once

#include <complex>
#include <cstddef>
#include <vector>

namespace irteq {

// The n-th roots of unity exp(-2 pi i k / n), k = 0 .. n - 1, for n a power of
// two of at least 8. The sines and cosines are taken in the first eighth of
// the circle only and placed by symmetry, so that the quarter turns are
// exact and every root's parts are the same numbers wherever they recur.
std::vector<std::complex<double>> unit_roots(std::size_t n);

}  // namespace irteq
