#include <QRandomGenerator>
#include <QTest>
#include <atomic>
#include <bit>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <new>
#include <string>

#include "enginecheck.h"
#include "numbertext.h"

// Counts the heap allocations of this test program, so that a test can tell whether an
// evaluation allocated.
namespace {
std::atomic<long> g_allocations{0};
}

void* operator new(std::size_t size) {
  ++g_allocations;
  if (void* p = std::malloc(size ? size : 1)) return p;
  throw std::bad_alloc();
}
void operator delete(void* p) noexcept {
  std::free(p);
}
void operator delete(void* p, std::size_t) noexcept {
  std::free(p);
}

class TestEngineRobustness : public QObject {
  Q_OBJECT
 private slots:
  void numbersMatchFromChars();
  void roundToInt32_data();
  void roundToInt32();
  void noAllocationUpTo255Characters();
  void deepNestingWithin255IsEvaluated();
  void hostileInputs_data();
  void hostileInputs();
  void randomMegabyte();
};

// A random number text as a user may type it: up to 19 digits, a point anywhere (or none),
// leading zeros and grouping blanks; `plain` gets the same number for std::from_chars.
std::u16string RandomNumberText(QRandomGenerator& random, std::string& plain) {
  const int digits = random.bounded(1, 20);
  const int point = random.bounded(-1, digits + 1);
  std::u16string text;
  plain = "0";
  for (int d = 0; d < digits; ++d) {
    if (d == point) {
      text += u'.';
      plain += '.';
    }
    const char digit = static_cast<char>('0' + random.bounded(10));
    text += static_cast<char16_t>(digit);
    plain += digit;
    if (random.bounded(8) == 0) text += random.bounded(2) ? u' ' : u'\u00A0';
  }
  if (point == digits) text += u'.';
  return text;
}

double FromChars(const std::string& plain) {
  double value = 0;
  std::from_chars(plain.data(), plain.data() + plain.size(), value);
  return value;
}

// The number reader against std::from_chars: alone, as a function's argument (alone or in a
// sum), and squared, which is the library's pow to the last bit.
void TestEngineRobustness::numbersMatchFromChars() {
  QRandomGenerator random(20260101);
  mdlCalcFunction calc;
  // Through the library: the compiler would turn pow(x, 2) with a constant 2 into x * x.
  volatile double two = 2;
  for (int i = 0; i < 200000; ++i) {
    std::string plain;
    const std::u16string text = RandomNumberText(random, plain);
    const double x = FromChars(plain);
    const double square = std::pow(x, two);
    const struct {
      std::u16string formula;
      double expected;
    } cases[] = {{text, x},
                 {u"SQR(" + text + u")", std::sqrt(x)},
                 {u"SQR(" + text + u"*4+1)", std::sqrt(x * 4 + 1)},
                 {text + u"^2", std::isfinite(square) ? square : x}};
    for (const auto& [formula, expected] : cases) {
      const double actual = calc.CalcFormula(formula);
      if (std::bit_cast<std::uint64_t>(actual) != std::bit_cast<std::uint64_t>(expected) ||
          calc.ErrorPos() != 0)
        QFAIL(qPrintable(ToQString(formula) + " gave " + QString::number(actual, 'g', 17) +
                         " error " + QString::number(calc.ErrorPos())));
    }
  }
}

void TestEngineRobustness::roundToInt32_data() {
  QTest::addColumn<double>("value");
  QTest::addColumn<bool>("fits");
  QTest::addColumn<int>("rounded");
  QTest::newRow("half-even-down") << 2.5 << true << 2;
  QTest::newRow("half-even-up") << 3.5 << true << 4;
  QTest::newRow("negative-half") << -2.5 << true << -2;
  QTest::newRow("below-half") << 2.4999999999999996 << true << 2;
  QTest::newRow("max") << 2147483647.0 << true << 2147483647;
  QTest::newRow("max-plus-0.4") << 2147483647.4 << true << 2147483647;
  QTest::newRow("max-plus-half") << 2147483647.5 << false << 0;
  QTest::newRow("min") << -2147483648.0 << true << int(-2147483648LL);
  QTest::newRow("min-minus-half") << -2147483648.5 << true << int(-2147483648LL);
  QTest::newRow("min-minus-0.6") << -2147483648.6 << false << 0;
  QTest::newRow("huge") << 1e300 << false << 0;
  QTest::newRow("nan") << std::nan("") << false << 0;
  QTest::newRow("infinite") << -HUGE_VAL << false << 0;
}

void TestEngineRobustness::roundToInt32() {
  QFETCH(double, value);
  QFETCH(bool, fits);
  QFETCH(int, rounded);
  const auto result = RoundToInt32(value);
  QCOMPARE(result.has_value(), fits);
  if (fits) QCOMPARE(*result, rounded);
}

