#include <QTest>
#include <cmath>
#include <limits>

#include "filenames.h"
#include "resultformat.h"
#include "tablestate.h"
#include "userlocale.h"

class TestTableState : public QObject {
  Q_OBJECT
 private slots:
  void formatResult_data();
  void formatResult();
  void fitResult_data();
  void fitResult();
  void records();
  void fileNames_data();
  void fileNames();
  void userLocale_data();
  void userLocale();
};

void TestTableState::formatResult_data() {
  QTest::addColumn<double>("value");
  QTest::addColumn<int>("digits");
  QTest::addColumn<QString>("separator");
  QTest::addColumn<QString>("expected");

  const double inf = std::numeric_limits<double>::infinity();
  const auto Row = [](const char* name, double value, int digits, const char* separator,
                      const char* expected) {
    QTest::newRow(name) << value << digits << QString(separator) << QString(expected);
  };
  Row("half-up-2.675", 2.675, 2, ".", "2.68");
  Row("half-up-1.005", 1.005, 2, ".", "1.01");
  Row("half-up-0.125", 0.125, 2, ".", "0.13");
  Row("neg-half-away", -2.5, 0, ".", "-3");
  Row("pos-half-away", 2.5, 0, ".", "3");
  Row("fifteen-digits", 0.1 + 0.2, 15, ".", "0.300000000000000");
  Row("no-exponent", 1e20, 2, ".", "100000000000000000000.00");
  Row("default-4", 14.0, 4, ".", "14.0000");
  Row("no-grouping", 1234567.891, 2, ".", "1234567.89");
  Row("tiny-not-zero", 0.00001, 4, ".", "0.0000");
  Row("tiny-negative-no-sign", -0.00001, 4, ".", "0.0000");
  Row("zero", 0.0, 2, ".", "0.00");
  Row("carry-into-new-digit", 9.999, 2, ".", "10.00");
  Row("comma-separator", 1.5, 1, ",", "1,5");
  Row("sqr2", 1.4142135623731, 2, ".", "1.41");
  Row("small-round-up", 0.0005, 3, ".", "0.001");
  Row("digits-above-15-clamped", 1.0, 20, ".", "1.000000000000000");
  Row("plus-infinity", inf, 4, ".", "∞");
  Row("minus-infinity", -inf, 4, ".", "-∞");
  Row("nan", std::nan(""), 4, ".", "не е число");
}

void TestTableState::formatResult() {
  QFETCH(double, value);
  QFETCH(int, digits);
  QFETCH(QString, separator);
  QFETCH(QString, expected);
  QCOMPARE(FormatResult(value, digits, separator[0]), expected);
}

// A cell that takes `width` characters: fewer decimals first, then the exponent form, never
// a clipped number.
void TestTableState::fitResult_data() {
  QTest::addColumn<double>("value");
  QTest::addColumn<int>("digits");
  QTest::addColumn<int>("width");
  QTest::addColumn<QString>("shown");
  QTest::addColumn<QString>("toolTip");
  const auto Row = [](const char* name, double value, int digits, int width, const char* shown,
                      const char* toolTip) {
    QTest::newRow(name) << value << digits << width << QString(shown) << QString(toolTip);
  };
  Row("fits-as-is", 1234.5, 2, 7, "1234,50", "");
  Row("drops-one-decimal", 1234.56, 2, 6, "1234,6", "1234,56");
  Row("drops-all-decimals", 1234.56, 4, 4, "1235", "1234,5600");
  Row("rounds-again-carry", 99999.96, 2, 6, "100000", "99999,96");
  Row("1e30-exponent", 1e30, 4, 28, "1,0000E+30", "1000000000000000000000000000000,0000");
  Row("exponent-keeps-sign", -1e25, 4, 12, "-1,0000E+25", "-10000000000000000000000000,0000");
  Row("minus-and-one-kept", -1e25, 4, 29, "-10000000000000000000000000,0",
      "-10000000000000000000000000,0000");
  Row("mantissa-as-fits", 1.23456789e30, 15, 10, "1,2346E+30",
      "1234567890000000000000000000000,000000000000000");
  Row("mantissa-rounds-up", 9.99996e20, 4, 9, "1,000E+21", "999996000000000000000,0000");
  Row("no-decimals-chosen", 4.5e22, 0, 8, "5E+22", "45000000000000000000000");
  Row("15-decimals-big", 123456789012345678.0, 15, 19, "123456789012346000",
      "123456789012346000,000000000000000");
  Row("nothing-fits-shortest", -7.7e100, 2, 3, "-8E+100",
      "-77000000000000000000000000000000000000000000000000"
      "000000000000000000000000000000000000000000000000000,00");
  Row("tiny-shows-zero", 0.00001, 4, 6, "0,0000", "");
}

