#pragma once

// A complex number for plane geometry: real part x, imaginary part y with the
// y axis pointing up. No operation checks its operands; IEEE rules apply.
class Complex
{
public:
  Complex(double real, double imag) : m_real(real), m_imag(imag) {}

  static Complex fromPolar(double modulus, double argument);
  static Complex fromImaginary(double value);
  static double pi();

  double real() const { return m_real; }
  double imag() const { return m_imag; }
  double modulus() const;
  // In (-pi, pi]; 0 for the zero value. The sign comes from the imaginary
  // part, so an imaginary part of -0.0 counts as non-negative.
  double argument() const;
  Complex conjugate() const;
  Complex pow(double p) const;

  Complex operator+(const Complex& b) const;
  Complex operator-(const Complex& b) const;
  Complex operator*(const Complex& b) const;
  Complex operator/(const Complex& b) const;
  Complex operator+(double d) const;
  Complex operator-(double d) const;
  Complex operator*(double d) const;
  Complex operator/(double d) const;

  void operator+=(const Complex& b);
  void operator-=(const Complex& b);
  void operator*=(const Complex& b);
  void operator/=(const Complex& b);
  void operator+=(double d);
  void operator-=(double d);
  void operator*=(double d);
  void operator/=(double d);

private:
  double m_real;
  double m_imag;
};
