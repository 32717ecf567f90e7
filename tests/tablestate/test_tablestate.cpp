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
  QTest::newRow("half-up-2.675") << 2.675 << 2 << "."
                                 << "2.68";
  QTest::newRow("half-up-1.005") << 1.005 << 2 << "."
                                 << "1.01";
  QTest::newRow("half-up-0.125") << 0.125 << 2 << "."
                                 << "0.13";
  QTest::newRow("neg-half-away") << -2.5 << 0 << "."
                                 << "-3";
  QTest::newRow("pos-half-away") << 2.5 << 0 << "."
                                 << "3";
  QTest::newRow("fifteen-digits") << (0.1 + 0.2) << 15 << "."
                                  << "0.300000000000000";
  QTest::newRow("no-exponent") << 1e20 << 2 << "."
                               << "100000000000000000000.00";
  QTest::newRow("default-4") << 14.0 << 4 << "."
                             << "14.0000";
  QTest::newRow("no-grouping") << 1234567.891 << 2 << "."
                               << "1234567.89";
  QTest::newRow("tiny-not-zero") << 0.00001 << 4 << "."
                                 << "0.0000";
  QTest::newRow("tiny-negative-no-sign") << -0.00001 << 4 << "."
                                         << "0.0000";
  QTest::newRow("zero") << 0.0 << 2 << "."
                        << "0.00";
  QTest::newRow("carry-into-new-digit") << 9.999 << 2 << "."
                                        << "10.00";
  QTest::newRow("comma-separator") << 1.5 << 1 << ","
                                   << "1,5";
  QTest::newRow("sqr2") << 1.4142135623731 << 2 << "."
                        << "1.41";
  QTest::newRow("small-round-up") << 0.0005 << 3 << "."
                                  << "0.001";
  QTest::newRow("digits-above-15-clamped") << 1.0 << 20 << "."
                                           << "1.000000000000000";
  QTest::newRow("plus-infinity") << inf << 4 << "."
                                 << "∞";
  QTest::newRow("minus-infinity") << -inf << 4 << "."
                                  << "-∞";
  QTest::newRow("nan") << std::nan("") << 4 << "."
                       << "не е число";
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

  QTest::newRow("fits-as-is") << 1234.5 << 2 << 7 << "1234,50"
                              << "";
  QTest::newRow("drops-one-decimal") << 1234.56 << 2 << 6 << "1234,6"
                                     << "1234,56";
  QTest::newRow("drops-all-decimals") << 1234.56 << 4 << 4 << "1235"
                                      << "1234,5600";
  QTest::newRow("rounds-again-carry") << 99999.96 << 2 << 6 << "100000"
                                      << "99999,96";
  QTest::newRow("1e30-exponent") << 1e30 << 4 << 28 << "1,0000E+30"
                                 << "1000000000000000000000000000000,0000";
  QTest::newRow("exponent-keeps-sign") << -1e25 << 4 << 12 << "-1,0000E+25"
                                       << "-10000000000000000000000000,0000";
  QTest::newRow("minus-and-one-kept") << -1e25 << 4 << 29 << "-10000000000000000000000000,0"
                                      << "-10000000000000000000000000,0000";
  QTest::newRow("mantissa-as-fits") << 1.23456789e30 << 15 << 10 << "1,2346E+30"
                                    << "1234567890000000000000000000000,000000000000000";
  QTest::newRow("mantissa-rounds-up") << 9.99996e20 << 4 << 9 << "1,000E+21"
                                      << "999996000000000000000,0000";
  QTest::newRow("no-decimals-chosen") << 4.5e22 << 0 << 8 << "5E+22"
                                      << "45000000000000000000000";
  QTest::newRow("15-decimals-big") << 123456789012345678.0 << 15 << 19 << "123456789012346000"
                                   << "123456789012346000,000000000000000";
  QTest::newRow("nothing-fits-shortest")
      << -7.7e100 << 2 << 3 << "-8E+100"
      << "-77000000000000000000000000000000000000000000000000"
         "000000000000000000000000000000000000000000000000000,00";
  QTest::newRow("tiny-shows-zero") << 0.00001 << 4 << 6 << "0,0000"
                                   << "";
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
  QTest::newRow("extension-added") << "abc"
                                   << "abc.SPR" << true;
  QTest::newRow("own-extension") << "abc.txt"
                                 << "abc.txt" << true;
  QTest::newRow("several-stops") << "a.b.c"
                                 << "a.b.c" << true;
  QTest::newRow("dot") << "."
                       << "." << false;
  QTest::newRow("dotdot") << ".."
                          << ".." << false;
  QTest::newRow("slash") << "../x"
                         << "../x" << false;
  QTest::newRow("backslash") << "a\\b"
                             << "a\\b.SPR" << false;
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

  QTest::newRow("bulgarian") << "bg_BG"
                             << "," << int(DateOrder::DayMonthYear) << "."
                             << "DAY(13.02.2001)";
  QTest::newRow("german") << "de_DE"
                          << "," << int(DateOrder::DayMonthYear) << "."
                          << "DAY(13.02.2001)";
  QTest::newRow("british") << "en_GB"
                           << "." << int(DateOrder::DayMonthYear) << "/"
                           << "DAY(13/02/2001)";
  QTest::newRow("american") << "en_US"
                            << "." << int(DateOrder::MonthDayYear) << "/"
                            << "DAY(02/13/2001)";
  QTest::newRow("swedish") << "sv_SE"
                           << "," << int(DateOrder::YearMonthDay) << "-"
                           << "DAY(2001-02-13)";
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
