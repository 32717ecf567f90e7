#include <QTest>
#include <limits>

#include "leadingnumber.h"

// The reading is the same in every locale; the test pins one with a comma all the same.
class TestLeadingNumber : public QObject {
  Q_OBJECT
 private slots:
  void initTestCase() { QLocale::setDefault(QLocale(QLocale::Bulgarian, QLocale::Bulgaria)); }
  void reads_data();
  void reads();
};

void TestLeadingNumber::reads_data() {
  constexpr double kInfinity = std::numeric_limits<double>::infinity();
  const QString zeros(400, u'0');
  QTest::addColumn<QString>("text");
  QTest::addColumn<double>("value");

  QTest::newRow("whole") << "12" << 12.0;
  QTest::newRow("fraction") << "-2.5" << -2.5;
  QTest::newRow("plus sign") << "+7" << 7.0;
  QTest::newRow("leading point") << ".5" << 0.5;
  QTest::newRow("trailing point") << "5." << 5.0;
  QTest::newRow("blanks tabs line feeds anywhere") << " 1\t2 .\n5 " << 12.5;
  QTest::newRow("carriage return stops") << "1\r2" << 1.0;
  QTest::newRow("stops at a letter") << "11pt" << 11.0;
  QTest::newRow("comma is no point") << "9,5" << 9.0;
  QTest::newRow("second point stops") << "1.2.3" << 1.2;
  QTest::newRow("exponent") << "1.5e2" << 150.0;
  QTest::newRow("upper-case d exponent") << "2D3" << 2000.0;
  QTest::newRow("negative exponent") << "90e-1" << 9.0;
  QTest::newRow("exponent without digits") << "12e+" << 12.0;
  QTest::newRow("point in the exponent stops") << "1e2.5" << 100.0;
  QTest::newRow("no number") << "голям" << 0.0;
  QTest::newRow("empty") << "" << 0.0;
  QTest::newRow("sign alone") << "-" << 0.0;
  QTest::newRow("point alone") << "." << 0.0;
  QTest::newRow("exponent alone") << "e5" << 0.0;
  QTest::newRow("two signs") << "+-5" << 0.0;
  QTest::newRow("arabic-indic digit") << QString::fromUtf16(u"\u0665") << 0.0;
  QTest::newRow("above range") << "1e999" << kInfinity;
  QTest::newRow("above range negative") << "-1e999" << -kInfinity;
  QTest::newRow("above range by digits") << "9" + zeros << kInfinity;
  QTest::newRow("exponent beyond a long") << "1e99999999999999999999" << kInfinity;
  QTest::newRow("below range") << "1e-999" << 0.0;
  QTest::newRow("below range by zeros") << "0." + zeros + "1" << 0.0;
  QTest::newRow("below range though large digits") << "5" + zeros + "e-800" << 0.0;
  QTest::newRow("negative exponent beyond a long") << "1e-99999999999999999999" << 0.0;
}

void TestLeadingNumber::reads() {
  QFETCH(QString, text);
  QFETCH(double, value);
  QCOMPARE(LeadingNumber(text), value);
}

QTEST_GUILESS_MAIN(TestLeadingNumber)
#include "test_leadingnumber.moc"
