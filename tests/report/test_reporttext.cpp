#include <QTest>
#include <limits>

#include "reporttext.h"
#include "tablestate.h"

namespace {

struct Row {
  int record;
  QString formula;
  double result;
};

TableState TableOf(const QList<Row>& rows) {
  TableState state;
  for (const Row& row : rows) {
    state.rows[static_cast<size_t>(row.record)].SetFormula(row.formula);
    state.rows[static_cast<size_t>(row.record)].result = row.result;
  }
  return state;
}

// The report's lines without their CR LF; fails when a line is not ended by CR LF.
QStringList LinesOf(const QString& report) {
  if (!report.endsWith(QStringLiteral("\r\n"))) return {QStringLiteral("<no final CR LF>")};
  QStringList lines = report.split(QStringLiteral("\r\n"));
  lines.removeLast();
  for (const QString& line : lines)
    if (line.contains(u'\r') || line.contains(u'\n')) return {QStringLiteral("<bare line end>")};
  return lines;
}

QString Rule(int width) {
  return QString(width, QChar(0x2014));
}

// A listed row of the narrowest table: number in 3, two blanks, name in 30, result in 15, blank.
QString RowLine(int number, const QString& formula, const QString& result) {
  return QString::number(number).rightJustified(3, u' ') + QStringLiteral("  ") +
         formula.leftJustified(30, u' ') + result.rightJustified(15, u' ') + u' ';
}

}  // namespace

class TestReportText : public QObject {
  Q_OBJECT
 private slots:
  void workedExample();
  void rows_data();
  void rows();
  void frame_data();
  void frame();
  void title_data();
  void title();
};

void TestReportText::workedExample() {
  TableState state =
      TableOf({{0, QStringLiteral("2+3*4"), 14}, {2, QStringLiteral("SQR(2)"), 1.4142135623731}});
  const QString expected = QString::fromUtf16(
      u"                       Пример\r\n"
      u"————————————————————————————————————————————————————\r\n"
      u"|No:|  Наименование на параметъра  |      Сума     |\r\n"
      u"————————————————————————————————————————————————————\r\n"
      u"  1  2+3*4                                   14.00 \r\n"
      u"  2  SQR(2)                                   1.41 \r\n"
      u"————————————————————————————————————————————————————\r\n");
  state.roundingDigits = 2;
  QCOMPARE(ComposeTableReport(state, QStringLiteral("Пример"), u'.'), expected);
}

// Which rows are listed, how they are numbered and how their results are written.
void TestReportText::rows_data() {
  QTest::addColumn<QList<Row>>("table");
  QTest::addColumn<int>("digits");
  QTest::addColumn<QStringList>("expected");  // the row lines, trailing blanks included

  QTest::addColumn<QChar>("decimalPoint");

  const QChar dot = u'.';
  QTest::newRow("empty table") << QList<Row>{} << 4 << QStringList{} << dot;
  QTest::newRow("rows 3 and 7 numbered 1 and 2")
      << QList<Row>{{2, QStringLiteral("1+1"), 2}, {6, QStringLiteral("7"), 7}} << 0
      << QStringList{RowLine(1, "1+1", "2"), RowLine(2, "7", "7")} << dot;
  QTest::newRow("leading blank hides the row")
      << QList<Row>{{0, QStringLiteral(" 5"), 5}, {1, QStringLiteral("6"), 6}} << 0
      << QStringList{RowLine(1, "6", "6")} << dot;
  QTest::newRow("emptied record skipped")
      << QList<Row>{{0, QString(), 0}, {1, QStringLiteral("6"), 6}} << 0
      << QStringList{RowLine(1, "6", "6")} << dot;
  QTest::newRow("hidden row 25 listed") << QList<Row>{{25, QStringLiteral("SUM(1)"), -3.5}} << 1
                                        << QStringList{RowLine(1, "SUM(1)", "-3.5")} << dot;
  QTest::newRow("rounding 0 half away from zero")
      << QList<Row>{{0, QStringLiteral("5/2"), 2.5}, {1, QStringLiteral("-5/2"), -2.5}} << 0
      << QStringList{RowLine(1, "5/2", "3"), RowLine(2, "-5/2", "-3")} << dot;
  // One row, formula "x": how its result is written in the 15-character column.
  const auto result = [](const char* tag, double value, int digits, const char* text,
                         QChar point = u'.') {
    QTest::newRow(tag) << QList<Row>{{0, QStringLiteral("x"), value}} << digits
                       << QStringList{RowLine(1, "x", QString::fromUtf8(text))} << point;
  };
  result("zero result is printed", 0, 2, "0.00");
  result("comma decimal point", 0.25, 2, "0,25", u',');
  result("rounding 15 cut to 15 characters", 1234.5, 15, "1234.5000000000");
  result("decimals that do not fit are cut", 12345678901.12369, 4, "12345678901.123");
  result("the cut may end at the point", -1234567890123.56, 2, "-1234567890123.");
  result("a whole part of 15 is kept whole", 123456789012345.0, 2, "123456789012345");
  result("whole part too wide: exponent form", 1e20, 2, "1.00E+20");
  result("10^30", 1e30, 4, "1,0000E+30", u',');
  result("10^15+0.3", 1e15 + 0.3, 4, "1.0000E+15");
  result("2^53+1", 9007199254740993.0, 4, "9.0072E+15");
  result("-(10^25)", -1e25, 4, "-1.0000E+25");
  result("15 decimals: mantissa as wide as fits", 1e20 / 3, 15, "3.333333333E+19");
  result("infinity as the table shows it", std::numeric_limits<double>::infinity(), 4, "∞");
  result("not a number as the table shows it", std::numeric_limits<double>::quiet_NaN(), 4,
         "не е число");

  QList<Row> many;
  QStringList manyLines;
  for (int i = 0; i < 12; ++i) {
    many.append({i, QStringLiteral("1"), 1});
    manyLines.append(RowLine(i + 1, "1", "1"));
  }
  QTest::newRow("two-digit numbers right-aligned") << many << 0 << manyLines << dot;
}

