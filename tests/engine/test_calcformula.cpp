#include <QTest>
#include <bit>
#include <cstdint>
#include <limits>

#include "enginecheck.h"
#include "formulaerror.h"

Q_DECLARE_METATYPE(FormulaFault)

class TestCalcFormula : public QObject {
  Q_OBJECT
 private slots:
  void preparation_data();
  void preparation() { Check(); }
  void arithmetic_data();
  void arithmetic() { Check(); }
  void precedence_data();
  void precedence() { Check(); }
  void brackets_data();
  void brackets() { Check(); }
  void functions_data();
  void functions() { Check(); }
  void faults_data();
  void faults() { Check(); }
  void errorCause_data();
  void errorCause();
  void stateIsResetBetweenCalls();

 private:
  void Check() { CheckEvaluation(m_calc); }
  NumberedRows m_rows;
  mdlCalcFunction m_calc{DateSettings{}, &m_rows};
};

constexpr double kInf = std::numeric_limits<double>::infinity();
constexpr double kNear = 1e-12;
// The calculator's pi: the double nearest 3.14159265358979, not the one nearest pi.
constexpr double kPi = std::bit_cast<double>(std::uint64_t{0x400921FB54442D11});

void TestCalcFormula::preparation_data() {
  AddEvaluationColumns();
  AddCase("empty", "", 0);
  AddCase("blanks-only", "    ", 0);
  AddCase("equals-alone", "=", 0);
  AddCase("equals-then-blanks", "=   ", 0);
  AddCase("equals-formula", "=2+3", 5);
  AddCase("equals-keeps-positions", "=2+3)", 5, 5);
  AddCase("equals-then-point", "=.5", 0.5);
  AddCase("leading-point", ".5*2", 1);
  AddCase("leading-point-shifts-error", ".5x", 0.5, 4);
  AddCase("point-alone", ".", 0);
  AddCase("comment", "2+3 'total", 5);
  AddCase("comment-first-is-error", "'total", 0, 1);
  AddCase("comment-cuts-at-first", "2'x'y", 2);
  AddCase("comment-keeps-leading-blanks", "  2+3) 'c", 5, 6);
  AddCase("blanks-only-before-comment", "   'c", 0);
  // Code units whose bytes hold an apostrophe's byte are no apostrophe.
  AddCase("comment-after-lookalikes",
          "1+2" + QString(30, u' ') + QChar(0x0127) + QChar(0x2700) + " 'c", 3, 34);
  AddCase("comment-far-right", QString(40, u' ') + "7 'c", 7);
  AddCase("trimmed-positions", "   2+3)   ", 5, 4);
  AddCase("blanks-between-tokens", "2 + 3", 5);
  AddCase("no-break-blanks", QString::fromUtf16(u"2\u00A0+\u00A03"), 5);
  AddCase("digit-grouping", "1 000 000", 1e6);
  AddCase("grouping-with-no-break", QString::fromUtf16(u"12\u00A0345.5"), 12345.5);
  AddCase("two-points-read-0", "1.2.3", 0);
  AddCase("two-points-then-more", "1.2.3+1", 1);
  AddCase("close-paren-extra", "2+3)", 5, 4);
  AddCase("unknown-name", "abc", 0, 1);
  AddCase("missing-last-operand", "5+", 5);
  AddCase("tab-is-a-token", "2\t+3", 2, 2);
  AddCase("cr-inside-is-no-terminator", "2+3\r+4", 5, 4);
  AddCase("nul-inside", QString(QChar(u'2')) + QChar(u'\0') + "+1", 2, 2);
  AddCase("unit-letter", "5d", 5);
  AddCase("unit-letter-once", "5dd", 5, 3);
  AddCase("unit-letter-then-operator", "2f+1", 3);
  AddCase("unit-after-blank", "5 b", 5);
  AddCase("exponent-letter-is-error", "1e5", 1, 2);
  AddCase("hash-is-error", "5#10", 5, 2);
}

