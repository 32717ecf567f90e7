#include <QAccessible>
#include <QFrame>
#include <QSignalSpy>
#include <cmath>
#include <limits>

#include "calculatorfixture.h"
#include "functionbuttons.h"

namespace {

const QColor kYellow(230, 230, 16);
const QColor kWhite(255, 255, 255);
const QColor kRed(255, 0, 0);

// Answers questions through a callback, so a test can look at the window while one is open.
class ProbeDialogs final : public Dialogs {
 public:
  std::function<bool(const QString&, const QString&)> onQuestion;
  bool Question(const QString& text, const QString& title) override {
    return onQuestion(text, title);
  }
  void Message(const QString&, const QString&) override {}
  QString InputBox(const QString&, const QString&, const QString&) override { return {}; }
  QString ChooseFile(const QString&) override { return {}; }
  std::optional<QFont> ChooseFont(const QFont&) override { return std::nullopt; }
};

}  // namespace

class TestCalculator : public QObject {
  Q_OBJECT
 private slots:
  void init() { m_guard = std::make_unique<ModalGuard>(); }
  void cleanup() { QCOMPARE(m_guard->TakeSeen(), QStringList()); }

  void startScreen();
  void controls();
  void enterRow_data();
  void enterRow();
  void wrongFormula_data();
  void wrongFormula();
  void navigation_data();
  void navigation();
  void formKeys_data();
  void formKeys();
  void closeBox();
  void recalculation();
  void deleteRow_data();
  void deleteRow();
  void insertRow();
  void noCurrentRow();
  void newTable_data();
  void newTable();
  void roundingField_data();
  void roundingField();
  void roundingTyped();
  void display_data();
  void display();
  void functionButtons_data();
  void functionButtons();
  void explanationField();

 private:
  std::unique_ptr<ModalGuard> m_guard;
};

void TestCalculator::startScreen() {
  CalculatorFixture f;
  QCOMPARE(f.window.windowTitle(), QStringLiteral("Verodazava 2.0"));
  QCOMPARE(f.window.size(), QSize(753, 520));
  QCOMPARE(f.window.RoundingField()->text(), QStringLiteral("4"));
  QCOMPARE(f.state.roundingDigits, 4);
  QVERIFY(!f.state.startDirectory.isEmpty());
  for (int i = 0; i < kVisibleRows; ++i) {
    QCOMPARE(f.window.NumberLabel(i)->text(), u' ' + QString::number(i + 1));
    QCOMPARE(f.Box(i)->text(), QString());
    QCOMPARE(f.Result(i), QString());
    QCOMPARE(f.state.rows[i + 1].label, QString::number(i + 1).leftJustified(kLabelWidth));
  }
  QCOMPARE(QApplication::focusWidget(), f.Box(0));
  QCOMPARE(f.window.CurrentRow(), 0);
  QCOMPARE(f.BoxColour(0), kYellow);
  QCOMPARE(f.BoxColour(1), kWhite);
}

void TestCalculator::controls() {
  CalculatorFixture f;
  QCOMPARE(int(FunctionButtons().size()), 40);
  QCOMPARE(f.window.ButtonPanel()->findChildren<QPushButton*>().size(), 50);
  for (const FunctionButton& entry : FunctionButtons()) {
    QPushButton* button = f.Button(entry.name);
    QVERIFY2(button, entry.name);
    QCOMPARE(button->toolTip(), entry.toolTip.toString());
    if (entry.caption.isEmpty()) {
      QVERIFY(!button->icon().isNull());
      QCOMPARE(button->accessibleName(), entry.toolTip.toString());
    } else {
      QCOMPARE(button->text(), entry.caption.toString());
    }
  }
  for (const CommandButton& entry : CommandButtons()) {
    QPushButton* button = f.Button(entry.name);
    QVERIFY2(button && !button->icon().isNull(), entry.name);
    QVERIFY(button->text().isEmpty());
    QCOMPARE(button->size(), QSize(24, 24));
    QCOMPARE(button->accessibleName(), entry.toolTip.toString());
  }
  // Tab in a formula box goes to the next row without storing it.
  f.Box(3)->setFocus();
  QTest::keyClicks(f.Box(3), "1+1");
  QTest::keyClick(f.Box(3), Qt::Key_Tab);
  QCOMPARE(QApplication::focusWidget(), f.Box(4));
  QVERIFY(f.state.rows[3].IsCleared());
}

