#include <QTest>

#include "calcformula.h"
#include "recalcmarks.h"
#include "rowediting.h"
#include "tablestate.h"

using RowList = QList<int>;

// A result cell that takes 10 characters and leaves 0 blank, as the window's cells do.
const ResultRoom kTenCharacterCell{.fits = [](const QString& text) { return text.size() <= 10; },
                                   .blankZero = true};

// Which results a recalculation marks, judged without a window.
class TestRecalcMarks : public QObject {
  Q_OBJECT
 private slots:
  void marks_data();
  void marks();
  void secondPassStoresNothing();
};

void TestRecalcMarks::marks_data() {
  QTest::addColumn<QStringList>("formulas");  // rows 1..
  QTest::addColumn<int>("correctedRow");      // 1-based, entered as Enter does; 0: none
  QTest::addColumn<QString>("correction");
  QTest::addColumn<int>("passes");  // recalculations after the correction
  QTest::addColumn<int>("digits");
  QTest::addColumn<RowList>("changed");  // 1-based rows
  QTest::addColumn<RowList>("dependsBelow");

  const QStringList ledger{"10", "20", "5", "SUM(2)*2", "7", "SUM(3)+1", "SUM(4)+SUM(1)"};
  QTest::newRow("row 2 corrected moves rows 4 and 7")
      << ledger << 2 << "25" << 1 << 4 << RowList{4, 7} << RowList{};
  QTest::newRow("nothing corrected, nothing marked")
      << ledger << 0 << "" << 1 << 4 << RowList{} << RowList{};
  const QStringList later{"5", "SUM(3)*2", "SUM(1)+1"};
  QTest::newRow("sum of a later row: second mark")
      << later << 1 << "7" << 1 << 4 << RowList{3} << RowList{2};
  QTest::newRow("second recalculation: second mark gone")
      << later << 1 << "7" << 2 << 4 << RowList{2} << RowList{};
  QTest::newRow("range of rows above moves with them")
      << QStringList{"10", "20", "5", "SUM(1:3)"} << 2 << "25" << 1 << 4 << RowList{4} << RowList{};
  QTest::newRow("range reaching a later row: second mark")
      << QStringList{"SUM(2:3)", "5", "SUM(2)+1"} << 2 << "7" << 1 << 4 << RowList{3} << RowList{1};
  QTest::newRow("sum of its own row never settles")
      << QStringList{"SUM(1)+1"} << 0 << "" << 1 << 4 << RowList{} << RowList{1};
  QTest::newRow("change below the shown decimals is not marked")
      << QStringList{"2.4", "SUM(1)*10"} << 1 << "2.41" << 1 << 0 << RowList{} << RowList{};
  QTest::newRow("change within the shown decimals is marked")
      << QStringList{"2.4", "SUM(1)*10"} << 1 << "2.41" << 1 << 2 << RowList{2} << RowList{};
  QTest::newRow("a result going to 0 is a change")
      << QStringList{"3", "SUM(1)-3"} << 1 << "0" << 1 << 4 << RowList{2} << RowList{};
  // Judged by what the cell shows: 1,2346E+30 before and after.
  QTest::newRow("a wide result shown alike is not marked")
      << QStringList{"123456*10^25", "SUM(1)"} << 1 << "123456.1*10^25" << 1 << 4 << RowList{}
      << RowList{};
  QTest::newRow("a wide result shown otherwise is marked")
      << QStringList{"123456*10^25", "SUM(1)"} << 1 << "123470*10^25" << 1 << 4 << RowList{2}
      << RowList{};
}

void TestRecalcMarks::marks() {
  QFETCH(QStringList, formulas);
  QFETCH(int, correctedRow);
  QFETCH(QString, correction);
  QFETCH(int, passes);
  QFETCH(int, digits);
  QFETCH(RowList, changed);
  QFETCH(RowList, dependsBelow);

  TableState state;
  for (int k = 0; k < formulas.size(); ++k)
    state.rows[static_cast<size_t>(k)].SetFormula(formulas[k]);
  mdlCalcFunction evaluator({}, &state);
  RecalculateAll(state, evaluator);
  if (correctedRow > 0) {
    RowRecord& row = state.rows[static_cast<size_t>(correctedRow - 1)];
    row.SetFormula(correction);
    row.result = evaluator.CalcFormula(ToU16(row.Trimmed()));
  }
  RowMarks marks{};
  for (int pass = 0; pass < passes; ++pass) {
    const RecordResults before = ResultsOf(state);
    RecalculateAll(state, evaluator);
    marks = MarkRecalculation(before, ResultsOf(state), SecondPassResults(state, evaluator), digits,
                              u'.', kTenCharacterCell);
  }

  RowList gotChanged;
  RowList gotDepends;
  for (int k = 0; k < kVisibleRows; ++k) {
    if (marks[static_cast<size_t>(k)] == ResultMark::Changed) gotChanged.append(k + 1);
    if (marks[static_cast<size_t>(k)] == ResultMark::DependsBelow) gotDepends.append(k + 1);
  }
  QCOMPARE(gotChanged, changed);
  QCOMPARE(gotDepends, dependsBelow);
}

// The second pass is only looked at: the results, and what SUM reads afterwards, stay.
void TestRecalcMarks::secondPassStoresNothing() {
  TableState state;
  state.rows[0].SetFormula(u"SUM(2)+1");
  state.rows[1].SetFormula(u"4");
  mdlCalcFunction evaluator({}, &state);
  RecalculateAll(state, evaluator);
  QCOMPARE(state.rows[0].result, 1.0);

  const RecordResults second = SecondPassResults(state, evaluator);
  QCOMPARE(second[0], 5.0);
  QCOMPARE(state.rows[0].result, 1.0);
  QCOMPARE(state.rows[1].result, 4.0);
  // The evaluator reads the table's own results again.
  QCOMPARE(evaluator.CalcFormula(u"SUM(1)"), 1.0);
}

QTEST_GUILESS_MAIN(TestRecalcMarks)
#include "test_recalcmarks.moc"
