#include <QTest>

#include "calcformula.h"
#include "clipboardtext.h"
#include "rowediting.h"
#include "tablestate.h"

class TestClipboardText : public QObject {
  Q_OBJECT
 private slots:
  void pastedLine_data();
  void pastedLine();
  void pasteColumn_data();
  void pasteColumn();
  void tableText_data();
  void tableText();
};

namespace {

const QLocale kBulgarian(QLocale::Bulgarian, QLocale::Bulgaria);
const QLocale kEnglish(QLocale::English, QLocale::UnitedStates);

}  // namespace

void TestClipboardText::pastedLine_data() {
  QTest::addColumn<QLocale>("locale");
  QTest::addColumn<QString>("line");
  QTest::addColumn<QString>("formula");

  const QLocale bg = kBulgarian;
  QTest::newRow("bg-blank-groups") << bg << "1 250,50"
                                   << "1250.50";
  QTest::newRow("bg-no-break-groups") << bg << "1\u00a0250,50"
                                      << "1250.50";
  QTest::newRow("bg-narrow-groups") << bg << "12\u202f345\u202f678,9"
                                    << "12345678.9";
  QTest::newRow("bg-point-groups") << bg << "1.250,50"
                                   << "1250.50";
  QTest::newRow("bg-two-point-groups") << bg << "1.250.000"
                                       << "1250000";
  QTest::newRow("bg-lone-point-group-left") << bg << "1.250"
                                            << "1.250";
  QTest::newRow("bg-decimal-comma") << bg << "120,50"
                                    << "120.50";
  QTest::newRow("bg-point-left") << bg << "80.25"
                                 << "80.25";
  QTest::newRow("bg-minus") << bg << "-1 250,50"
                            << "-1250.50";
  QTest::newRow("bg-brackets") << bg << "(1 250,50)"
                               << "-1250.50";
  QTest::newRow("bg-lev-point") << bg << "1 250,50 лв."
                                << "1250.50";
  QTest::newRow("bg-lev") << bg << "1250,5лв"
                          << "1250.5";
  QTest::newRow("bg-brackets-lev") << bg << " (80,25 лв.) "
                                   << "-80.25";
  QTest::newRow("bg-line-end") << bg << "1 250,50\r\n"
                               << "1250.50";
  QTest::newRow("bg-short-group-left") << bg << "1 25,50"
                                       << "1 25,50";
  QTest::newRow("bg-mixed-marks-left") << bg << "1 250.000,5"
                                       << "1 250.000,5";
  QTest::newRow("bg-text") << bg << "Наем"
                           << "Наем";
  QTest::newRow("bg-formula") << bg << "SUM(1)*2"
                              << "SUM(1)*2";
  QTest::newRow("bg-cells-figure-comment") << bg << "Наем\t1 250,50"
                                           << "1250.50 'Наем";
  QTest::newRow("bg-cells-plain-figure") << bg << "Ток\t80.25\t"
                                         << "80.25 'Ток";
  QTest::newRow("bg-cells-two-comments") << bg << "Наем\tмарт\t(1 250,50)"
                                         << "-1250.50 'Наем март";
  QTest::newRow("bg-cells-figure-only") << bg << "\t1 250,50\t"
                                        << "1250.50";
  QTest::newRow("bg-cells-two-figures") << bg << "1 250,50\t80,25"
                                        << "1 250,50 80,25";
  QTest::newRow("bg-cells-no-figure") << bg << "Наем\tмарт"
                                      << "Наем март";
  QTest::newRow("control-characters") << bg << QStringLiteral("1+2\u0000+3\u007f") << "1+2 +3 ";
  QTest::newRow("line-ends-inside") << bg << "1\r\n2\n3\r4\u2028"
                                    << "1 2 3 4 ";
  QTest::newRow("trailing-line-end") << bg << "5*2\n"
                                     << "5*2";

  const QLocale en = kEnglish;
  QTest::newRow("en-comma-groups") << en << "1,250.50"
                                   << "1250.50";
  QTest::newRow("en-dollar") << en << "$1,250"
                             << "1250";
  QTest::newRow("en-brackets") << en << "(1,250.50)"
                               << "-1250.50";
  QTest::newRow("en-point") << en << "1.250"
                            << "1.250";
  QTest::newRow("en-comma-short-group-left") << en << "1,25"
                                             << "1,25";
  QTest::newRow("en-decimal-comma-left") << en << "1 250,50"
                                         << "1 250,50";
  QTest::newRow("en-cells") << en << "Rent\t1,250.50"
                            << "1250.50 'Rent";
}

void TestClipboardText::pastedLine() {
  QFETCH(QLocale, locale);
  QFETCH(QString, line);
  QFETCH(QString, formula);
  QCOMPARE(PastedLineFormula(line, locale), formula);
}