void TestCalculator::enterRow_data() {
  QTest::addColumn<int>("row");
  QTest::addColumn<QString>("typed");
  QTest::addColumn<QString>("shown");
  QTest::addColumn<QString>("result");
  QTest::addColumn<int>("next");

  QTest::newRow("value") << 1 << "2+3"
                         << "2+3"
                         << "5.0000 " << 2;
  QTest::newRow("equals-sign") << 0 << "=2+3"
                               << "2+3"
                               << "5.0000 " << 1;
  QTest::newRow("blanks-trimmed") << 5 << "  7*2  "
                                  << "7*2"
                                  << "14.0000 " << 6;
  QTest::newRow("empty-row") << 2 << ""
                             << ""
                             << "" << 3;
  QTest::newRow("zero-shows-empty") << 2 << "3-3"
                                    << "3-3"
                                    << "" << 3;
  QTest::newRow("last-row-stays") << 24 << "1/4"
                                  << "1/4"
                                  << "0.2500 " << 24;
  const QString longTail(200, u'1');
  QTest::newRow("long-equals-text-kept") << 0 << "=0*" + longTail << "0*" + longTail << "" << 1;
}

void TestCalculator::enterRow() {
  QFETCH(int, row);
  QFETCH(QString, typed);
  QFETCH(QString, shown);
  QFETCH(QString, result);
  QFETCH(int, next);
  CalculatorFixture f;
  f.Enter(row, typed);
  QCOMPARE(f.Box(row)->text(), shown);
  QCOMPARE(f.state.rows[row].Trimmed(), shown);
  QCOMPARE(f.state.rows[row].formula.size(), kFormulaWidth);
  QCOMPARE(f.Result(row), result);
  QCOMPARE(QApplication::focusWidget(), f.Box(next));
  QCOMPARE(f.window.CurrentRow(), next);
  QCOMPARE(f.Box(next)->cursorPosition(), 0);
  QCOMPARE(f.BoxColour(next), kYellow);
  if (next != row) QCOMPARE(f.BoxColour(row), kWhite);
}

void TestCalculator::wrongFormula_data() {
  QTest::addColumn<QString>("typed");
  QTest::addColumn<QString>("stored");
  QTest::addColumn<int>("marked");

  QTest::newRow("closing-paren") << "2+3)"
                                 << "2+3)" << 3;
  QTest::newRow("letters") << "abc"
                           << "abc" << 0;
  QTest::newRow("leading-blanks") << "   2+3)"
                                  << "2+3)" << 6;
  QTest::newRow("leading-point") << ".5)"
                                 << ".5)" << 2;
  QTest::newRow("equals-and-blanks") << "= 1)"
                                     << "1)" << 2;
}

void TestCalculator::wrongFormula() {
  QFETCH(QString, typed);
  QFETCH(QString, stored);
  QFETCH(int, marked);
  CalculatorFixture f;
  f.Enter(3, QStringLiteral("7"));
  QCOMPARE(f.Result(3), QStringLiteral("7.0000 "));

  f.scripted.AnswerQuestion(true);
  f.Enter(3, typed);
  const auto asked = f.scripted.Of(QStringLiteral("question"));
  QCOMPARE(asked.size(), 1);
  QCOMPARE(asked[0].title, QStringLiteral("Грешна формула."));
  QCOMPARE(asked[0].text, stored);
  QCOMPARE(f.Result(3), QStringLiteral("7.0000 "));
  QCOMPARE(f.state.rows[3].result, 7.0);
  QCOMPARE(f.state.rows[3].Trimmed(), stored);
  QCOMPARE(QApplication::focusWidget(), f.Box(3));
  QCOMPARE(f.Box(3)->selectionStart(), marked);
  QCOMPARE(f.Box(3)->selectedText().size(), 1);
  // The wrong text is what the next repaint shows.
  f.window.MakeScreen();
  QCOMPARE(f.Box(3)->text(), stored);
}

void TestCalculator::navigation_data() {
  QTest::addColumn<int>("from");
  QTest::addColumn<int>("key");
  QTest::addColumn<int>("to");
  QTest::newRow("up-wraps") << 0 << int(Qt::Key_Up) << 24;
  QTest::newRow("down-wraps") << 24 << int(Qt::Key_Down) << 0;
  QTest::newRow("down") << 7 << int(Qt::Key_Down) << 8;
  QTest::newRow("up") << 7 << int(Qt::Key_Up) << 6;
}