void TestCalcFormula::arithmetic_data() {
  AddEvaluationColumns();
  AddCase("divide", "7/2", 3.5);
  AddCase("divide-by-zero", "7/0", 0);
  AddCase("int-divide-by-zero", "7\\0", 0);
  AddCase("remainder-by-zero", "7~0", 0);
  AddCase("zero-by-zero", "0/0", 0);
  AddCase("int-divide", "7\\2", 3);
  AddCase("int-divide-negative", "-7\\2", -3);
  AddCase("remainder", "7~3", 1);
  AddCase("remainder-negative", "-7~3", -1);
  AddCase("round-half-even-down", "2.5\\1", 2);
  AddCase("round-half-even-up", "3.5\\1", 4);
  AddCase("round-negative-half", "-2.5|0", -2);
  AddCase("divisor-rounds-to-zero", "7\\0.4", 7);
  AddCase("remainder-divisor-rounds-to-zero", "7~0.4", 7);
  AddCase("int-operand-too-large", "3000000000\\2", 3e9);
  AddCase("int-min-by-minus-one", "(0-2147483648)\\(0-1)", 2147483648.0);
  AddCase("and", "5&3", 1);
  AddCase("or", "5|3", 7);
  AddCase("and-negative", "-1&5", 5);
  AddCase("and-rounds", "2.5&3", 2);
  AddCase("and-operand-too-large", "5&3000000000", 5);
  AddCase("percent", "50%", 0.5);
  AddCase("percent-of-product", "200*10%", 20);
  AddCase("power", "2^10", 1024);
  AddCase("power-left-assoc", "2^3^2", 64);
  AddCase("power-negative-exponent", "2^-1", 0.5);
  AddCase("unary-minus-on-base", "-2^2", 4);
  AddCase("cube-root-of-negative-fails", "(0-8)^(1/3)", -8);
  AddCase("zero-to-negative-fails", "0^-1", 0);
  AddCase("power-overflow-leaves-base", "10^400", 10);
  AddCase("product-overflow-is-infinite", "10^300*10^300", kInf);
  AddCase("double-minus", "--2", -2);
  AddCase("plus-after-operator", "2*+3", 3);
  AddCase("leading-plus", "+5", 5);
  AddCase("missing-product-operand", "5*", 0);
  AddCase("missing-divisor", "5/", 0);
  AddCase("minus-alone", "-", 0);
  AddCase("long-number-exact", "123456789012345678901234567890", 123456789012345678901234567890.0);
}

void TestCalcFormula::precedence_data() {
  AddEvaluationColumns();
  AddCase("comparison-below-sum", "1+2<3", 0);
  AddCase("comparison-above-product", "2*3<4*5", -1);
  AddCase("comparison-right-assoc", "1<2<3", 0);
  AddCase("comparison-then-sum", "2<1+2", 2);
  AddCase("equal", "3=3", -1);
  AddCase("not-equal", "3<>3", 0);
  AddCase("not-equal-reversed", "3><4", -1);
  AddCase("less-equal-reversed", "3=<3", -1);
  AddCase("greater-equal-reversed", "4=>5", 0);
  AddCase("less-equal", "2<=3", -1);
  AddCase("greater-equal", "3>=3", -1);
  AddCase("less", "2<3", -1);
  AddCase("greater", "2>3", 0);
  AddCase("double-equals-applies-nothing", "3==4", 3);
  AddCase("and-equals-applies-nothing", "3&=1", 3);
  AddCase("times-equals-leaves-text", "3*=2", 3, 4);
  AddCase("percent-equals-leaves-text", "50%=5", 50, 5);
  AddCase("product-before-sum", "2+3*4", 14);
  AddCase("sum-left-assoc", "10-4-3", 3);
  AddCase("quotient-left-assoc", "64/4/2", 8);
}

void TestCalcFormula::brackets_data() {
  AddEvaluationColumns();
  AddCase("paren-power", "(2+3)^2", 25);
  AddCase("paren-plus", "(+5)", 5);
  AddCase("paren-then-digit", "(2)3", 2, 4);
  AddCase("paren-then-paren", "(2)(3)", 2, 4);
  AddCase("paren-then-remainder", "(7)~2", 1);
  AddCase("paren-unclosed", "(2+3", 5, 5);
  AddCase("choice-true", "[1<2,10,20]", 10);
  AddCase("choice-only-minus-one", "[1,10,20]", 20);
  AddCase("choice-condition-needs-parens", "[(1+1)>1,2,3]", 2);
  AddCase("choice-missing-else", "[0,5]", 0);
  AddCase("choice-missing-else-true", "[-1,5]", 5);
  AddCase("choice-plus", "[+-1,5,6]", 5);
  AddCase("choice-no-comma", "[1<2;10]", 0, 5);
  AddCase("choice-unclosed", "[-1,5", 5, 6);
  AddCase("choice-no-follower-check", "[-1,5,6]7", 5, 9);
}

