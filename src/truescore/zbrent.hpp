#pragma once

#include <cfloat>
#include <cmath>
#include <span>

#include "irteq/equate.hpp"
#include "irteq/input.hpp"

namespace irteq {

inline constexpr int zbrent_max_iterations = 100;

// What went wrong in a search; the search goes on all the same.
struct ZbrentOutcome {
  bool not_bracketed = false;    // f(lower) and f(upper) have the same sign
  bool iteration_limit = false;  // no convergence within zbrent_max_iterations; the last estimate is returned
};

// When a search stops: once half the bracket around the root is at most
// relative * |theta| + absolute / 2 (the root then lies within twice that of
// the theta returned).
struct RootTolerance {
  double absolute;
  double relative;
};

// The stopping rule of a root_tolerance (EquatingOptions). The default keeps
// the reports' rule to the bit, its relative term 6e-8 twice single
// precision; a tighter tolerance goes with twice double precision, or the
// relative term (up to 4.8e-7 at |theta| = 8) would outweigh the absolute one.
constexpr RootTolerance root_tolerance_rule(double root_tolerance) {
  constexpr double reports_relative = 6e-8;
  return {root_tolerance, root_tolerance == default_root_tolerance ? reports_relative : 2.0 * DBL_EPSILON};
}

// Brent's method for a root of f in [lower, upper] to within tolerance, at
// most 102 evaluations of f.
template <class Function>
double zbrent(double lower, double upper, RootTolerance tolerance, Function&& f, ZbrentOutcome& outcome) {
  double a = lower;
  double b = upper;
  double fa = f(a);
  double fb = f(b);
  if ((fa > 0.0 && fb > 0.0) || (fa < 0.0 && fb < 0.0)) {
    outcome.not_bracketed = true;
  }
  double c = b;
  double fc = fb;
  double d = 0.0;
  double e = 0.0;
  for (int iteration = 0; iteration < zbrent_max_iterations; ++iteration) {
    if ((fb > 0.0 && fc > 0.0) || (fb < 0.0 && fc < 0.0)) {
      c = a;
      fc = fa;
      d = b - a;
      e = d;
    }
    if (std::fabs(fc) < std::fabs(fb)) {
      a = b;
      b = c;
      c = a;
      fa = fb;
      fb = fc;
      fc = fa;
    }
    const double tol1 = tolerance.relative * std::fabs(b) + 0.5 * tolerance.absolute;
    const double xm = 0.5 * (c - b);
    if (std::fabs(xm) <= tol1 || fb == 0.0) return b;
    if (std::fabs(e) >= tol1 && std::fabs(fa) > std::fabs(fb)) {
      const double s = fb / fa;
      double p;
      double q;
      if (a == c) {
        p = 2.0 * xm * s;
        q = 1.0 - s;
      } else {
        q = fa / fc;
        const double r = fb / fc;
        p = s * (2.0 * xm * q * (q - r) - (b - a) * (r - 1.0));
        q = (q - 1.0) * (r - 1.0) * (s - 1.0);
      }
      if (p > 0.0) q = -q;
      p = std::fabs(p);
      const double min1 = 3.0 * xm * q - std::fabs(tol1 * q);
      const double min2 = std::fabs(e * q);
      if (2.0 * p < (min1 < min2 ? min1 : min2)) {
        e = d;
        d = p / q;
      } else {
        d = xm;
        e = d;
      }
    } else {
      d = xm;
      e = d;
    }
    a = b;
    fa = fb;
    if (std::fabs(d) > tol1) {
      b = b + d;
    } else {
      b = b + (xm >= 0.0 ? tol1 : -tol1);
    }
    fb = f(b);
  }
  outcome.iteration_limit = true;
  return b;
}

// The ability at which the form's test characteristic function equals target.
double zbrent(double lower, double upper, RootTolerance tolerance, std::span<const Item> items, double target,
              ZbrentOutcome& outcome);

}  // namespace irteq