void TestCalculator::navigation() {
  QFETCH(int, from);
  QFETCH(int, key);
  QFETCH(int, to);
  CalculatorFixture f;
  f.Enter(to, QStringLiteral("12345"));  // the target holds text, so the caret can be checked
  f.Box(to)->setCursorPosition(3);
  f.Box(from)->setFocus();
  QTest::keyClicks(f.Box(from), "99");
  QTest::keyClick(f.Box(from), Qt::Key(key));
  QCOMPARE(QApplication::focusWidget(), f.Box(to));
  QCOMPARE(f.window.CurrentRow(), to);
  QCOMPARE(f.Box(to)->cursorPosition(), 0);
  QCOMPARE(f.BoxColour(to), kYellow);
  QCOMPARE(f.BoxColour(from), kWhite);
  QVERIFY(f.state.rows[from].IsCleared());  // moving away stores nothing
}

void TestCalculator::formKeys_data() {
  QTest::addColumn<int>("key");
  QTest::addColumn<int>("modifiers");
  QTest::addColumn<int>("saves");
  QTest::addColumn<int>("reads");
  QTest::addColumn<bool>("closes");

  const int none = Qt::NoModifier;
  QTest::newRow("f2") << int(Qt::Key_F2) << none << 1 << 0 << false;
  QTest::newRow("f3") << int(Qt::Key_F3) << none << 0 << 1 << false;
  QTest::newRow("esc") << int(Qt::Key_Escape) << none << 0 << 0 << true;
  for (auto [name, modifier] :
       {std::pair{"shift", Qt::ShiftModifier}, std::pair{"ctrl", Qt::ControlModifier},
        std::pair{"alt", Qt::AltModifier}}) {
    QTest::addRow("f2-%s", name) << int(Qt::Key_F2) << int(modifier) << 0 << 0 << false;
    QTest::addRow("f3-%s", name) << int(Qt::Key_F3) << int(modifier) << 0 << 0 << false;
    QTest::addRow("esc-%s", name) << int(Qt::Key_Escape) << int(modifier) << 0 << 0 << false;
  }
}

void TestCalculator::formKeys() {
  QFETCH(int, key);
  QFETCH(int, modifiers);
  QFETCH(int, saves);
  QFETCH(int, reads);
  QFETCH(bool, closes);
  int saved = 0, read = 0, closed = 0;
  CalculatorFixture f;
  f.window.SetCommands({[&] { ++saved; }, [&] { ++read; }, {}, {}, {}, [&] { ++closed; }});
  // In a formula box with unsaved text, and on a button: the window sees the key first.
  f.Box(4)->setFocus();
  QTest::keyClicks(f.Box(4), "1+");
  QTest::keyClick(f.Box(4), Qt::Key(key), Qt::KeyboardModifiers(modifiers));
  QCOMPARE(saved, saves);
  QCOMPARE(read, reads);
  QCOMPARE(f.window.isVisible(), !closes);
  QCOMPARE(closed, closes ? 1 : 0);
  if (closes) return;
  QTest::keyClick(f.Button("cmdRecalc"), Qt::Key(key), Qt::KeyboardModifiers(modifiers));
  QCOMPARE(saved, 2 * saves);
  QCOMPARE(read, 2 * reads);
}

void TestCalculator::closeBox() {
  int closed = 0;
  CalculatorFixture f;
  f.window.SetCommands({{}, {}, {}, {}, {}, [&] { ++closed; }});
  f.Enter(0, QStringLiteral("1"));
  f.Click("cmdExit");
  QVERIFY(!f.window.isVisible());
  QCOMPARE(closed, 1);
  QVERIFY(f.scripted.Log().isEmpty());  // no question, even with unsaved changes
}

