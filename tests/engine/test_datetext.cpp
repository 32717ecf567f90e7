#include <QTest>
#include <chrono>

#include "datetext.h"
#include "enginecheck.h"

using namespace std::chrono;

Q_DECLARE_METATYPE(DateSettings)

namespace {
const DateSettings kDayFirst{DateOrder::DayMonthYear, u'.'};
const DateSettings kMonthFirst{DateOrder::MonthDayYear, u'/'};
const DateSettings kYearFirst{DateOrder::YearMonthDay, u'-'};
// Day numbers: 30 December 1899 is day 0.
constexpr double k1Jan2003 = 37622;
}  // namespace

class TestDateText : public QObject {
  Q_OBJECT
 private slots:
  void normalizeDate_data();
  void normalizeDate();
  void padNumber_data();
  void padNumber();
  void day_data();
  void day();
  void dayNumber();
};

void TestDateText::normalizeDate_data() {
  QTest::addColumn<DateSettings>("settings");
  QTest::addColumn<QString>("input");
  QTest::addColumn<QString>("text");
  QTest::addColumn<QString>("date");  // ISO, or empty when no date was read

  auto row = [](const char* name, DateSettings settings, const char16_t* input,
                const char16_t* text, const char* date) {
    QTest::newRow(name) << settings << QString::fromUtf16(input) << QString::fromUtf16(text)
                        << QString(date);
  };
  row("dmy-points", kDayFirst, u"1.2.2003", u"01.02.2003", "2003-02-01");
  row("dmy-slashes", kDayFirst, u"1/2/2003", u"01.02.2003", "2003-02-01");
  row("dmy-dashes", kDayFirst, u"1-2-2003", u"01.02.2003", "2003-02-01");
  row("dmy-no-separator", kDayFirst, u"2003", u"", "");
  row("dmy-one-separator", kDayFirst, u"1.2", u"", "");
  row("dmy-not-a-number", kDayFirst, u"abc", u"          ", "");
  row("dmy-leading-zero-number", kDayFirst, u"0/1/2003", u"          ", "");
  row("dmy-leading-fraction", kDayFirst, u"0.1.2003", u"0.1.2003", "");
  row("dmy-not-a-date", kDayFirst, u"32.13.2003", u"32.13.2003", "");
  row("dmy-cut-to-ten", kDayFirst, u"01.02.2003999", u"01.02.2003", "2003-02-01");
  row("dmy-trimmed", kDayFirst, u"  1.2.2003  ", u"01.02.2003", "2003-02-01");
  row("dmy-trailing-separators", kDayFirst, u"1.2.2003..", u"01.02.2003", "2003-02-01");
  row("dmy-blanks-after-points", kDayFirst, u"1. 2. 2003", u"01.02.2003", "2003-02-01");
  row("dmy-four-parts", kDayFirst, u"1.2.3.4", u"1.2.3.4", "");
  row("dmy-two-digit-year-2000s", kDayFirst, u"1.2.29", u"01.02.2029", "2029-02-01");
  row("dmy-two-digit-year-1900s", kDayFirst, u"1.2.30", u"01.02.1930", "1930-02-01");
  row("dmy-year-00", kDayFirst, u"1.2.00", u"01.02.2000", "2000-02-01");
  row("dmy-year-100", kDayFirst, u"1.2.100", u"01.02.0100", "0100-02-01");
  row("dmy-year-0099", kDayFirst, u"1.2.0099", u"1.2.0099", "");
  row("dmy-leap-day", kDayFirst, u"29.2.2000", u"29.02.2000", "2000-02-29");
  row("dmy-no-leap-day", kDayFirst, u"29.2.2001", u"29.2.2001", "");
  row("dmy-day-zero", kDayFirst, u"1.0.2003", u"1.0.2003", "");
  // Read once, in the user's order: the day-first text is never read back month-first.
  row("mdy-reads-month-first", kMonthFirst, u"1/2/2003", u"02/01/2003", "2003-01-02");
  row("mdy-points-become-slashes", kMonthFirst, u"12.31.1999", u"31/12/1999", "1999-12-31");
  row("mdy-day-first-is-no-date", kMonthFirst, u"31/12/1999", u"31/12/1999", "");
  row("ymd", kYearFirst, u"2003-2-1", u"01-02-2003", "2003-02-01");
  row("ymd-two-digit-year", kYearFirst, u"03.2.1", u"01-02-2003", "2003-02-01");
}

void TestDateText::normalizeDate() {
  QFETCH(DateSettings, settings);
  QFETCH(QString, input);
  QFETCH(QString, text);
  QFETCH(QString, date);
  const NormalizedDate result = NormalizeDate(View(input), settings);
  QCOMPARE(ToQString(result.text.View()), text);
  QString read;
  if (result.date)
    read = QString::asprintf("%04d-%02u-%02u", int(result.date->year()),
                             unsigned(result.date->month()), unsigned(result.date->day()));
  QCOMPARE(read, date);
}