void TestCalcFormula::functions_data() {
  AddEvaluationColumns();
  AddCase("pi", "PI", kPi);
  AddCase("pi-lower", "pi", kPi);
  AddCase("pi-plus-one", "PI+1", 4.14159265358979, 0, kNear);
  AddCase("pi-takes-no-parens", "PI()", kPi, 3);
  AddCase("pi-then-sin", "PISIN(30)", 0.5, 0, kNear);
  AddCase("name-alone", "SIN", 0);
  AddCase("name-alone-in-sum", "5+SIN+1", 6);
  AddCase("lower-case-is-no-name", "sin(30)", 0, 1);
  AddCase("unclosed-still-computes", "SIN(30", 0.5, 7, kNear);
  AddCase("plus-argument", "SIN(+30)", 0.5, 0, kNear);
  AddCase("blank-before-paren", "SIN (30)", 0.5, 0, kNear);
  AddCase("sin", "SIN(30)", 0.5, 0, kNear);
  AddCase("cos", "COS(60)", 0.5, 0, kNear);
  AddCase("tan", "TAN(45)", 1, 0, kNear);
  AddCase("sec", "SEC(60)", 2, 0, kNear);
  AddCase("csec", "CSEC(30)", 2, 0, kNear);
  AddCase("ctan", "CTAN(45)", 1, 0, kNear);
  AddCase("asin", "ASIN(0.5)", 30, 0, kNear);
  AddCase("acos", "ACOS(0.5)", 60, 0, kNear);
  AddCase("atan", "ATAN(1)", 45, 0, kNear);
  AddCase("actan", "ACTAN(1)", 45, 0, kNear);
  AddCase("asec", "ASEC(2)", 60, 0, kNear);
  AddCase("acsec", "ACSEC(2)", 30, 0, kNear);
  AddCase("ln", "LN(1)", 0);
  AddCase("log", "LOG(1000)", 3, 0, kNear);
  AddCase("sqr", "SQR(2)", 1.4142135623730951, 0, kNear);
  AddCase("sqr-power", "SQR(16)^2", 16);
  AddCase("exp", "EXP(1)", 2.718281828459045, 0, kNear);
  AddCase("deg", "DEG(1)", 57.2957795130824);
  AddCase("rad", "RAD(57.2957795130824)", 1);
  AddCase("deg-rad", "DEG(RAD(45))", 45, 0, kNear);
  AddCase("f-c", "F-C(212)", 100);
  AddCase("c-f", "C-F(100)", 212, 0, kNear);
  AddCase("klm", "KLM(1)", 1.609314);
  AddCase("mil", "MIL(1.609314)", 1);
  AddCase("sfut", "SFUT(1)", 30.48);
  AddCase("sduim", "SDUIM(1)", 2.54);
  AddCase("metr", "METR(1)", 0.9144);
  // Hyperbolic functions take degrees: DEG(1) is one radian.
  AddCase("hsin", "HSIN(DEG(1))", 1.1752011936438014, 0, kNear);
  AddCase("hcos", "HCOS(DEG(1))", 1.5430806348152437, 0, kNear);
  AddCase("htan", "HTAN(DEG(1))", 0.7615941559557649, 0, kNear);
  AddCase("hctan", "HCTAN(DEG(1))", 1.3130352854993312, 0, kNear);
  AddCase("hsec", "HSEC(DEG(1))", 0.6480542736638855, 0, kNear);
  AddCase("hcsec", "HCSEC(DEG(1))", 0.8509181282393216, 0, kNear);
  AddCase("ahsin", "AHSIN(1.1752011936438014)", 57.2957795130824, 0, kNear);
  AddCase("ahcos", "AHCOS(1.5430806348152437)", 57.2957795130824, 0, kNear);
  AddCase("ahtan", "AHTAN(0.7615941559557649)", 57.2957795130824, 0, kNear);
  AddCase("ahctan", "AHCTAN(1.3130352854993312)", 57.2957795130824, 0, kNear);
  AddCase("ahsec", "AHSEC(0.6480542736638855)", 57.2957795130824, 0, kNear);
  AddCase("ahcsec", "AHCSEC(0.8509181282393216)", 57.2957795130824, 0, kNear);
  AddCase("ahcsec-negative", "AHCSEC(-0.8509181282393216)", -57.2957795130824, 0, kNear);
  AddCase("sin-plus-cos", "SIN(30)+COS(60)", 1, 0, kNear);
  AddCase("sum-rows", "SUM(1)+SUM(2)", 201);
  AddCase("sum-zero", "SUM(0)", 0);
  AddCase("sum-negative", "SUM(-3)", 102);
  AddCase("sum-rounds-half-even", "SUM(2.5)", 102);
  AddCase("sum-last-record", "SUM(27)", 126);
  AddCase("sum-beyond", "SUM(28)", 0);
  AddCase("sum-beyond-keeps-pi", "PISUM(28)", kPi);
  AddCase("sum-replaces-pi", "PISUM(2)", 101);
  AddCase("sum-huge", "SUM(10^10)", 0);
  AddCase("sum-follower", "SUM(1)x", 100, 7);
  AddCase("sum-range", "SUM(1:3)", 303);
  AddCase("sum-range-reversed", "SUM(3:1)", 303);
  AddCase("sum-range-negative-bounds", "SUM(-1:-3)", 303);
  AddCase("sum-range-bounds-round", "SUM(2.5:1)", 303);
  AddCase("sum-range-bounds-are-sums", "SUM(+1+1:2*2)", 306);
  AddCase("sum-range-one-row", "SUM(2:2)", 101);
  AddCase("sum-range-from-zero", "SUM(0:2)", 201);
  AddCase("sum-range-missing-bound", "SUM(1:)", 100);
  AddCase("sum-range-past-the-store", "SUM(26:30)", 251);
  AddCase("sum-range-outside-keeps-pi", "PISUM(28:30)", kPi);
  AddCase("sum-range-huge-bound", "SUM(1:10^10)", 0);
  AddCase("sum-range-unclosed", "SUM(1:3", 303, 8);
  AddCase("sum-range-two-colons", "SUM(1:2:3)", 201, 8);
  AddCase("sum-range-follower", "SUM(1:2)3", 201, 9);
  AddCase("colon-after-sum", "SUM(1):3", 100, 7);
  AddCase("colon-in-other-function", "SQR(4:9)", 2, 6);
  AddCase("unknown-function", "XYZ(1)", 0, 1);
  // A name is matched on whole characters: one whose low byte is a name's letter is no name.
  AddCase("letter-low-byte-twin", QStringLiteral("S\u0149N(30)"), 0, 1);
  AddCase("first-four-of-a-longer-name", "AHCTAX(2)", 0, 1);
  AddCase("longer-name-cut-by-the-end", "1+AHCTA", 1, 3);
  AddCase("name-near-the-end", "9*SQR(4", 18, 8);
  AddCase("nested", "SQR(SQR(16))+ATAN(TAN(30))", 32, 0, kNear);
}

