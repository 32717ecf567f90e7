#include <QFrame>

#include "calculatorfixture.h"

// The row commands: recalculation, delete, insert and new table.
class TestRowCommands : public QObject {
  Q_OBJECT
 private slots:
  void init() { m_guard = std::make_unique<ModalGuard>(); }
  void cleanup() { QCOMPARE(m_guard->TakeSeen(), QStringList()); }

  void recalculation();
  void deleteRow_data();
  void deleteRow();
  void insertRow();
  void noCurrentRow();
  void newTable_data();
  void newTable();

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

void TestRowCommands::deleteRow_data() {
  QTest::addColumn<int>("row");
  QTest::addColumn<bool>("ok");
  QTest::newRow("first-ok") << 0 << true;
  QTest::newRow("fifth-ok") << 4 << true;
  QTest::newRow("fifth-cancel") << 4 << false;
  QTest::newRow("last-ok-shows-hidden") << 24 << true;
}

void TestRowCommands::deleteRow() {
  QFETCH(int, row);
  QFETCH(bool, ok);
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
  f.Click("cmdDel");
  QCOMPARE(asked, QStringList{QStringLiteral("Изтрива ред %1 ?").arg(row + 1)});
  for (int k = 0; k <= kHiddenRecord; ++k) {
    const int expected = !ok || k < row ? k + 1 : (k == kHiddenRecord ? 0 : k + 2);
    QCOMPARE(f.state.rows[k].result, double(expected));
  }
  if (ok) QCOMPARE(f.state.rows[kHiddenRecord].formula, QString(kFormulaWidth, u' '));
  QCOMPARE(f.Box(row)->text(), QString::number(ok ? row + 2 : row + 1));
  QCOMPARE(f.window.ResultLabel(row)->palette().color(QPalette::Window), kWhite);
  QCOMPARE(QApplication::focusWidget(), f.Box(row));
  QCOMPARE(f.BoxColour(row), kYellow);
  QCOMPARE(f.window.CurrentRow(), row);
}

void TestRowCommands::insertRow() {
  CalculatorFixture f;
  f.FillNumbered();
  f.Box(0)->setFocus();
  f.Click("cmdInsert");
  QCOMPARE(f.state.rows[0].formula, QString(kFormulaWidth, u' '));
  QCOMPARE(f.state.rows[0].result, 0.0);
  for (int k = 1; k <= kHiddenRecord; ++k) QCOMPARE(f.state.rows[k].result, double(k));
  QCOMPARE(f.Box(0)->text(), QString());
  QCOMPARE(f.Box(24)->text(), QStringLiteral("24"));
  QCOMPARE(f.state.rows[kHiddenRecord].Trimmed(), QStringLiteral("25"));
  QCOMPARE(QApplication::focusWidget(), f.Box(0));
  QVERIFY(f.scripted.Log().isEmpty());

  // The row pushed into the hidden record comes back when a row above it is deleted.
  f.scripted.AnswerQuestion(true);
  f.Click("cmdDel");
  QCOMPARE(f.Box(24)->text(), QStringLiteral("25"));
  QCOMPARE(f.Result(24), QStringLiteral("25.0000 "));
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

void TestRowCommands::newTable_data() {
  QTest::addColumn<bool>("ok");
  QTest::newRow("ok") << true;
  QTest::newRow("cancel") << false;
}

void TestRowCommands::newTable() {
  QFETCH(bool, ok);
  CalculatorFixture f;
  f.Enter(0, QStringLiteral("2"));
  f.state.rows[kHiddenRecord].SetFormula(u"9");
  f.state.rows[26].result = 4;
  f.state.lastFileName = QStringLiteral("A.SPR");
  f.window.SetExplanationField(QStringLiteral("Сметка"));
  f.window.RoundingField()->setText(QStringLiteral("2"));
  f.Box(5)->setFocus();

  f.scripted.AnswerQuestion(ok);
  f.Click("cmdNew");
  const auto asked = f.scripted.Of(QStringLiteral("question"));
  QCOMPARE(asked.size(), 1);
  QCOMPARE(asked[0].text, QStringLiteral("Изчиства таблицата?"));
  QCOMPARE(asked[0].title, QString());
  for (int k = 0; k < kRecordCount; ++k)
    QCOMPARE(f.state.rows[k].IsCleared(), ok || (k > 0 && k != kHiddenRecord));
  QCOMPARE(f.state.rows[26].result, ok ? 0.0 : 4.0);
  QCOMPARE(f.Box(0)->text(), ok ? QString() : QStringLiteral("2"));
  QCOMPARE(f.Result(0), ok ? QString() : QStringLiteral("2.00 "));
  QCOMPARE(f.state.explanation, QStringLiteral("Сметка"));
  QCOMPARE(f.state.lastFileName, QStringLiteral("A.SPR"));
  QCOMPARE(f.state.roundingDigits, 2);
  if (ok) {
    QCOMPARE(QApplication::focusWidget(), f.Box(0));
    QCOMPARE(f.window.CurrentRow(), 0);
  }
}

QTEST_MAIN(TestRowCommands)
#include "test_rowcommands.moc"
