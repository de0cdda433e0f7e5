#include "tests/TestMain.h"

#include "colour/Complex.h"

#include <cmath>

class TestComplex : public QObject
{
  Q_OBJECT

private slots:
  void arithmetic_data();
  void arithmetic();
  void argument_data();
  void argument();
  void polarAndPower();
  void divisionByZeroFollowsIeee();
};

void TestComplex::arithmetic_data()
{
  QTest::addColumn<QString>("op");
  QTest::addColumn<double>("re");
  QTest::addColumn<double>("im");
  QTest::newRow("(1,2)*(3,4)") << "mul" << -5.0 << 10.0;
  QTest::newRow("(1,2)*=(3,4)") << "mulAssign" << -5.0 << 10.0;
  QTest::newRow("(-5,10)/(3,4)") << "div" << 1.0 << 2.0;
  QTest::newRow("(-5,10)/=(3,4)") << "divAssign" << 1.0 << 2.0;
  QTest::newRow("(1,2)+(3,4)") << "add" << 4.0 << 6.0;
  QTest::newRow("(1,2)-(3,4)") << "sub" << -2.0 << -2.0;
  QTest::newRow("(1,2)+5") << "addD" << 6.0 << 2.0;
  QTest::newRow("(1,2)+=5") << "addDAssign" << 6.0 << 2.0;
  QTest::newRow("(1,2)-5") << "subD" << -4.0 << 2.0;
  QTest::newRow("(1,2)*3") << "mulD" << 3.0 << 6.0;
  QTest::newRow("(1,2)/2") << "divD" << 0.5 << 1.0;
  QTest::newRow("conjugate") << "conj" << 1.0 << -2.0;
}

void TestComplex::arithmetic()
{
  QFETCH(QString, op);
  QFETCH(double, re);
  QFETCH(double, im);
  const Complex a(1, 2), b(3, 4), q(-5, 10);
  Complex r(0, 0);
  if (op == "mul") r = a * b;
  else if (op == "mulAssign") { r = a; r *= b; }
  else if (op == "div") r = q / b;
  else if (op == "divAssign") { r = q; r /= b; }
  else if (op == "add") r = a + b;
  else if (op == "sub") r = a - b;
  else if (op == "addD") r = a + 5.0;
  else if (op == "addDAssign") { r = a; r += 5.0; }
  else if (op == "subD") r = a - 5.0;
  else if (op == "mulD") r = a * 3.0;
  else if (op == "divD") r = a / 2.0;
  else if (op == "conj") r = a.conjugate();
  QCOMPARE(r.real(), re);
  QCOMPARE(r.imag(), im);
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
  QTest::newRow("(-1,-1)") << -1.0 << -1.0 << -3 * pi / 4;
}

void TestComplex::argument()
{
  QFETCH(double, re);
  QFETCH(double, im);
  QFETCH(double, expected);
  QCOMPARE(Complex(re, im).argument(), expected);
}

void TestComplex::polarAndPower()
{
  const Complex z = Complex::fromPolar(2, Complex::pi() / 2);
  QVERIFY(z.real() != 0.0 && std::abs(z.real()) < 1e-15);
  QCOMPARE(z.imag(), 2.0);
  const Complex sq = Complex(0, 1).pow(2);
  QVERIFY(std::abs(sq.real() + 1) < 1e-15 && std::abs(sq.imag()) < 1e-15);
  const Complex zero = Complex(0, 0).pow(2);
  QCOMPARE(zero.real(), 0.0);
  QCOMPARE(zero.imag(), 0.0);
  QCOMPARE(Complex::fromImaginary(3).real(), 0.0);
  QCOMPARE(Complex(3, 4).modulus(), 5.0);
}

void TestComplex::divisionByZeroFollowsIeee()
{
  const Complex z = Complex(1, 2) / Complex(0, 0);
  QVERIFY(std::isnan(z.real()) && std::isnan(z.imag()));
  const Complex d = Complex(1, 0) / 0.0;
  QVERIFY(std::isinf(d.real()));
  QVERIFY(std::isnan(d.imag()));
}

SK_TEST_MAIN(TestComplex)
#include "test_complex.moc"
