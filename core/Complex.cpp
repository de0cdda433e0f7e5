#include "core/Complex.h"

#include <cmath>

Complex Complex::fromPolar(double modulus, double argument)
{
  return Complex(modulus * std::cos(argument), modulus * std::sin(argument));
}

Complex Complex::fromImaginary(double value)
{
  return Complex(0.0, value);
}

double Complex::pi()
{
  return std::acos(-1.0);
}

double Complex::modulus() const
{
  return std::sqrt(m_real * m_real + m_imag * m_imag);
}

// acos of the cosine with the sign of the imaginary part rather than atan2:
// (-1, -0.0) must give pi, where atan2 would give -pi.
double Complex::argument() const
{
  const double m = modulus();
  if (m == 0.0)
    return 0.0;
  const double a = std::acos(m_real / m);
  return m_imag < 0 ? -a : a;
}

Complex Complex::conjugate() const
{
  return Complex(m_real, -m_imag);
}

Complex Complex::pow(double p) const
{
  return fromPolar(std::pow(modulus(), p), argument() * p);
}

Complex Complex::operator+(const Complex& b) const
{
  return Complex(m_real + b.m_real, m_imag + b.m_imag);
}

Complex Complex::operator-(const Complex& b) const
{
  return Complex(m_real - b.m_real, m_imag - b.m_imag);
}

Complex Complex::operator*(const Complex& b) const
{
  return Complex(m_real * b.m_real - m_imag * b.m_imag, m_imag * b.m_real + m_real * b.m_imag);
}

Complex Complex::operator/(const Complex& b) const
{
  const double d = b.m_real * b.m_real + b.m_imag * b.m_imag;
  return Complex((m_real * b.m_real + m_imag * b.m_imag) / d, (m_imag * b.m_real - m_real * b.m_imag) / d);
}

Complex Complex::operator+(double d) const
{
  return Complex(m_real + d, m_imag);
}

Complex Complex::operator-(double d) const
{
  return Complex(m_real - d, m_imag);
}

Complex Complex::operator*(double d) const
{
  return Complex(m_real * d, m_imag * d);
}

Complex Complex::operator/(double d) const
{
  return Complex(m_real / d, m_imag / d);
}

void Complex::operator+=(const Complex& b) { *this = *this + b; }
void Complex::operator-=(const Complex& b) { *this = *this - b; }
void Complex::operator*=(const Complex& b) { *this = *this * b; }
void Complex::operator/=(const Complex& b) { *this = *this / b; }
void Complex::operator+=(double d) { *this = *this + d; }
void Complex::operator-=(double d) { *this = *this - d; }
void Complex::operator*=(double d) { *this = *this * d; }
void Complex::operator/=(double d) { *this = *this / d; }
