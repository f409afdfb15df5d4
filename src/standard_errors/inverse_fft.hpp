#pragma once

#include <complex>
#include <span>

namespace irteq {

// In place, values[s] becomes sum over f of values[f] exp(+2 pi i f s / n)
// (not divided by n), n = values.size() a power of two of at least 8 and
// roots = unit_roots(n). Radix 2, decimation in time, in a fixed order.
void inverse_fft(std::span<std::complex<double>> values, std::span<const std::complex<double>> roots);

}  // namespace irteq
