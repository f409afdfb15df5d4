#pragma once

#include <cstddef>

#include "standard_errors/householder_tridiagonal.hpp"

namespace irteq {

// The eigen-decomposition of Q T Q' from its tridiagonal form: implicit
// symmetric QR steps with Wilkinson's shift until every subdiagonal entry
// is negligible beside its two diagonal neighbours. The eigenvalues replace
// T's diagonal and the rotations turn Q's columns into the eigenvectors
// (column j for diagonal[j]). A run that has not converged after 30 steps
// per row stops where it is; a matrix with a NaN never converges.
void tridiagonal_qr(Tridiagonal& tridiagonal, std::size_t size);

}  // namespace irteq
