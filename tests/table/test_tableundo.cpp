#include <QClipboard>
#include "calculatorfixture.h"

// Undo and redo of the table: every kind of change is one step that brings back exactly the
// records, the explanation and the digits from before and after it.
class TestTableUndo : public QObject {
  Q_OBJECT
 private slots:
  void init() { m_guard = std::make_unique<ModalGuard>(); }
  void cleanup() { QCOMPARE(m_guard->TakeSeen(), QStringList()); }

  void eachChange_data();
  void eachChange();
  void boxKeepsItsOwnUndo();

 private:
  std::unique_ptr<ModalGuard> m_guard;
};

namespace {

struct Shown {
  std::array<RowRecord, kRecordCount> rows;
  QString explanation;
  QString digits;
  bool operator==(const Shown&) const = default;
};

Shown Capture(const CalculatorFixture& f) {
  return {f.state.rows, f.window.ExplanationField()->text(), f.window.RoundingField()->text()};
}

}  // namespace

void TestTableUndo::eachChange_data() {
  QTest::addColumn<QString>("change");
  QTest::addColumn<int>("focusRow");  // -1: the explanation field, -2: the rounding field
  for (const char* change :
       {"enter", "enter-wrong", "function", "insert", "delete", "new", "recalc", "read", "paste"})
    QTest::newRow(change) << QString::fromLatin1(change)
                          << (QByteArray(change) == "new" || QByteArray(change) == "read" ? 0 : 2);
  QTest::newRow("explanation") << QStringLiteral("explanation") << -1;
  QTest::newRow("digits") << QStringLiteral("digits") << -2;
}

void TestTableUndo::eachChange() {
  QFETCH(QString, change);
  QFETCH(int, focusRow);
  int writes = 0;
  CalculatorFixture f;
  f.FillNumbered();
  f.state.rows[2].SetFormula(u"2*3");  // stored, not yet calculated: 3
  f.window.SetExplanationField(QStringLiteral("Сметка"));
  f.window.MakeScreen();
  f.hooks.tableChanged = [&] { ++writes; };
  f.hooks.readFile = [&] {
    // What the read command does to the table: cleared, then filled from the file.
    const TableSnapshot before = f.window.Snapshot();
    f.state.ClearRows();
    f.state.rows[0].SetFormula(u"7");
    f.window.SetExplanationField(QStringLiteral("От файл"));
    f.window.MakeScreen();
    f.window.RecordTableChange(before, 0);
  };
  const Shown before = Capture(f);
  f.Box(2)->setFocus();

  if (change == "recalc") {
    QTest::keyClick(f.Box(2), Qt::Key_F9);
  } else if (change == "read") {
    QTest::keyClick(f.Box(2), Qt::Key_O, Qt::ControlModifier);
  } else if (change == "paste") {
    f.scripted.AnswerQuestion(true);  // rows 3 and 4 hold formulas
    QGuiApplication::clipboard()->setText(QStringLiteral("40\n50\n"));
    QTest::keyClick(f.Box(2), Qt::Key_V, Qt::ControlModifier);
  } else {
    f.Change(change, 2);
  }
  QCOMPARE(f.window.UndoHistory().count(), 1);
  QCOMPARE(f.window.UndoHistory().undoLimit(), 500);  // far more than the 100 steps a day needs
  const Shown after = Capture(f);
  QVERIFY(after != before);

  QWidget* focused = focusRow >= 0    ? static_cast<QWidget*>(f.Box(focusRow))
                     : focusRow == -1 ? f.window.ExplanationField()
                                      : f.window.RoundingField();
  // Marks, and a step of its own where the pass changes a result.
  f.Click("cmdRecalc");
  const bool recalcStep = f.window.UndoHistory().count() == 2;
  writes = 0;
  f.Box(7)->setFocus();
  if (recalcStep) {
    QTest::keyClick(f.Box(7), Qt::Key_Z, Qt::ControlModifier);
    QVERIFY(Capture(f) == after);
  }
  QTest::keyClick(f.Box(7), Qt::Key_Z, Qt::ControlModifier);
  QVERIFY(Capture(f) == before);
  QCOMPARE(f.Box(3)->text(), QStringLiteral("4"));
  QCOMPARE(f.Result(2), QStringLiteral("3.0000 "));
  QCOMPARE(QApplication::focusWidget(), focused);
  for (int i = 0; i < kVisibleRows; ++i) QCOMPARE(f.window.Mark(i), ResultMark::None);

  QTest::keyClick(QApplication::focusWidget(), Qt::Key_Y, Qt::ControlModifier);
  QVERIFY(Capture(f) == after);
  QCOMPARE(QApplication::focusWidget(), focused);
  f.window.Undo();
  QTest::keyClick(f.Box(5), Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
  QVERIFY(Capture(f) == after);
  QCOMPARE(writes, recalcStep ? 5 : 4);  // every undo and redo is kept for the recovery
}

// A box the user is typing in undoes its own typing; once its row is stored and shown, the
// keys undo the table, and the box has nothing of its own left to undo.
void TestTableUndo::boxKeepsItsOwnUndo() {
  CalculatorFixture f;
  f.Enter(0, QStringLiteral("2+3"));
  QVERIFY(!f.Box(0)->isUndoAvailable());
  f.Box(1)->setFocus();
  QTest::keyClicks(f.Box(1), "7*");
  QTest::keyClick(f.Box(1), Qt::Key_Z, Qt::ControlModifier);
  QCOMPARE(f.Box(1)->text(), QString());  // the typing, as the box groups it
  QCOMPARE(f.Box(0)->text(), QStringLiteral("2+3"));
  QCOMPARE(f.window.UndoHistory().index(), 1);

  // Back in the entered row, Ctrl+Z takes the Enter back, and Ctrl+Y stores it again.
  f.Box(0)->setFocus();
  QTest::keyClick(f.Box(0), Qt::Key_Z, Qt::ControlModifier);
  QCOMPARE(f.Box(0)->text(), QString());
  QVERIFY(f.state.rows[0].IsCleared());
  QTest::keyClick(f.Box(0), Qt::Key_Y, Qt::ControlModifier);
  QCOMPARE(f.Box(0)->text(), QStringLiteral("2+3"));
  QCOMPARE(f.Result(0), QStringLiteral("5.0000 "));
  QTest::keyClick(f.Box(0), Qt::Key_Return);
  QCOMPARE(f.state.rows[0].result, 5.0);
}

QTEST_MAIN(TestTableUndo)
#include "test_tableundo.moc"
