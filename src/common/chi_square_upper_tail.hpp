#pragma once

namespace irteq {

// P(X > x) for X chi-square with df degrees of freedom (df >= 1), from the
// closed forms of integer degrees of freedom: with h = x / 2,
//   df even: exp(-h) sum_{j=0}^{df/2-1} h^j / j!
//   df odd:  erfc(sqrt(h)) + exp(-h) sum_{j=1}^{(df-1)/2} h^(j-1/2) / Gamma(j + 1/2)
// Every term is positive, so the tail keeps its relative precision however
// small it is, until exp(-h) underflows (x beyond about 1490 gives 0). 1 at
// x <= 0; not a number for a not-a-number x.
double chi_square_upper_tail(double x, int df);

}  // namespace irteq