void TestCalculator::recalculation() {
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

void TestCalculator::deleteRow_data() {
  QTest::addColumn<int>("row");
  QTest::addColumn<bool>("ok");
  QTest::newRow("first-ok") << 0 << true;
  QTest::newRow("fifth-ok") << 4 << true;
  QTest::newRow("fifth-cancel") << 4 << false;
  QTest::newRow("last-ok-shows-hidden") << 24 << true;
}

void TestCalculator::deleteRow() {
  QFETCH(int, row);
  QFETCH(bool, ok);
  ProbeDialogs dialogs;
  CalculatorFixture f(&dialogs);
  for (int k = 0; k <= kHiddenRecord; ++k) {
    f.state.rows[k].SetFormula(QString::number(k + 1));
    f.state.rows[k].result = k + 1;
  }
  f.window.MakeScreen();
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

void TestCalculator::insertRow() {
  CalculatorFixture f;
  for (int k = 0; k <= kHiddenRecord; ++k) {
    f.state.rows[k].SetFormula(QString::number(k + 1));
    f.state.rows[k].result = k + 1;
  }
  f.window.MakeScreen();
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

void TestCalculator::noCurrentRow() {
  CalculatorFixture f;
  f.Enter(2, QStringLiteral("12"));
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

void TestCalculator::newTable_data() {
  QTest::addColumn<bool>("ok");
  QTest::newRow("ok") << true;
  QTest::newRow("cancel") << false;
}

void TestCalculator::newTable() {
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

void TestCalculator::roundingField_data() {
  QTest::addColumn<QString>("text");
  QTest::addColumn<QString>("shown");
  QTest::addColumn<QString>("result");

  QTest::newRow("two") << "2"
                       << "2"
                       << "2.50 ";
  QTest::newRow("zero-rounds-away") << "0"
                                    << "0"
                                    << "3 ";
  QTest::newRow("letter") << "x"
                          << "0"
                          << "3 ";
  QTest::newRow("minus-three") << "-3"
                               << "3"
                               << "2.500 ";
  QTest::newRow("seven-point-nine") << "7.9"
                                    << "7"
                                    << "2.5000000 ";
  QTest::newRow("twenty") << "20"
                          << "15"
                          << "2.500000000000000 ";
  QTest::newRow("blank") << ""
                         << "0"
                         << "3 ";
}

void TestCalculator::roundingField() {
  QFETCH(QString, text);
  QFETCH(QString, shown);
  QFETCH(QString, result);
  CalculatorFixture f;
  f.Enter(0, QStringLiteral("2.5"));
  f.state.rows[1].result = -2.5;
  f.Box(3)->setText(QStringLiteral("typed, never entered"));
  f.window.RoundingField()->setText(text);
  QCOMPARE(f.window.RoundingField()->text(), shown);
  QCOMPARE(f.state.roundingDigits, shown.toInt());
  QCOMPARE(f.Result(0), result);
  QCOMPARE(f.Result(1), u'-' + result);
  QCOMPARE(f.state.rows[0].result, 2.5);  // only the display changes
  QCOMPARE(f.Box(3)->text(), QString());
}

void TestCalculator::roundingTyped() {
  CalculatorFixture f;
  f.Enter(0, QStringLiteral("1/3"));
  QLineEdit* field = f.window.RoundingField();
  field->setFocus();
  QCOMPARE(field->palette().color(QPalette::Base), kYellow);
  field->selectAll();
  QTest::keyClicks(field, "20");
  QCOMPARE(field->text(), QStringLiteral("15"));
  QCOMPARE(f.Result(0), QStringLiteral("0.333333333333333 "));
  field->selectAll();
  QTest::keyClick(field, Qt::Key_Backspace);
  QCOMPARE(field->text(), QStringLiteral("0"));
  QCOMPARE(f.Result(0), QStringLiteral("0 "));
  QTest::keyClick(field, Qt::Key_End);
  QTest::keyClicks(field, "3");
  QCOMPARE(field->text(), QStringLiteral("3"));
  QCOMPARE(f.Result(0), QStringLiteral("0.333 "));
}

void TestCalculator::display_data() {
  QTest::addColumn<double>("value");
  QTest::addColumn<int>("digits");
  QTest::addColumn<QString>("separator");
  QTest::addColumn<QString>("shown");

  QTest::newRow("exact-zero-empty") << 0.0 << 4 << "."
                                    << "";
  QTest::newRow("rounds-to-zero") << 0.00001 << 4 << "."
                                  << "0.0000 ";
  QTest::newRow("half-up") << 2.5 << 0 << "."
                           << "3 ";
  QTest::newRow("half-away-negative") << -2.5 << 0 << "."
                                      << "-3 ";
  QTest::newRow("no-grouping") << 1234567.891 << 2 << "."
                               << "1234567.89 ";
  QTest::newRow("comma") << 2.5 << 2 << ","
                         << "2,50 ";
  QTest::newRow("infinity") << std::numeric_limits<double>::infinity() << 4 << "."
                            << "∞ ";
}

void TestCalculator::display() {
  QFETCH(double, value);
  QFETCH(int, digits);
  QFETCH(QString, separator);
  QFETCH(QString, shown);
  UserLocale locale;
  locale.decimalPoint = separator[0];
  CalculatorFixture f(nullptr, locale);
  f.window.RoundingField()->setText(QString::number(digits));
  f.state.rows[7].result = value;
  f.state.rows[7].SetFormula(u"  1+1  ");
  f.state.rows[kHiddenRecord].result = 5;
  f.window.MakeScreen();
  QCOMPARE(f.Result(7), shown);
  QCOMPARE(f.Box(7)->text(), QStringLiteral("1+1"));
  QCOMPARE(f.Result(24), QString());
}

void TestCalculator::functionButtons_data() {
  QTest::addColumn<QString>("before");
  QTest::addColumn<int>("caret");
  QTest::addColumn<QString>("button");
  QTest::addColumn<QString>("after");
  QTest::addColumn<int>("caretAfter");

  QTest::newRow("empty-sin") << "" << 0 << "cmdSin"
                             << "SIN()" << 4;
  QTest::newRow("number-sin") << "12" << 2 << "cmdSin"
                              << "12+SIN()" << 7;
  QTest::newRow("operator-cos") << "2*" << 2 << "cmdCos"
                                << "2*COS()" << 6;
  QTest::newRow("operator-pi") << "2*" << 2 << "cmdPi"
                               << "2*PI" << 4;
  QTest::newRow("number-pi") << "12" << 2 << "cmdPi"
                             << "12PI" << 4;
  QTest::newRow("start-sin") << "5" << 0 << "cmdSin"
                             << "+SIN()5" << 5;
  QTest::newRow("sqr-icon-button") << "4*" << 2 << "cmdSqr"
                                   << "4*SQR()" << 6;
  QTest::newRow("yard-inserts-metr") << "" << 0 << "cmdYard"
                                     << "METR()" << 5;
  QTest::newRow("fahrenheit") << "(" << 1 << "cmdFtoC"
                              << "(F-C()" << 5;
}

void TestCalculator::functionButtons() {
  QFETCH(QString, before);
  QFETCH(int, caret);
  QFETCH(QString, button);
  QFETCH(QString, after);
  QFETCH(int, caretAfter);
  CalculatorFixture f;
  f.Enter(6, QStringLiteral("1"));
  f.Box(6)->setFocus();
  f.Box(6)->setText(before);
  f.Box(6)->setCursorPosition(caret);
  f.Click(button.toLatin1().constData());
  QCOMPARE(f.Box(6)->text(), after);
  QCOMPARE(f.Box(6)->cursorPosition(), caretAfter);
  QCOMPARE(f.state.rows[6].Trimmed(), after);
  QCOMPARE(QApplication::focusWidget(), f.Box(6));
  QCOMPARE(f.BoxColour(6), kYellow);
  QCOMPARE(f.window.CurrentRow(), 6);
  QCOMPARE(f.Result(6), QStringLiteral("1.0000 "));  // not evaluated until Enter
}

void TestCalculator::explanationField() {
  CalculatorFixture f;
  QLineEdit* field = f.window.ExplanationField();
  field->setFocus();
  QCOMPARE(field->palette().color(QPalette::Base), kYellow);
  QTest::keyClicks(field, "  Pay 1 ");
  QCOMPARE(f.state.explanation, QStringLiteral("  Pay 1 "));
  QCOMPARE(f.window.ExplanationFieldText(), QStringLiteral("  Pay 1 "));
  f.Box(0)->setFocus();
  QCOMPARE(field->palette().color(QPalette::Base), kWhite);
  f.window.SetExplanationField(QStringLiteral("Отчет"));
  QCOMPARE(f.state.explanation, QStringLiteral("Отчет"));
}

QTEST_MAIN(TestCalculator)
#include "test_frmcalculator.moc"
