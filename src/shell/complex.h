// Complex arithmetic for impedances and reflection coefficients. The result
// comes first and may be the same object as either operand.
#pragma once

namespace vna {

struct Complex {
  double r = 0;  // real part
  double i = 0;  // imaginary part
};

void CAdd(Complex& out, const Complex& a, const Complex& b);
void CSub(Complex& out, const Complex& a, const Complex& b);
void CMul(Complex& out, const Complex& a, const Complex& b);
// No test for a zero divisor: dividing by 0 gives not-a-number in both parts
// and no error; callers that must avoid it test the divisor themselves.
void CDiv(Complex& out, const Complex& a, const Complex& b);

}  // namespace vna