void TestEngineRobustness::noAllocationUpTo255Characters() {
  NumberedRows rows;
  mdlCalcFunction calc(DateSettings{DateOrder::MonthDayYear, u'/'}, &rows);
  std::u16string longest;
  while (longest.size() < 250) longest += u"12345.67+";
  longest.resize(255, u'1');
  const std::u16string formulas[] = {
      longest,
      u"." + longest.substr(0, 254),
      std::u16string(255, u'('),
      std::u16string(255, u' '),
      u"DAY(12/31/1999)-DAY(1/1/1999)+DAY(abc)+DAY(123456789012)",
      u"[SUM(1)>SUM(2),SQR(16)*2.5-1.25,AHCSEC(0.5)]+1 000 000.5 'comment",
      u"123456789012345678901234567890.123456789+0.00000000000000000000000001",
  };
  for (const auto& formula : formulas) {
    QVERIFY(formula.size() <= 255);
    const long before = g_allocations;
    calc.CalcFormula(formula);
    QCOMPARE(g_allocations - before, 0L);
  }
}

void TestEngineRobustness::deepNestingWithin255IsEvaluated() {
  mdlCalcFunction calc;
  const std::u16string parens = std::u16string(127, u'(') + u"7" + std::u16string(127, u')');
  QCOMPARE(calc.CalcFormula(parens), 7.0);
  QCOMPARE(calc.ErrorPos(), 0);
  std::u16string comparisons;
  for (int i = 0; i < 127; ++i) comparisons += u"1<";
  comparisons += u"2";
  calc.CalcFormula(comparisons);
  QCOMPARE(calc.ErrorPos(), 0);
  std::u16string functions;
  for (int i = 0; i < 60; ++i) functions += u"SQR(";
  functions += u"1" + std::u16string(60, u')');
  QCOMPARE(calc.CalcFormula(functions), 1.0);
  QCOMPARE(calc.ErrorPos(), 0);
}

void TestEngineRobustness::hostileInputs_data() {
  QTest::addColumn<QString>("formula");
  QTest::addColumn<bool>("failed");
  QTest::addColumn<double>("value");
  auto repeat = [](const QString& piece, int times) { return piece.repeated(times); };
  // Nesting far beyond a table row is reported, not followed down the stack.
  QTest::newRow("parens") << repeat("(", 100000) << true << 0.0;
  QTest::newRow("brackets") << repeat("[", 100000) << true << 0.0;
  QTest::newRow("functions") << repeat("SIN(", 50000) << true << 0.0;
  QTest::newRow("comparisons") << repeat("1<", 100000) << true << 0.0;
  QTest::newRow("minus-signs") << repeat("-", 100000) << false << 0.0;
  QTest::newRow("powers") << repeat("4^", 100000) << false << 1.0;  // ends in x^0
  QTest::newRow("digits-beyond-double") << repeat("9", 400000) << false << 0.0;
  QTest::newRow("long-fraction") << repeat("0", 200000) + "." + repeat("1", 200000) << false
                                 << 1.0 / 9;
  // Preparation that changes a text longer than a table row.
  QTest::newRow("long-equals") << "=" + repeat("1+", 200) + "1" << false << 201.0;
  QTest::newRow("long-point") << ".5" + repeat("+1", 200) << false << 200.5;
  QTest::newRow("day-unclosed") << repeat("DAY(", 1000) << true << 0.0;
  QTest::newRow("lone-surrogates")
      << repeat(QString(QChar(0xD800)) + QChar(0xDFFF), 1000) << true << 0.0;
  QTest::newRow("nul-and-cr") << repeat(QString(QChar(0)) + QChar(13) + "1+", 1000) << true << 0.0;
}

void TestEngineRobustness::hostileInputs() {
  QFETCH(QString, formula);
  QFETCH(bool, failed);
  QFETCH(double, value);
  mdlCalcFunction calc;
  const double actual = calc.CalcFormula(View(formula));
  QVERIFY2(SameValue(actual, value, 1e-15) || actual == value, Describe(actual, value));
  QCOMPARE(calc.ErrorPos() > 0, failed);
  QVERIFY(calc.ErrorPos() <= formula.size() + 12);
}

void TestEngineRobustness::randomMegabyte() {
  QRandomGenerator random(7);
  const char16_t pieces[] = u"0123456789.+-*/\\~%^<=>&|()[],' \u00A0\r\t\0PISNUMDAYCOTHLGEXRF";
  std::u16string text(512 * 1024, u' ');
  for (int round = 0; round < 4; ++round) {
    for (auto& c : text)
      c = random.bounded(4) ? pieces[random.bounded(int(std::size(pieces)))]
                            : static_cast<char16_t>(random.bounded(0x10000));
    mdlCalcFunction calc;
    calc.CalcFormula(text);
    QVERIFY(calc.ErrorPos() >= 0);
    QVERIFY(calc.ErrorPos() <= int(text.size()) + 12);
  }
}

QTEST_APPLESS_MAIN(TestEngineRobustness)
#include "test_robustness.moc"