void TestCalcFormula::faults_data() {
  AddEvaluationColumns();
  AddCase("ln-zero", "LN(0)", 0);
  AddCase("ln-negative", "LN(-1)", 0);
  AddCase("sqr-negative", "SQR(-4)", 0);
  AddCase("log-zero", "LOG(0)", 0);
  AddCase("asin-beyond", "ASIN(2)", 0);
  AddCase("ahcos-below-one", "AHCOS(0.5)", 0);
  AddCase("exp-overflow", "EXP(1000)", 0);
  AddCase("ctan-zero", "CTAN(0)", kInf);
  AddCase("csec-zero", "CSEC(0)", kInf);
  AddCase("hcsec-zero", "HCSEC(0)", kInf);
  AddCase("hctan-zero", "HCTAN(0)", kInf);
  AddCase("asin-one", "ASIN(1)", 0);
  AddCase("asin-minus-one", "ASIN(-1)", 0);
  AddCase("acos-one", "ACOS(1)", 0);
  AddCase("acos-minus-one", "ACOS(-1)", 0);
  AddCase("asec-one", "ASEC(1)", 0);
  AddCase("asec-minus-one", "ASEC(-1)", 0);
  AddCase("acsec-one", "ACSEC(1)", 0);
  AddCase("acsec-minus-one", "ACSEC(-1)", 0);
  AddCase("asec-zero", "ASEC(0)", 0);
  AddCase("acsec-zero", "ACSEC(0)", 0);
  AddCase("ahtan-one", "AHTAN(1)", 0);
  AddCase("ahcsec-zero", "AHCSEC(0)", 0);
  AddCase("htan-exp-overflow", "HTAN(100000)", 0);
  AddCase("sin-of-infinite", "SIN(10^300*10^300)", 0);
  AddCase("deg-of-infinite-stands", "DEG(10^300*10^300)", kInf);
  AddCase("c-f-last-product-unchecked", "C-F(10^308)", kInf);
  AddCase("fault-still-checks-paren", "LN(0", 0, 5);
  AddCase("fault-in-sum-goes-on", "LN(0)+2", 2);
}