void TestReportText::rows() {
  QFETCH(QList<Row>, table);
  QFETCH(int, digits);
  QFETCH(QStringList, expected);
  QFETCH(QChar, decimalPoint);
  TableState state = TableOf(table);
  state.roundingDigits = digits;
  const QStringList lines = LinesOf(ComposeTableReport(state, QString(), decimalPoint));
  QCOMPARE(lines.size(), 5 + expected.size());
  QCOMPARE(lines.mid(4, expected.size()), expected);
  QCOMPARE(lines.back(), Rule(52));
}

// The width of the name column follows the longest listed formula, 30 at least.
void TestReportText::frame_data() {
  QTest::addColumn<QList<Row>>("table");
  QTest::addColumn<int>("width");  // T

  QTest::newRow("empty") << QList<Row>{} << 52;
  QTest::newRow("29 characters") << QList<Row>{{0, QString(29, u'1'), 1}} << 52;
  QTest::newRow("40 characters") << QList<Row>{{3, QString(40, u'2'), 1}} << 62;
  QTest::newRow("blanks around do not count")
      << QList<Row>{{0, QString(35, u'3') + QString(10, u' '), 1}} << 57;
  QTest::newRow("hidden row's leading blank still counts")
      << QList<Row>{{25, QStringLiteral("   ") + QString(44, u'4'), 1}} << 66;
  QTest::newRow("full 255 characters") << QList<Row>{{1, QString(255, u'5'), 1}} << 277;
}

void TestReportText::frame() {
  QFETCH(QList<Row>, table);
  QFETCH(int, width);
  const TableState state = TableOf(table);
  const QStringList lines = LinesOf(ComposeTableReport(state, QString(), u'.'));
  const int nameWidth = width - 22;
  QCOMPARE(lines.value(1), Rule(width));
  QCOMPARE(lines.value(3), Rule(width));
  QCOMPARE(lines.back(), Rule(width));
  const QString header = lines.value(2);
  QCOMPARE(header.size(), width);
  QVERIFY(header.startsWith(QStringLiteral("|No:|  Наименование на параметъра")));
  QVERIFY(header.endsWith(QStringLiteral("|      Сума     |")));
  QCOMPARE(header.mid(5, nameWidth).trimmed(), QStringLiteral("Наименование на параметъра"));
  for (const QString& line : lines.mid(4, lines.size() - 5)) {
    QCOMPARE(line.size(), width - 1);
    QCOMPARE(line.mid(5, nameWidth).size(), nameWidth);
  }
}

void TestReportText::title_data() {
  QTest::addColumn<QString>("title");
  QTest::addColumn<QString>("line");

  // The table is 52 wide here.
  QTest::newRow("empty") << QString() << QString(26, u' ');
  QTest::newRow("blanks only") << QStringLiteral("    ") << QString(26, u' ');
  QTest::newRow("difference 46") << QStringLiteral("Пример") << QString(23, u' ') + "Пример";
  QTest::newRow("difference 5 rounds down to 2") << QString(47, u'а') << "  " + QString(47, u'а');
  QTest::newRow("difference 7 rounds up to 4") << QString(45, u'б') << "    " + QString(45, u'б');
  QTest::newRow("difference 1 rounds down to 0") << QString(51, u'в') << QString(51, u'в');
  QTest::newRow("difference 3 rounds up to 2") << QString(49, u'г') << "  " + QString(49, u'г');
  QTest::newRow("blanks around are dropped")
      << QStringLiteral("  Сметка  ") << QString(23, u' ') + "Сметка";
  QTest::newRow("inner blanks kept") << QStringLiteral("а  б") << QString(24, u' ') + "а  б";
  QTest::newRow("as wide as the table") << QString(52, u'д') << QString(52, u'д');
  QTest::newRow("wider than the table") << QString(70, u'е') << QString(70, u'е');
}

void TestReportText::title() {
  QFETCH(QString, title);
  QFETCH(QString, line);
  QCOMPARE(LinesOf(ComposeTableReport(TableState(), title, u'.')).value(0), line);
}

QTEST_GUILESS_MAIN(TestReportText)
#include "test_reporttext.moc"
