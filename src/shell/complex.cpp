#include "shell/complex.h"

namespace vna {

void CAdd(Complex& out, const Complex& a, const Complex& b) {
  // Each part reads only its own parts, so writing r first is alias-safe.
  out.r = a.r + b.r;
  out.i = a.i + b.i;
}

void CSub(Complex& out, const Complex& a, const Complex& b) {
  out.r = a.r - b.r;
  out.i = a.i - b.i;
}

void CMul(Complex& out, const Complex& a, const Complex& b) {
  const Complex t{a.r * b.r - a.i * b.i, a.r * b.i + a.i * b.r};
  out = t;
}

void CDiv(Complex& out, const Complex& a, const Complex& b) {
  // Both the divisor's size and the product are taken before out is written.
  const double d = b.i * b.i + b.r * b.r;
  Complex t;
  CMul(t, a, Complex{b.r, -b.i});
  out.r = t.r / d;
  out.i = t.i / d;
}

}  // namespace vna