void TestCalcFormula::errorCause_data() {
  QTest::addColumn<QString>("formula");
  QTest::addColumn<FormulaFault>("fault");
  QTest::addColumn<QString>("name");
  QTest::addColumn<QString>("known");
  const auto row = [](const char* tag, const QString& formula, FormulaFault fault,
                      const QString& name = {}, const QString& known = {}) {
    QTest::newRow(tag) << formula << fault << name << known;
  };
  using enum FormulaFault;
  row("no-error", "2+3", None);
  row("comma", "12,5", DecimalComma);
  row("comma-in-argument", "SUM(1,5)", DecimalComma);
  row("comma-in-parens-in-choice", "[-1,SQR(2,5),3]", DecimalComma);
  row("choice-comma-is-none", "[1,5", None);
  row("comma-in-day-is-none", "DAY(32,13,2003)", None);
  row("lower-case", "sin(30)", FunctionName, "sin", "SIN");
  row("lower-case-with-minus", "f-c(212)", FunctionName, "f-c", "F-C");
  row("pi-mixed-case", "Pi+1", FunctionName, "Pi", "PI");
  row("unknown", "xyz(1)", FunctionName, "xyz", "");
  row("unknown-whole-word", "SINX(30)", FunctionName, "SINX", "");
  row("unknown-cyrillic", QString::fromUtf16(u"сума(1)"), FunctionName, QString::fromUtf16(u"сума"),
      "");
  row("name-before-comma", "sin(2,5)", FunctionName, "sin", "SIN");
  row("word-without-paren", "abc", None);
  row("unit-letters", "5dd", None);
  row("missing-paren", "(2+3", MissingParen);
  row("missing-function-paren", "SIN(30 'c", MissingParen);
}

void TestCalcFormula::errorCause() {
  QFETCH(QString, formula);
  QFETCH(FormulaFault, fault);
  QFETCH(QString, name);
  QFETCH(QString, known);
  const FormulaErrorCause cause = FindErrorCause(View(formula));
  QCOMPARE(cause.fault, fault);
  QCOMPARE(ToQString(cause.name), name);
  QCOMPARE(ToQString(cause.knownName), known);
}

void TestCalcFormula::stateIsResetBetweenCalls() {
  QCOMPARE(m_calc.CalcFormula(u"2+3)"), 5.0);
  QCOMPARE(m_calc.ErrorPos(), 4);
  QCOMPARE(m_calc.CalcFormula(u"2+3"), 5.0);
  QCOMPARE(m_calc.ErrorPos(), 0);
  QCOMPARE(m_calc.CalcFormula(u""), 0.0);
  QCOMPARE(m_calc.ErrorPos(), 0);
  // The prepared text: point prefix, "=" blanked, comment cut.
  m_calc.CalcFormula(u".5");
  QVERIFY(m_calc.PreparedText() == u"0.5");
  m_calc.CalcFormula(u"=1 'x");
  QVERIFY(m_calc.PreparedText() == u" 1");
  // Without a row view SUM reads nothing.
  mdlCalcFunction noRows;
  QCOMPARE(noRows.CalcFormula(u"SUM(1)+1"), 1.0);
  QCOMPARE(noRows.CalcFormula(u"SUM(1:2)+1"), 1.0);
}

QTEST_APPLESS_MAIN(TestCalcFormula)
#include "test_calcformula.moc"
