#include <QFrame>

#include "calculatorfixture.h"

// The row commands: recalculation, delete and insert.
class TestRowCommands : public QObject {
  Q_OBJECT
 private slots:
  void init() { m_guard = std::make_unique<ModalGuard>(); }
  void cleanup() { QCOMPARE(m_guard->TakeSeen(), QStringList()); }

  void recalculation();
  void deleteOrInsert_data();
  void deleteOrInsert();
  void noCurrentRow();

 private:
  std::unique_ptr<ModalGuard> m_guard;
};

void TestRowCommands::recalculation() {
  CalculatorFixture f;
  f.state.rows[0].SetFormula(u"SUM(2)");  // the row below: its result before this pass
  f.state.rows[1].SetFormula(u"5");
  f.state.rows[2].SetFormula(u"SUM(2)*2");  // the row above: its new result
  f.state.rows[3].SetFormula(u"SUM(26)");   // the hidden record
  f.state.rows[4].SetFormula(u"2+3)");      // wrong: stored silently with its value
  f.state.rows[5].result = 99;              // a cleared record evaluates to 0
  f.state.rows[kHiddenRecord].SetFormula(u"3");
  f.state.rows[26].result = 1;  // never evaluated

  f.Click("cmdRecalc");
  const double first[] = {0, 5, 10, 0, 5, 0};
  for (int k = 0; k < 6; ++k) QCOMPARE(f.state.rows[k].result, first[k]);
  QCOMPARE(f.state.rows[kHiddenRecord].result, 3.0);
  QCOMPARE(f.state.rows[26].result, 1.0);
  QCOMPARE(f.Result(2), QStringLiteral("10.0000 "));
  QCOMPARE(f.Result(5), QString());

  f.Click("cmdRecalc");
  QCOMPARE(f.state.rows[0].result, 5.0);
  QCOMPARE(f.state.rows[3].result, 3.0);
  QCOMPARE(f.Result(0), QStringLiteral("5.0000 "));
  QVERIFY(f.scripted.Log().isEmpty());
}

// Records 0..25 hold 1..26. A deleted row takes the records below it up and blanks the hidden
// record; an inserted one is blank and pushes the last row into the hidden record.
void TestRowCommands::deleteOrInsert_data() {
  QTest::addColumn<QString>("button");
  QTest::addColumn<int>("row");
  QTest::addColumn<bool>("ok");        // the answer to the delete question
  QTest::addColumn<int>("shift");      // the records from the row on now hold those `shift` later
  QTest::addColumn<QString>("shown");  // the row's box after the command
  QTest::addColumn<QString>("last");   // the box of row 25
  // clang-format off
  QTest::newRow("delete first") << "cmdDel" << 0 << true << 1 << "2" << "26";
  QTest::newRow("delete fifth") << "cmdDel" << 4 << true << 1 << "6" << "26";
  QTest::newRow("delete fifth, cancelled") << "cmdDel" << 4 << false << 0 << "5" << "25";
  QTest::newRow("delete last, the hidden shown") << "cmdDel" << 24 << true << 1 << "26" << "26";
  QTest::newRow("insert first") << "cmdInsert" << 0 << true << -1 << "" << "24";
  QTest::newRow("insert fifth") << "cmdInsert" << 4 << true << -1 << "" << "24";
  // clang-format on
}

void TestRowCommands::deleteOrInsert() {
  QFETCH(QString, button);
  QFETCH(int, row);
  QFETCH(bool, ok);
  QFETCH(int, shift);
  ProbeDialogs dialogs;
  CalculatorFixture f(&dialogs);
  f.FillNumbered();
  QStringList asked;
  dialogs.onQuestion = [&](const QString& text, const QString& title) {
    asked << text;
    if (f.Box(row)->palette().color(QPalette::Base) != kRed ||
        f.window.ResultLabel(row)->palette().color(QPalette::Window) != kRed || !title.isEmpty())
      asked << QStringLiteral("not red or titled");
    return ok;
  };
  f.Box(row)->setFocus();
  f.Click(qPrintable(button));
  QCOMPARE(asked, button == u"cmdDel" ? QStringList{QStringLiteral("Изтрива ред %1 ?").arg(row + 1)}
                                      : QStringList());
  for (int k = 0; k <= kHiddenRecord; ++k) {
    const int from = k < row ? k : k + shift;  // the record that was here before
    const bool blank = (shift < 0 && k == row) || from > kHiddenRecord;
    QCOMPARE(f.state.rows[k].result, blank ? 0.0 : double(from + 1));
  }
  if (shift != 0)
    QCOMPARE(f.state.rows[shift > 0 ? kHiddenRecord : row].formula, QString(kFormulaWidth, u' '));
  QTEST(f.Box(row)->text(), "shown");
  QTEST(f.Box(24)->text(), "last");
  QCOMPARE(f.window.ResultLabel(row)->palette().color(QPalette::Window), kWhite);
  QCOMPARE(QApplication::focusWidget(), f.Box(row));
  QCOMPARE(f.BoxColour(row), kYellow);
  QCOMPARE(f.window.CurrentRow(), row);
}

void TestRowCommands::noCurrentRow() {
  CalculatorFixture f;
  f.Enter(2, QStringLiteral("12"));
  // A caption label on the panel takes its own click: the row stays current.
  for (const char* label : {"Label3", "Label4"}) {
    f.Box(2)->setFocus();
    QTest::mouseClick(f.window.findChild<QLabel*>(QLatin1String(label)), Qt::LeftButton);
    QCOMPARE(f.window.CurrentRow(), 2);
  }
  f.Box(2)->setFocus();
  QTest::mouseClick(f.window.ButtonPanel(), Qt::LeftButton, {}, QPoint(5, 5));
  QCOMPARE(f.window.CurrentRow(), -1);
  QCOMPARE(f.BoxColour(2), kWhite);
  f.Click("cmdDel");
  f.Click("cmdInsert");
  f.Click("cmdSin");
  QVERIFY(f.scripted.Log().isEmpty());
  QCOMPARE(f.Box(2)->text(), QStringLiteral("12"));
  QCOMPARE(f.state.rows[2].Trimmed(), QStringLiteral("12"));
  QVERIFY(f.state.rows[3].IsCleared());
  QCOMPARE(f.window.CurrentRow(), -1);
  // A second click changes nothing; a formula box that gets the focus is current again.
  QTest::mouseClick(f.window.ButtonPanel(), Qt::LeftButton, {}, QPoint(5, 5));
  QCOMPARE(f.window.CurrentRow(), -1);
  f.Box(6)->setFocus();
  QCOMPARE(f.window.CurrentRow(), 6);
}

QTEST_MAIN(TestRowCommands)
#include "test_rowcommands.moc"
