#include <QTest>

#include "clipboardtext.h"
#include "tablestate.h"

class TestClipboardText : public QObject {
  Q_OBJECT
 private slots:
  void pastedLine_data();
  void pastedLine();
  void pasteThenCopy_data();
  void pasteThenCopy();
};

void TestClipboardText::pastedLine_data() {
  QTest::addColumn<QLocale>("locale");
  QTest::addColumn<QString>("line");
  QTest::addColumn<QString>("formula");
  const QLocale bg(QLocale::Bulgarian, QLocale::Bulgaria),
      en(QLocale::English, QLocale::UnitedStates);
  const auto Row = [](const char* name, const QLocale& locale, const QString& line,
                      const QString& formula) { QTest::newRow(name) << locale << line << formula; };
  Row("bg-blank-groups", bg, "1 250,50", "1250.50");
  Row("bg-no-break-groups", bg, "12\u00a0345\u202f678,9", "12345678.9");
  Row("bg-point-groups", bg, "1.250.000,5", "1250000.5");
  Row("bg-lone-point-group", bg, "1.250", "1.250");
  Row("bg-brackets", bg, "(1 250,50)", "-1250.50");
  Row("bg-minus-lev-point", bg, "-1 250,50 лв.", "-1250.50");
  Row("bg-brackets-lev", bg, " (80,25лв) \r\n", "-80.25");
  Row("bg-short-group", bg, "1 25,50", "1 25,50");
  Row("bg-cells-figure", bg, "Наем\t1 250,50", "1250.50 'Наем");
  Row("bg-cells-point-figure", bg, "Ток\tмарт\t80.25\t", "80.25 'Ток март");
  Row("bg-cells-two-figures", bg, "1 250,50\t80,25", "1 250,50 80,25");
  Row("bg-cells-no-figure", bg, "Наем\tмарт", "Наем март");
  Row("control-characters", bg, QStringLiteral("1\r\n2\n3\r4\u2028+\u0000\u007f"), "1 2 3 4 +  ");
  Row("en-comma-groups", en, "1,250.50", "1250.50");
  Row("en-decimal-comma", en, "1 250,50", "1 250,50");
}

void TestClipboardText::pastedLine() {
  QFETCH(QLocale, locale);
  QFETCH(QString, line);
  QFETCH(QString, formula);
  QCOMPARE(PastedLineFormula(line, locale), formula);
}

// Pasted into a table whose row 2 holds 7: "plan" gives overwritten, left out, next row.
void TestClipboardText::pasteThenCopy_data() {
  QTest::addColumn<QString>("text");
  QTest::addColumn<int>("row");
  QTest::addColumn<QString>("kind");
  QTest::addColumn<QString>("expected");
  const QString cells = "Наем\t1 250,50\n\n[1<2,5,6]\n5-5";
  const auto Row = [](const char* name, const QString& text, int row, const char* kind,
                      const QString& expected) {
    QTest::newRow(name) << text << row << QString(kind) << expected;
  };
  Row("cells-tsv", cells, 0, "tsv",
      "1\t1250.50 'Наем\t1250.500\n2\t\t\n3\t[1<2,5,6]\t5.000\n4\t5-5\t0.000\n");
  Row("cells-html", cells, 0, "html",
      "<html><head><meta charset=\"utf-8\"></head><body><table>\n"
      "<caption>Наем &amp; &lt;ток&gt;</caption>\n"
      "<tr><td>1</td><td>1250.50 'Наем</td><td>1250,50</td></tr>\n"
      "<tr><td>2</td><td></td><td></td></tr>\n"
      "<tr><td>3</td><td>[1&lt;2,5,6]</td><td>5,00</td></tr>\n"
      "<tr><td>4</td><td>5-5</td><td></td></tr>\n"
      "</table></body></html>\n");
  Row("blank-lines-plain", "\r\r4", 1, "plain", "1\t\t\n2\t\t\n3\t\t\n4\t4\t4,00\n");
  Row("past-row-25-plan", "1\n2\n3\n", 23, "plan", "0 1 24");
  Row("emptied-table-plain", "\n", 1, "plain", "");
}

void TestClipboardText::pasteThenCopy() {
  QFETCH(QString, text);
  QFETCH(int, row);
  QFETCH(QString, kind);
  QFETCH(QString, expected);
  TableState state;
  state.explanation = QStringLiteral("Наем & <ток>");
  state.roundingDigits = 2;
  state.rows[1].SetFormula(u"7");
  state.rows[kHiddenRecord].SetFormula(u"99");  // not shown, so never copied

  QStringList formulas = PastedLines(text);
  for (QString& line : formulas) line = PastedLineFormula(line, QLocale(QLocale::Bulgarian));
  const PastePlan plan = PlanPaste(state, row, static_cast<int>(formulas.size()));
  mdlCalcFunction evaluator;
  QVERIFY(PasteFormulas(state, plan, formulas, evaluator).isEmpty());

  if (kind == u"plan")
    QCOMPARE(QString::asprintf("%d %d %d", plan.rowsOverwritten, plan.linesLeftOut, plan.NextRow()),
             expected);
  else if (kind == u"plain")
    QCOMPARE(TableAsPlainText(state, u','), expected);
  else if (kind == u"html")
    QCOMPARE(TableAsHtml(state, u','), expected);
  else
    QCOMPARE(TableAsTsv(state, 3), expected);
}

QTEST_GUILESS_MAIN(TestClipboardText)
#include "test_clipboardtext.moc"