void TestTableState::fitResult() {
  QFETCH(double, value);
  QFETCH(int, digits);
  QFETCH(int, width);
  QFETCH(QString, shown);
  QFETCH(QString, toolTip);
  const FittedResult fitted = FitResult(
      value, digits, u',', {.fits = [&](const QString& text) { return text.size() <= width; }});
  QCOMPARE(fitted.text, shown);
  QCOMPARE(fitted.shortened, !toolTip.isEmpty());
  QCOMPARE(ResultToolTip(fitted.shortened ? fitted.full : QString()), toolTip);
  // A second reason goes on a line of its own.
  QCOMPARE(ResultToolTip(toolTip, {QStringLiteral("още")}),
           toolTip.isEmpty() ? QStringLiteral("още") : toolTip + QStringLiteral("\nоще"));
}

void TestTableState::records() {
  TableState state;
  QVERIFY(state.rows[0].IsCleared());
  QCOMPARE(state.rows[0].formula.size(), 255);  // a record holds 255 characters
  QCOMPARE(state.rows[0].DisplayText(), QString());

  RowRecord& row = state.rows[3];
  row.SetFormula(u"  2+3  ");
  QCOMPARE(row.formula.size(), 255);
  QVERIFY(!row.IsCleared());
  QCOMPARE(row.Trimmed(), QStringLiteral("2+3"));
  row.SetFormula(QString(300, u'1'));
  QCOMPARE(row.Trimmed(), QString(255, u'1'));
  row.result = 7;
  QCOMPARE(state.Result(3), 7.0);
  QCOMPARE(state.Result(27), 0.0);
  QCOMPARE(state.Result(-1), 0.0);

  row.Empty();
  QCOMPARE(row.formula, QString(255, u' '));
  QCOMPARE(row.result, 0.0);

  state.explanation = QStringLiteral("Заглавие");
  state.ClearRows();
  QVERIFY(state.rows[3].IsCleared());
  QCOMPARE(state.explanation, QStringLiteral("Заглавие"));
}

void TestTableState::fileNames_data() {
  QTest::addColumn<QString>("typed");
  QTest::addColumn<QString>("name");
  QTest::addColumn<bool>("plain");
  const auto Row = [](const char* name, const char* typed, const char* full, bool plain) {
    QTest::newRow(name) << QString(typed) << QString(full) << plain;
  };
  Row("extension-added", "abc", "abc.SPR", true);
  Row("own-extension", "abc.txt", "abc.txt", true);
  Row("several-stops", "a.b.c", "a.b.c", true);
  Row("dot", ".", ".", false);
  Row("dotdot", "..", "..", false);
  Row("slash", "../x", "../x", false);
  Row("backslash", "a\\b", "a\\b.SPR", false);
}

void TestTableState::fileNames() {
  QFETCH(QString, typed);
  QFETCH(QString, name);
  QFETCH(bool, plain);
  QCOMPARE(WithDefaultExtension(typed, QStringLiteral(".SPR")), name);
  QCOMPARE(IsPlainFileName(name), plain);
}

// What the program reads from the system's locale, and that the evaluator then reads a date
// of that locale: 13 February 2001 is day 36935 counted from 31.12.1899.
void TestTableState::userLocale_data() {
  QTest::addColumn<QString>("name");
  QTest::addColumn<QString>("decimalPoint");
  QTest::addColumn<int>("order");
  QTest::addColumn<QString>("separator");
  QTest::addColumn<QString>("formula");
  const auto Row = [](const char* name, const char* locale, const char* point, DateOrder order,
                      const char* separator, const char* formula) {
    QTest::newRow(name) << QString(locale) << QString(point) << int(order) << QString(separator)
                        << QString(formula);
  };
  Row("bulgarian", "bg_BG", ",", DateOrder::DayMonthYear, ".", "DAY(13.02.2001)");
  Row("german", "de_DE", ",", DateOrder::DayMonthYear, ".", "DAY(13.02.2001)");
  Row("british", "en_GB", ".", DateOrder::DayMonthYear, "/", "DAY(13/02/2001)");
  Row("american", "en_US", ".", DateOrder::MonthDayYear, "/", "DAY(02/13/2001)");
  Row("swedish", "sv_SE", ",", DateOrder::YearMonthDay, "-", "DAY(2001-02-13)");
}

void TestTableState::userLocale() {
  QFETCH(QString, name);
  QFETCH(QString, decimalPoint);
  QFETCH(int, order);
  QFETCH(QString, separator);
  QFETCH(QString, formula);
  const UserLocale locale = UserLocale::From(QLocale(name));
  QCOMPARE(QString(locale.decimalPoint), decimalPoint);
  QCOMPARE(int(locale.dates.order), order);
  QCOMPARE(QString(QChar(locale.dates.separator)), separator);
  mdlCalcFunction evaluator(locale.dates);
  QCOMPARE(evaluator.CalcFormula(ToU16(formula)), 36935.0);
  QCOMPARE(evaluator.ErrorPos(), 0);
}

QTEST_GUILESS_MAIN(TestTableState)
#include "test_tablestate.moc"
