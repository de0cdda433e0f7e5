#include "tests/TestMain.h"

#include "core/Complex.h"

#include <cmath>

class TestComplex : public QObject
{
  Q_OBJECT

private slots:
  void arithmetic();
  void argument_data();
  void argument();
  void polarPowerAndZeroDivisor();
};

#define COMPARE_Z(z, re, im)      \
  do {                            \
    const Complex v_ = (z);       \
    QCOMPARE(v_.real(), double(re)); \
    QCOMPARE(v_.imag(), double(im)); \
  } while (0)

void TestComplex::arithmetic()
{
  const Complex a(1, 2), b(3, 4);
  COMPARE_Z(a * b, -5, 10);
  COMPARE_Z(Complex(-5, 10) / b, 1, 2);
  COMPARE_Z(a + b, 4, 6);
  COMPARE_Z(a - b, -2, -2);
  COMPARE_Z(a + 5.0, 6, 2);
  COMPARE_Z(a - 5.0, -4, 2);
  COMPARE_Z(a * 3.0, 3, 6);
  COMPARE_Z(a / 2.0, 0.5, 1);
  COMPARE_Z(a.conjugate(), 1, -2);
  // Compound forms compute both parts from the value before the assignment.
  Complex c = a;
  c *= b;
  COMPARE_Z(c, -5, 10);
  c /= b;
  COMPARE_Z(c, 1, 2);
  c += 5.0;
  COMPARE_Z(c, 6, 2);
}

void TestComplex::argument_data()
{
  QTest::addColumn<double>("re");
  QTest::addColumn<double>("im");
  QTest::addColumn<double>("expected");
  const double pi = std::acos(-1.0);
  QTest::newRow("(1,0)") << 1.0 << 0.0 << 0.0;
  QTest::newRow("(0,1)") << 0.0 << 1.0 << pi / 2;
  QTest::newRow("(-1,0)") << -1.0 << 0.0 << pi;
  QTest::newRow("(0,-1)") << 0.0 << -1.0 << -pi / 2;
  QTest::newRow("(0,0)") << 0.0 << 0.0 << 0.0;
  QTest::newRow("(-1,-0.0) is pi, not -pi") << -1.0 << -0.0 << pi;
}

void TestComplex::argument()
{
  QFETCH(double, re);
  QFETCH(double, im);
  QFETCH(double, expected);
  QCOMPARE(Complex(re, im).argument(), expected);
}

void TestComplex::polarPowerAndZeroDivisor()
{
  const Complex z = Complex::fromPolar(2, Complex::pi() / 2);
  QVERIFY(z.real() != 0.0 && std::abs(z.real()) < 1e-15);
  QCOMPARE(z.imag(), 2.0);
  const Complex sq = Complex(0, 1).pow(2);
  QVERIFY(std::abs(sq.real() + 1) < 1e-15 && std::abs(sq.imag()) < 1e-15);
  COMPARE_Z(Complex(0, 0).pow(2), 0, 0);
  const Complex n = Complex(1, 2) / Complex(0, 0);
  QVERIFY(std::isnan(n.real()) && std::isnan(n.imag()));
}

SK_TEST_MAIN(TestComplex)
#include "test_complex.moc"