void TestClipboardText::pasteColumn_data() {
  QTest::addColumn<QString>("text");
  QTest::addColumn<int>("row");
  QTest::addColumn<QStringList>("formulas");  // the filled rows afterwards
  QTest::addColumn<QList<double>>("results");
  QTest::addColumn<int>("overwritten");
  QTest::addColumn<int>("leftOut");
  QTest::addColumn<int>("next");
  QTest::addColumn<QList<int>>("wrong");

  // Rows 2 and 3 hold "7" before each paste.
  QTest::newRow("calc-column") << "120,50\r\n80.25\r\n1 250,75\r\n"
                               << 0 << QStringList{"120.50", "80.25", "1250.75"}
                               << QList<double>{120.5, 80.25, 1250.75} << 2 << 0 << 3
                               << QList<int>{};
  QTest::newRow("blank-line-keeps-place") << "1\n\n3" << 5 << QStringList{"1", "", "3"}
                                          << QList<double>{1, 0, 3} << 0 << 0 << 8 << QList<int>{};
  QTest::newRow("cr-lines") << "4\r5\r" << 10 << QStringList{"4", "5"} << QList<double>{4, 5} << 0
                            << 0 << 12 << QList<int>{};
  QTest::newRow("past-row-25") << "1\n2\n3\n4\n"
                               << 23 << QStringList{"1", "2"} << QList<double>{1, 2} << 0 << 2 << 24
                               << QList<int>{};
  QTest::newRow("wrong-line-stored")
      << "Наем\t1 250,50\nНаем" << 1 << QStringList{"1250.50 'Наем", "Наем"}
      << QList<double>{1250.5, 7} << 2 << 0 << 3 << QList<int>{2};
  QTest::newRow("nothing") << "" << 4 << QStringList{} << QList<double>{} << 0 << 0 << 4
                           << QList<int>{};
}

void TestClipboardText::pasteColumn() {
  QFETCH(QString, text);
  QFETCH(int, row);
  QFETCH(QStringList, formulas);
  QFETCH(QList<double>, results);
  QFETCH(int, overwritten);
  QFETCH(int, leftOut);
  QFETCH(int, next);
  QFETCH(QList<int>, wrong);

  TableState state;
  for (int k : {1, 2}) {
    state.rows[static_cast<size_t>(k)].SetFormula(u"7");
    state.rows[static_cast<size_t>(k)].result = 7;
  }
  QStringList pasted = PastedLines(text);
  for (QString& line : pasted) line = PastedLineFormula(line, kBulgarian);
  const PastePlan plan = PlanPaste(state, row, static_cast<int>(pasted.size()));
  QCOMPARE(plan.rowsOverwritten, overwritten);
  QCOMPARE(plan.linesLeftOut, leftOut);
  QCOMPARE(plan.NextRow(), next);

  mdlCalcFunction evaluator;
  QCOMPARE(PasteFormulas(state, plan, pasted, evaluator), wrong);
  QCOMPARE(plan.rowsFilled, formulas.size());
  for (int i = 0; i < formulas.size(); ++i) {
    const RowRecord& record = state.rows[static_cast<size_t>(row + i)];
    QCOMPARE(record.DisplayText(), formulas[i]);
    QCOMPARE(record.result, results[i]);
  }
}

void TestClipboardText::tableText_data() {
  QTest::addColumn<QString>("kind");
  QTest::addColumn<bool>("empty");
  QTest::addColumn<QString>("expected");

  QTest::newRow("plain-comma") << "plain," << false
                               << "1\t25+65\t90,00\n2\t\t\n3\tSUM(1)/7\t12,86\n"
                                  "4\t[SUM(1)<100,1,0]\t1,00\n5\t5-5\t\n";
  QTest::newRow("plain-point") << "plain." << false
                               << "1\t25+65\t90.00\n2\t\t\n3\tSUM(1)/7\t12.86\n"
                                  "4\t[SUM(1)<100,1,0]\t1.00\n5\t5-5\t\n";
  QTest::newRow("html") << "html," << false
                        << "<html><head><meta charset=\"utf-8\"></head><body><table>\n"
                           "<caption>Наем &amp; &lt;ток&gt;</caption>\n"
                           "<tr><td>1</td><td>25+65</td><td>90,00</td></tr>\n"
                           "<tr><td>2</td><td></td><td></td></tr>\n"
                           "<tr><td>3</td><td>SUM(1)/7</td><td>12,86</td></tr>\n"
                           "<tr><td>4</td><td>[SUM(1)&lt;100,1,0]</td><td>1,00</td></tr>\n"
                           "<tr><td>5</td><td>5-5</td><td></td></tr>\n"
                           "</table></body></html>\n";
  QTest::newRow("tsv-3-decimals") << "tsv" << false
                                  << "1\t25+65\t90.000\n2\t\t\n3\tSUM(1)/7\t12.857\n"
                                     "4\t[SUM(1)<100,1,0]\t1.000\n5\t5-5\t0.000\n";
  QTest::newRow("plain-empty-table") << "plain," << true << "";
  QTest::newRow("html-empty-table") << "html," << true
                                    << "<html><head><meta charset=\"utf-8\"></head><body>"
                                       "<table>\n</table></body></html>\n";
}

void TestClipboardText::tableText() {
  QFETCH(QString, kind);
  QFETCH(bool, empty);
  QFETCH(QString, expected);

  TableState state;
  if (!empty) {
    state.explanation = QStringLiteral("Наем & <ток>");
    state.rows[0].SetFormula(u"25+65");
    state.rows[1].Empty();
    state.rows[2].SetFormula(u"SUM(1)/7");
    state.rows[3].SetFormula(u"[SUM(1)<100,1,0]");
    state.rows[4].SetFormula(u"5-5");
    state.rows[kHiddenRecord].SetFormula(u"99");  // not shown, not copied
    mdlCalcFunction evaluator;
    RecalculateAll(state, evaluator);
  }
  state.roundingDigits = 2;
  const QChar point = kind.back();
  if (kind.startsWith(u"plain"))
    QCOMPARE(TableAsPlainText(state, point), expected);
  else if (kind.startsWith(u"html"))
    QCOMPARE(TableAsHtml(state, point), expected);
  else
    QCOMPARE(TableAsTsv(state, 3), expected);
}

QTEST_GUILESS_MAIN(TestClipboardText)
#include "test_clipboardtext.moc"
