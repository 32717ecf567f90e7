#include <QAccessible>
#include <QFrame>
#include <limits>
#include <span>

#include "calculatorfixture.h"

class TestCalculator : public QObject {
  Q_OBJECT
 private slots:
  void init() { m_guard = std::make_unique<ModalGuard>(); }
  void cleanup() { QCOMPARE(m_guard->TakeSeen(), QStringList()); }

  void startScreen();
  void controls();
  void accessibleNames_data();
  void accessibleNames();
  void tabOrder();
  void commandButtons_data();
  void commandButtons();
  void enterRow_data();
  void enterRow();
  void wrongFormula_data();
  void wrongFormula();
  void navigation_data();
  void navigation();
  void formKeys_data();
  void formKeys();
  void closeBox();
  void roundingField_data();
  void roundingField();
  void roundingTyped();
  void display_data();
  void display();
  void shortenedAndMarked();
  void recalculationMarks_data();
  void recalculationMarks();
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

// Every button of the panel: object name, caption (empty for an icon button) and tool tip.
struct ExpectedButton {
  const char* name;
  const char* caption;
  const char* toolTip;
};

void TestCalculator::controls() {
  static const ExpectedButton kExpected[] = {
      {"cmdReadFile", "", "Чете файл с формули"},
      {"cmdNew", "", "Нова таблица"},
      {"cmdSaveFile", "", "Записва формулите във файл"},
      {"cmdInsert", "", "Вмъква ред в таблицата"},
      {"cmdDel", "", "Изтрива ред"},
      {"cmdRecalc", "", "Преизчислява всички редове"},
      {"cmdDiagram", "", "Печат на таблицата"},
      {"cmdPrint", "", "Печат на таблицата"},
      {"cmdHelp", "", "Помощ"},
      {"cmdExit", "Изход", "Изход"},
      {"cmdSin", "Sin", "Синус"},
      {"cmdCos", "Cos", "Косинус"},
      {"cmdTan", "Tan", "Тангенс"},
      {"cmdcTan", "Ctan", "Котангенс"},
      {"cmdSec", "Sec", "Секанс"},
      {"cmdCsec", "Csec", "Косеканс"},
      {"cmdLog", "Log", "Логаритъм десетичен"},
      {"cmdLn", "Ln", "Логаритъм натурален"},
      {"cmdExp", "Exp", "e на степен X"},
      {"cmdFut", "S - F", "Превръща фут в сантиметри"},
      {"cmdaSin", "aSin", "Аркус Синус"},
      {"cmdaCos", "aCos", "Аркус Косинус"},
      {"cmdaTan", "aTan", "Аркус Тангенс"},
      {"cmdaCtan", "aCtn", "Аркус Котангенс"},
      {"cmdaSec", "aSec", "Аркус Секанс"},
      {"cmdaCSec", "aCsc", "Аркус Косеканс"},
      {"cmdSqr", "", "Корен квадратен"},
      {"cmdDeg", "Deg", "Преобразува радиани в градуси"},
      {"cmdFtoC", "F - C", "Преобразува градуси по Фаренхайт в градуси по Целзий"},
      {"cmdDuim", "D - S", "Превръща дюйм (инч) в сантиметри"},
      {"cmdHsin", "HSin", "Синус Хиперболичен"},
      {"cmdHcos", "HCos", "Косинус Хиперболичен"},
      {"cmdHtan", "HTan", "Тангенс Хиперболичен"},
      {"cmdHCtan", "HCtn", "Котангенс Хиперболичен"},
      {"cmdHSec", "HSec", "Секанс Хиперболичен"},
      {"cmdHCsec", "HCsc", "Косеканс Хиперболичен"},
      {"cmdPi", "Pi", "Числото Pi"},
      {"cmdRad", "Rad", "Преобразува градуси в радиани"},
      {"cmdCtoF", "C - F", "Преобразува градуси по Целзий в градуси по Фаренхайт"},
      {"cmdYard", "Y - M", "Превръща ярд в метри"},
      {"cmdaHSin", "aHSn", "Аркус Синус Хиперболичен"},
      {"cmdaHcos", "aHCs", "Аркус Косинус Хиперболичен"},
      {"cmdaHtan", "aHTn", "Аркус Тангенс Хиперболичен"},
      {"cmdaHctan", "aHCn", "Аркус Котангенс Хиперболичен"},
      {"cmdaHsec", "aHSc", "Аркус Секанс Хиперболичен"},
      {"cmdaHCsec", "aHCs", "Аркус Косеканс  Хиперболичен"},
      {"cmdSum", "Сума", "Връща сумата от посочения ред от таблицата"},
      {"CmdDay", "Дни", "Показва брой дни от 31.12.1899 до посочена дата"},
      {"cmdMeter", "Клм", "Превръща мили в километри"},
      {"cmdMile", "Миля", "Превръща километри в мили"},
  };
  CalculatorFixture f;
  QCOMPARE(f.window.ButtonPanel()->findChildren<QPushButton*>().size(), 50);
  for (const ExpectedButton& expected : kExpected) {
    QPushButton* button = f.Button(expected.name);
    QVERIFY2(button, expected.name);
    QCOMPARE(button->toolTip(), QString::fromUtf8(expected.toolTip));
    QCOMPARE(button->text(), QString::fromUtf8(expected.caption));
    if (!*expected.caption) {
      QVERIFY2(!button->icon().isNull(), expected.name);
    }
  }
  // A screen reader tells every button apart.
  QSet<QString> spoken;
  for (QPushButton* button : f.window.ButtonPanel()->findChildren<QPushButton*>())
    spoken.insert(QAccessible::queryAccessibleInterface(button)->text(QAccessible::Name));
  QCOMPARE(spoken.size(), 50);
  // The nine icon buttons of the commands are the first rows.
  for (const ExpectedButton& expected : std::span(kExpected).first(9))
    QCOMPARE(f.Button(expected.name)->size(), QSize(24, 24));
  // Tab in a formula box goes to the next row without storing it.
  f.Box(3)->setFocus();
  QTest::keyClicks(f.Box(3), "1+1");
  QTest::keyClick(f.Box(3), Qt::Key_Tab);
  QCOMPARE(QApplication::focusWidget(), f.Box(4));
  QVERIFY(f.state.rows[3].IsCleared());
}

// What a screen reader says for a control: its name and its description.
void TestCalculator::accessibleNames_data() {
  QTest::addColumn<QString>("control");
  QTest::addColumn<QString>("name");
  QTest::addColumn<QString>("description");
  const auto row = [](const char* control, const char* name, const char* description) {
    QTest::newRow(control) << QString::fromLatin1(control) << QString::fromUtf8(name)
                           << QString::fromUtf8(description);
  };
  row("Formula_0", "Ред 1", "Резултат: 5.0000");
  row("Formula_1", "Ред 2", "");
  row("lblSuma_0", "Резултат, ред 1", "");
  row("txtH", "Обяснение", "");
  row("txtR", "Закръгления (max 15)", "");
  row("Picture1", "Панел с бутони", "");
  row("cmdReadFile", "Чете файл с формули", "Клавиши: F3, Ctrl+O");
  row("cmdNew", "Нова таблица", "Клавиш: Ctrl+N");
  row("cmdSaveFile", "Записва формулите във файл", "Клавиши: F2, Ctrl+S");
  row("cmdInsert", "Вмъква ред в таблицата", "Клавиш: Ctrl+Ins");
  row("cmdDel", "Изтрива ред", "Клавиш: Ctrl+Del");
  row("cmdRecalc", "Преизчислява всички редове", "Клавиши: F5, F9");
  row("cmdDiagram", "Диаграма", "Печат на таблицата");  // the tool tip, as Qt has it
  row("cmdPrint", "Печат на таблицата", "Клавиш: Ctrl+P");
  row("cmdHelp", "Помощ", "Клавиш: F1");
  row("cmdExit", "Изход", "Клавиши: Esc, Ctrl+Q");
  row("cmdaHcos", "Аркус Косинус Хиперболичен", "Аркус Косинус Хиперболичен");
  row("cmdaHCsec", "Аркус Косеканс Хиперболичен", "Аркус Косеканс  Хиперболичен");
}

void TestCalculator::accessibleNames() {
  QFETCH(QString, control);
  QFETCH(QString, name);
  QFETCH(QString, description);
  CalculatorFixture f;
  f.Enter(0, QStringLiteral("2+3"));
  auto* widget = f.window.findChild<QWidget*>(control);
  QVERIFY(widget);
  QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(widget);
  QCOMPARE(accessible->text(QAccessible::Name), name);
  QCOMPARE(accessible->text(QAccessible::Description), description);
}

// Tab walks the rows, the two fields, the commands, then the function buttons.
void TestCalculator::tabOrder() {
  CalculatorFixture f;
  QStringList walked;
  f.Box(0)->setFocus();
  for (int i = 0; i < 37; ++i) {
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    walked << QApplication::focusWidget()->objectName();
  }
  QCOMPARE(walked.sliced(22),
           QStringList({"Formula_23", "Formula_24", "txtH", "txtR", "cmdReadFile", "cmdNew",
                        "cmdSaveFile", "cmdInsert", "cmdDel", "cmdRecalc", "cmdDiagram", "cmdPrint",
                        "cmdHelp", "cmdExit", "cmdSin"}));
  QCOMPARE(walked.first(), QStringLiteral("Formula_1"));
}

// Each command button runs its own command, and only that one.
void TestCalculator::commandButtons_data() {
  QTest::addColumn<QString>("button");
  QTest::addColumn<QString>("ran");
  QTest::newRow("read") << QStringLiteral("cmdReadFile") << QStringLiteral("read");
  QTest::newRow("save") << QStringLiteral("cmdSaveFile") << QStringLiteral("save");
  QTest::newRow("diagram") << QStringLiteral("cmdDiagram") << QStringLiteral("diagram");
  QTest::newRow("print") << QStringLiteral("cmdPrint") << QStringLiteral("print");
  QTest::newRow("help") << QStringLiteral("cmdHelp") << QStringLiteral("help");
  QTest::newRow("exit") << QStringLiteral("cmdExit") << QStringLiteral("close");
}

void TestCalculator::commandButtons() {
  QFETCH(QString, button);
  QFETCH(QString, ran);
  QStringList log;
  CalculatorFixture f;
  f.window.SetCommands({
      .saveFile = [&log] { log << QStringLiteral("save"); },
      .readFile = [&log] { log << QStringLiteral("read"); },
      .print = [&log] { log << QStringLiteral("print"); },
      .diagram = [&log] { log << QStringLiteral("diagram"); },
      .help = [&log] { log << QStringLiteral("help"); },
      .closeWindows = [&log] { log << QStringLiteral("close"); },
  });
  f.Click(qPrintable(button));
  QCOMPARE(log, QStringList{ran});
}

void TestCalculator::enterRow_data() {
  QTest::addColumn<int>("row");
  QTest::addColumn<QString>("typed");
  QTest::addColumn<QString>("shown");
  QTest::addColumn<QString>("result");
  QTest::addColumn<int>("next");

  QTest::newRow("value") << 1 << QStringLiteral("2+3") << QStringLiteral("2+3")
                         << QStringLiteral("5.0000 ") << 2;
  QTest::newRow("equals-sign") << 0 << QStringLiteral("=2+3") << QStringLiteral("2+3")
                               << QStringLiteral("5.0000 ") << 1;
  QTest::newRow("blanks-trimmed") << 5 << QStringLiteral("  7*2  ") << QStringLiteral("7*2")
                                  << QStringLiteral("14.0000 ") << 6;
  QTest::newRow("empty-row") << 2 << QString() << QString() << QString() << 3;
  QTest::newRow("zero-shows-empty")
      << 2 << QStringLiteral("3-3") << QStringLiteral("3-3") << QString() << 3;
  QTest::newRow("last-row-stays") << 24 << QStringLiteral("1/4") << QStringLiteral("1/4")
                                  << QStringLiteral("0.2500 ") << 24;
  const QString longTail(200, u'1');
  QTest::newRow("long-equals-text-kept")
      << 0 << QStringLiteral("=0*") + longTail << QStringLiteral("0*") + longTail << QString() << 1;
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
  QTest::addColumn<QString>("message");  // empty: the stored text

  QTest::newRow("closing-paren") << QStringLiteral("2+3)") << QStringLiteral("2+3)") << 3
                                 << QString();
  QTest::newRow("letters") << QStringLiteral("abc") << QStringLiteral("abc") << 0 << QString();
  QTest::newRow("leading-blanks") << QStringLiteral("   2+3)") << QStringLiteral("2+3)") << 6
                                  << QString();
  QTest::newRow("leading-point") << QStringLiteral(".5)") << QStringLiteral(".5)") << 2
                                 << QString();
  QTest::newRow("equals-and-blanks")
      << QStringLiteral("= 1)") << QStringLiteral("1)") << 2 << QString();
  // The error at the end of a long formula stays in view.
  QTest::newRow("long-wrapped") << QString(100, u'1') + u')' << QString(100, u'1') + u')' << 100
                                << QString(64, u'1') + u'\n' + QString(36, u'1') + u')';
}

void TestCalculator::wrongFormula() {
  QFETCH(QString, typed);
  QFETCH(QString, stored);
  QFETCH(int, marked);
  QFETCH(QString, message);
  CalculatorFixture f;
  f.Enter(3, QStringLiteral("7"));
  QCOMPARE(f.Result(3), QStringLiteral("7.0000 "));

  f.scripted.AnswerQuestion(true);
  f.Enter(3, typed);
  const auto asked = f.scripted.Of(QStringLiteral("question"));
  QCOMPARE(asked.size(), 1);
  QCOMPARE(asked[0].title, QStringLiteral("Грешна формула."));
  QCOMPARE(asked[0].text, message.isEmpty() ? stored : message);
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

// Every command key, in a formula box with unsaved text and on a button: the window sees the
// key first, and only the exact modifiers count.
void TestCalculator::formKeys_data() {
  QTest::addColumn<int>("key");
  QTest::addColumn<int>("modifiers");
  QTest::addColumn<QStringList>("ran");

  const int none = Qt::NoModifier;
  const int ctrl = Qt::ControlModifier;
  const QStringList save{QStringLiteral("save")}, read{QStringLiteral("read")};
  const QStringList close{QStringLiteral("close")}, recalc{QStringLiteral("recalc")};
  QTest::newRow("f2") << int(Qt::Key_F2) << none << save;
  QTest::newRow("ctrl-s") << int(Qt::Key_S) << ctrl << save;
  QTest::newRow("f3") << int(Qt::Key_F3) << none << read;
  QTest::newRow("ctrl-o") << int(Qt::Key_O) << ctrl << read;
  QTest::newRow("ctrl-p") << int(Qt::Key_P) << ctrl << QStringList{QStringLiteral("print")};
  QTest::newRow("f1") << int(Qt::Key_F1) << none << QStringList{QStringLiteral("help")};
  QTest::newRow("f5") << int(Qt::Key_F5) << none << recalc;
  QTest::newRow("f9") << int(Qt::Key_F9) << none << recalc;
  QTest::newRow("ctrl-n") << int(Qt::Key_N) << ctrl
                          << QStringList{QStringLiteral("? Изчиства таблицата?")};
  QTest::newRow("ctrl-ins") << int(Qt::Key_Insert) << ctrl << QStringList{QStringLiteral("insert")};
  QTest::newRow("ctrl-ins-keypad") << int(Qt::Key_Insert) << int(ctrl | Qt::KeypadModifier)
                                   << QStringList{QStringLiteral("insert")};
  QTest::newRow("ctrl-del") << int(Qt::Key_Delete) << ctrl
                            << QStringList{QStringLiteral("? Изтрива ред 5 ?")};
  QTest::newRow("esc") << int(Qt::Key_Escape) << none << close;
  QTest::newRow("ctrl-q") << int(Qt::Key_Q) << ctrl << close;
  for (auto [name, modifier] :
       {std::pair{"shift", Qt::ShiftModifier}, std::pair{"ctrl", Qt::ControlModifier},
        std::pair{"alt", Qt::AltModifier}}) {
    QTest::addRow("f2-%s", name) << int(Qt::Key_F2) << int(modifier) << QStringList();
    QTest::addRow("f3-%s", name) << int(Qt::Key_F3) << int(modifier) << QStringList();
    QTest::addRow("esc-%s", name) << int(Qt::Key_Escape) << int(modifier) << QStringList();
    QTest::addRow("f5-%s", name) << int(Qt::Key_F5) << int(modifier) << QStringList();
  }
  QTest::newRow("ctrl-shift-s") << int(Qt::Key_S) << int(ctrl | Qt::ShiftModifier) << QStringList();
  QTest::newRow("del") << int(Qt::Key_Delete) << none << QStringList();
}

void TestCalculator::formKeys() {
  QFETCH(int, key);
  QFETCH(int, modifiers);
  QFETCH(QStringList, ran);
  QStringList log;
  CalculatorFixture f;
  f.window.SetCommands({.saveFile = [&] { log << QStringLiteral("save"); },
                        .readFile = [&] { log << QStringLiteral("read"); },
                        .print = [&] { log << QStringLiteral("print"); },
                        .help = [&] { log << QStringLiteral("help"); },
                        .closeWindows = [&] { log << QStringLiteral("close"); }});
  f.state.rows[4].SetFormula(u"2*3");  // stored, not yet calculated
  f.window.MakeScreen();
  const auto press = [&](QWidget* target) {
    for (int i = 0; i < ran.filter(QStringLiteral("? ")).size(); ++i)
      f.scripted.AnswerQuestion(false);
    f.scripted.ClearLog();
    log.clear();
    QTest::keyClick(target, Qt::Key(key), Qt::KeyboardModifiers(modifiers));
    for (const ScriptedDialogs::Asked& asked : f.scripted.Log())
      log << QStringLiteral("? ") + asked.text;
  };
  f.Box(4)->setFocus();
  QTest::keyClicks(f.Box(4), "1+");
  press(f.Box(4));
  if (f.state.rows[4].result == 6) log << QStringLiteral("recalc");
  if (f.state.rows[5].DisplayText() == u"2*3") log << QStringLiteral("insert");
  QCOMPARE(log, ran);
  QCOMPARE(f.window.isVisible(), ran != QStringList{QStringLiteral("close")});
  if (!f.window.isVisible()) return;
  // On a button the command acts on the row last edited, as the button would.
  press(f.Button("cmdSin"));
  ran.removeAll(QStringLiteral("recalc"));
  ran.removeAll(QStringLiteral("insert"));
  QCOMPARE(log, ran);
}

void TestCalculator::closeBox() {
  int closed = 0;
  CalculatorFixture f;
  f.window.SetCommands({.closeWindows = [&] { ++closed; }});
  f.Enter(0, QStringLiteral("1"));
  f.Click("cmdExit");
  QVERIFY(!f.window.isVisible());
  QCOMPARE(closed, 1);
  QVERIFY(f.scripted.Log().isEmpty());  // no question, even with unsaved changes
}

void TestCalculator::roundingField_data() {
  QTest::addColumn<QString>("text");
  QTest::addColumn<QString>("shown");
  QTest::addColumn<QString>("result");

  QTest::newRow("two") << QStringLiteral("2") << QStringLiteral("2") << QStringLiteral("2.50 ");
  QTest::newRow("zero-rounds-away")
      << QStringLiteral("0") << QStringLiteral("0") << QStringLiteral("3 ");
  QTest::newRow("letter") << QStringLiteral("x") << QStringLiteral("0") << QStringLiteral("3 ");
  QTest::newRow("twenty") << QStringLiteral("20") << QStringLiteral("15")
                          << QStringLiteral("2.500000000000000 ");
  QTest::newRow("blank") << QString() << QStringLiteral("0") << QStringLiteral("3 ");
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
  QTest::addColumn<QString>("toolTip");  // the full text of a shortened result

  QTest::newRow("exact-zero-empty") << 0.0 << 4 << QStringLiteral(".") << QString() << QString();
  QTest::newRow("rounds-to-zero") << 0.00001 << 4 << QStringLiteral(".")
                                  << QStringLiteral("0.0000 ") << QString();
  QTest::newRow("comma") << 2.5 << 2 << QStringLiteral(",") << QStringLiteral("2,50 ") << QString();
  QTest::newRow("infinity") << std::numeric_limits<double>::infinity() << 4 << QStringLiteral(".")
                            << QStringLiteral("∞ ") << QString();
  // Wider than the cell in its real font: shortened, never clipped into another number.
  QTest::newRow("drops-one-decimal") << -1234567890123.45 << 15 << QStringLiteral(",")
                                     << QStringLiteral("-1234567890123,45000000000000 ")
                                     << QStringLiteral("-1234567890123,450000000000000");
  QTest::newRow("1e30-exponent") << 1e30 << 4 << QStringLiteral(",")
                                 << QStringLiteral("1,0000E+30 ")
                                 << QStringLiteral("1000000000000000000000000000000,0000");
  QTest::newRow("minus-1e25-keeps-sign-and-one")
      << -1e25 << 4 << QStringLiteral(",") << QStringLiteral("-10000000000000000000000000,0 ")
      << QStringLiteral("-10000000000000000000000000,0000");
  QTest::newRow("15-decimals-drops-decimals")
      << 123456789012345678.0 << 15 << QStringLiteral(".")
      << QStringLiteral("123456789012346000.0000000000 ")
      << QStringLiteral("123456789012346000.000000000000000");
  QTest::newRow("largest-double") << std::numeric_limits<double>::max() << 2 << QStringLiteral(".")
                                  << QStringLiteral("1.80E+308 ")
                                  << QStringLiteral("179769313486232") + QString(294, u'0') +
                                         QStringLiteral(".00");
}

void TestCalculator::display() {
  QFETCH(double, value);
  QFETCH(int, digits);
  QFETCH(QString, separator);
  QFETCH(QString, shown);
  QFETCH(QString, toolTip);
  UserLocale locale;
  locale.decimalPoint = separator[0];
  CalculatorFixture f(nullptr, locale);
  f.window.RoundingField()->setText(QString::number(digits));
  f.state.rows[7].result = value;
  f.state.rows[7].SetFormula(u"  1+1  ");
  f.state.rows[kHiddenRecord].result = 5;
  f.window.MakeScreen();
  QCOMPARE(f.Result(7), shown);
  QCOMPARE(f.window.ResultLabel(7)->toolTip(), toolTip);
  QLabel* cell = f.window.ResultLabel(7);
  QVERIFY(cell->fontMetrics().horizontalAdvance(shown) <=
          cell->contentsRect().width() - cell->indent());
  QCOMPARE(f.Box(7)->text(), QStringLiteral("1+1"));
  QCOMPARE(f.Result(24), QString());
}

// A shortened result that a recalculation marks carries both reasons, one a line.
void TestCalculator::shortenedAndMarked() {
  CalculatorFixture f;
  f.state.rows[0].SetFormula(u"10^30");
  f.state.rows[1].SetFormula(u"7");
  f.window.Recalculate();
  QCOMPARE(f.Result(0), QStringLiteral("1.0000E+30 "));
  QCOMPARE(f.window.ResultLabel(0)->toolTip(),
           QStringLiteral("1000000000000000000000000000000.0000\n"
                          "Променен при последното преизчисляване"));
  QCOMPARE(f.window.ResultLabel(1)->toolTip(),
           QStringLiteral("Променен при последното преизчисляване"));
  // An edit clears the mark; the full text stays as long as the result is shortened.
  f.Enter(1, QStringLiteral("8"));
  QCOMPARE(f.window.ResultLabel(0)->toolTip(),
           QStringLiteral("1000000000000000000000000000000.0000"));
  f.window.RoundingField()->setText(QStringLiteral("0"));
  QCOMPARE(f.Result(0), QStringLiteral("1E+30 "));
  QCOMPARE(f.window.ResultLabel(0)->toolTip(), QStringLiteral("1000000000000000000000000000000"));
  // A result that fits again has no tool tip.
  f.Enter(0, QStringLiteral("2"));
  QCOMPARE(f.window.ResultLabel(0)->toolTip(), QString());
}

using RowList = QList<int>;

void TestCalculator::recalculationMarks_data() {
  QTest::addColumn<QStringList>("formulas");  // rows 1.., recalculated once
  QTest::addColumn<QString>("digits");
  QTest::addColumn<QString>("row1");  // then entered in row 1, and recalculated again
  QTest::addColumn<RowList>("changed");
  QTest::addColumn<RowList>("dependsBelow");

  QTest::newRow("a row above moves") << QStringList{"10", "SUM(1)*2", "7"} << "4"
                                     << "25" << RowList{2} << RowList{};
  QTest::newRow("a sum of a later row") << QStringList{"5", "SUM(3)*2", "SUM(1)+1"} << "4"
                                        << "7" << RowList{3} << RowList{2};
  QTest::newRow("below the shown decimals") << QStringList{"2.4", "SUM(1)*10"} << "0"
                                            << "2.41" << RowList{} << RowList{};
  QTest::newRow("a wide result shown alike") << QStringList{"123456*10^25", "SUM(1)"} << "4"
                                             << "123456.1*10^25" << RowList{} << RowList{};
}

// The window marks the rows the texts of its cells call for, those before the recalculation
// taken from what the cells showed.
void TestCalculator::recalculationMarks() {
  QFETCH(QStringList, formulas);
  QFETCH(QString, digits);
  QFETCH(QString, row1);
  QFETCH(RowList, changed);
  QFETCH(RowList, dependsBelow);
  CalculatorFixture f;
  f.window.RoundingField()->setText(digits);
  for (int k = 0; k < formulas.size(); ++k) f.state.rows[k].SetFormula(formulas[k]);
  f.window.Recalculate();
  f.Enter(0, row1);
  f.window.Recalculate();
  RowList gotChanged;
  RowList gotDepends;
  for (int row = 0; row < kVisibleRows; ++row) {
    const QString mark = f.window.ResultLabel(row)->accessibleDescription();
    if (mark == u"Променен при последното преизчисляване") gotChanged.append(row + 1);
    if (mark == u"Зависи от ред по-долу: преизчислете още веднъж") gotDepends.append(row + 1);
  }
  QCOMPARE(gotChanged, changed);
  QCOMPARE(gotDepends, dependsBelow);
}

void TestCalculator::functionButtons_data() {
  QTest::addColumn<QString>("before");
  QTest::addColumn<int>("caret");
  QTest::addColumn<QString>("button");
  QTest::addColumn<QString>("after");
  QTest::addColumn<int>("caretAfter");

  QTest::newRow("number-sin") << QStringLiteral("12") << 2 << QStringLiteral("cmdSin")
                              << QStringLiteral("12+SIN()") << 7;
  QTest::newRow("operator-cos") << QStringLiteral("2*") << 2 << QStringLiteral("cmdCos")
                                << QStringLiteral("2*COS()") << 6;
  QTest::newRow("number-pi") << QStringLiteral("12") << 2 << QStringLiteral("cmdPi")
                             << QStringLiteral("12PI") << 4;
  QTest::newRow("start-sin") << QStringLiteral("5") << 0 << QStringLiteral("cmdSin")
                             << QStringLiteral("+SIN()5") << 5;
  QTest::newRow("sqr-icon-button")
      << QStringLiteral("4*") << 2 << QStringLiteral("cmdSqr") << QStringLiteral("4*SQR()") << 6;
  QTest::newRow("yard-inserts-metr")
      << QString() << 0 << QStringLiteral("cmdYard") << QStringLiteral("METR()") << 5;
  QTest::newRow("fahrenheit") << QStringLiteral("(") << 1 << QStringLiteral("cmdFtoC")
                              << QStringLiteral("(F-C()") << 5;
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
