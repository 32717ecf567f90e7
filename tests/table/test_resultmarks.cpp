#include "calculatorfixture.h"

namespace {

const QString kChangedTip = QStringLiteral("Променен при последното преизчисляване");
const QString kDependsTip = QStringLiteral("Зависи от ред по-долу: преизчислете още веднъж");

QColor TextColour(const QLabel* cell) {
  return cell->palette().color(QPalette::WindowText);
}

// Rows 1..3: a figure, a sum of the row below it, a sum of the row above; recalculated once
// from empty results, so rows 1 and 3 changed and row 2 still holds the old value of row 3.
void FillAndRecalculate(CalculatorFixture& f) {
  f.state.rows[0].SetFormula(u"5");
  f.state.rows[1].SetFormula(u"SUM(3)*2");
  f.state.rows[2].SetFormula(u"SUM(1)+1");
  f.window.MakeScreen();
  f.Click("cmdRecalc");
}

}  // namespace

// The marks a recalculation leaves on the result cells.
class TestResultMarks : public QObject {
  Q_OBJECT
 private slots:
  void init() { m_guard = std::make_unique<ModalGuard>(); }
  void cleanup() { QCOMPARE(m_guard->TakeSeen(), QStringList()); }

  void marksLook();
  void whatClearsThem_data();
  void whatClearsThem();

 private:
  std::unique_ptr<ModalGuard> m_guard;
};

void TestResultMarks::marksLook() {
  ProbeDialogs probe;  // answers the question while looking at the window
  CalculatorFixture f(&probe);
  const QRect geometry = f.window.ResultLabel(0)->geometry();
  FillAndRecalculate(f);

  // Rows 1..4: the tool tip, the text colour, and whether underlined.
  QStringList looks;
  for (int row = 0; row < 4; ++row) {
    const QLabel* cell = f.window.ResultLabel(row);
    looks << cell->toolTip() + u' ' + TextColour(cell).name(QColor::HexArgb) +
                 (cell->font().underline() ? " underlined" : "");
  }
  QCOMPARE(looks, QStringList({kChangedTip + " #ff0000a0", kDependsTip + " #ffbe5000 underlined",
                               kChangedTip + " #ff0000a0", " #ff000000"}));
  const QLabel* changed = f.window.ResultLabel(0);
  QCOMPARE(changed->palette().color(QPalette::Window), kWhite);
  QCOMPARE(changed->geometry(), geometry);
  // The stored result stays that of the pass: the second one is only looked at.
  QCOMPARE(f.Result(1), QString());

  // Under the red of a delete question a marked text turns white; afterwards it is back.
  QColor duringQuestion;
  probe.onQuestion = [&](const QString&, const QString&) {
    duringQuestion = TextColour(changed);
    return false;
  };
  f.Box(0)->setFocus();
  f.window.DeleteRow();
  QCOMPARE(duringQuestion, kWhite);
  QCOMPARE(TextColour(changed), QColor(0, 0, 160));
  QCOMPARE(changed->palette().color(QPalette::Window), kWhite);
}

void TestResultMarks::whatClearsThem_data() {
  QTest::addColumn<QString>("action");
  QTest::addColumn<bool>("cleared");

  QTest::newRow("Enter") << "enter" << true;
  QTest::newRow("Enter on a wrong formula") << "enter-wrong" << true;
  QTest::newRow("function button") << "function" << true;
  QTest::newRow("insert") << "insert" << true;
  QTest::newRow("delete") << "delete" << true;
  QTest::newRow("delete cancelled") << "keep-row" << false;
  QTest::newRow("new table") << "new" << true;
  QTest::newRow("new table cancelled") << "keep-table" << false;
  QTest::newRow("rounding") << "digits" << false;
  QTest::newRow("explanation") << "explanation" << false;
}

void TestResultMarks::whatClearsThem() {
  QFETCH(QString, action);
  QFETCH(bool, cleared);
  CalculatorFixture f;
  FillAndRecalculate(f);
  QCOMPARE(f.window.Mark(1), ResultMark::DependsBelow);

  f.Change(action, 5);

  QCOMPARE(f.window.Mark(0), cleared ? ResultMark::None : ResultMark::Changed);
  QCOMPARE(f.window.Mark(1), cleared ? ResultMark::None : ResultMark::DependsBelow);
  QCOMPARE(f.window.ResultLabel(1)->toolTip(), cleared ? QString() : kDependsTip);
  QCOMPARE(TextColour(f.window.ResultLabel(0)), cleared ? QColor(Qt::black) : QColor(0, 0, 160));
  QCOMPARE(f.scripted.Pending(), 0);

  // The next recalculation marks afresh: the second pass has settled row 2.
  f.Click("cmdRecalc");
  QCOMPARE(f.window.Mark(1) == ResultMark::DependsBelow, false);
}

QTEST_MAIN(TestResultMarks)
#include "test_resultmarks.moc"