void TestDateText::padNumber_data() {
  QTest::addColumn<double>("value");
  QTest::addColumn<int>("width");
  QTest::addColumn<int>("decimals");
  QTest::addColumn<QString>("expected");
  QTest::newRow("day") << 7.0 << 2 << 0 << "07";
  QTest::newRow("year") << 2026.0 << 4 << 0 << "2026";
  QTest::newRow("zero") << 0.0 << 2 << 0 << "00";
  QTest::newRow("zero-width-five") << 0.0 << 5 << 2 << "00000";
  QTest::newRow("overflow") << 123.0 << 2 << 0 << QString::fromUtf16(u"Пр");
  QTest::newRow("overflow-width-one") << 123.0 << 1 << 0 << QString::fromUtf16(u"П");
  QTest::newRow("overflow-huge") << 1e300 << 4 << 0 << QString::fromUtf16(u"Преп");
  QTest::newRow("padded") << 123.0 << 6 << 0 << "000123";
  QTest::newRow("decimals") << 2.5 << 5 << 1 << "002.5";
  QTest::newRow("decimals-round") << 2.375 << 6 << 2 << "002.38";
  QTest::newRow("decimals-cut-whole") << 1234.5 << 3 << 1 << QString::fromUtf16(u"Пре");
  QTest::newRow("twenty-zeros-at-most") << 9.0 << 25 << 0 << "000000000000000000009";
  QTest::newRow("width-zero") << 5.0 << 0 << 0 << "";
  QTest::newRow("negative") << -5.0 << 2 << 0 << "-5";
}

void TestDateText::padNumber() {
  QFETCH(double, value);
  QFETCH(int, width);
  QFETCH(int, decimals);
  QFETCH(QString, expected);
  QCOMPARE(ToQString(PadNumber(value, width, decimals).View()), expected);
}

void TestDateText::day_data() {
  QTest::addColumn<DateSettings>("settings");
  AddEvaluationColumns();
  auto row = [](const char* name, DateSettings settings, const char* formula, double value,
                int errorPos) {
    QTest::newRow(name) << settings << QString(formula) << value << 0.0 << errorPos;
  };
  row("first-of-1900", kDayFirst, "DAY(01.01.1900)", 2, 0);
  row("day-zero", kDayFirst, "DAY(30.12.1899)", 0, 0);
  row("day-one", kDayFirst, "DAY(31.12.1899)", 1, 0);
  row("days-between", kDayFirst, "DAY(1.1.2000)-DAY(1.1.1999)", 365, 0);
  row("dmy-first-february", kDayFirst, "DAY(1.2.2003)", k1Jan2003 + 31, 0);
  row("blanks-inside", kDayFirst, "DAY( 1. 1. 1900 )", 2, 0);
  row("not-a-date", kDayFirst, "DAY(abc)", 0, 8);
  row("empty", kDayFirst, "DAY()", 0, 5);
  row("invalid-day", kDayFirst, "DAY(32.1.2000)", 0, 14);
  row("eleven-characters", kDayFirst, "DAY(01.01.19000)", 0, 15);
  row("unclosed", kDayFirst, "DAY(1.1.2000", 0, 15);
  row("name-alone", kDayFirst, "DAY", 0, 0);
  row("name-without-paren", kDayFirst, "DAY 5", 0, 5);
  row("no-follower-check", kDayFirst, "DAY(01.01.1900)x", 2, 16);
  row("in-a-sum", kDayFirst, "DAY(1.1.2000)+1", 36527, 0);
  row("mdy-second-january", kMonthFirst, "DAY(1/2/2003)", k1Jan2003 + 1, 0);
  row("mdy-points", kMonthFirst, "DAY(1.2.2003)", k1Jan2003 + 1, 0);
  row("mdy-day-first-fails", kMonthFirst, "DAY(13/1/2003)", 0, 14);
  row("ymd", kYearFirst, "DAY(2003-02-01)", k1Jan2003 + 31, 0);
}

void TestDateText::day() {
  QFETCH(DateSettings, settings);
  NumberedRows rows;
  mdlCalcFunction calc(settings, &rows);
  CheckEvaluation(calc);
}

void TestDateText::dayNumber() {
  QCOMPARE(DayNumber(year{1899} / December / 30), 0);
  QCOMPARE(DayNumber(year{1900} / March / 1), 61);
  QCOMPARE(DayNumber(year{100} / January / 1), -657434);
  QCOMPARE(DayNumber(year{9999} / December / 31), 2958465);
}

QTEST_APPLESS_MAIN(TestDateText)
#include "test_datetext.moc"
