#include <QAccessible>
#include <QClipboard>
#include <QFrame>
#include <limits>

#include "calculatorfixture.h"

class TestCalculator : public QObject {
  Q_OBJECT
 private slots:
  void init() { m_guard = std::make_unique<ModalGuard>(); }
  void cleanup() { QCOMPARE(m_guard->TakeSeen(), QStringList()); }

  void startScreen();
  void buttons_data();
  void buttons();
  void enterRow_data();
  void enterRow();
  void wrongFormula_data();
  void wrongFormula();
  void formKeys_data();
  void formKeys();
  void roundingField_data();
  void roundingField();
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
  const QFont application = QGuiApplication::font();
  CalculatorFixture f;
  // The window's font stands in for the application's only while the controls are made.
  QCOMPARE(QGuiApplication::font(), application);
  QCOMPARE(f.window.windowTitle(), QStringLiteral("Verodazava 2.0"));
  QCOMPARE(f.window.size(), QSize(753, 520));
  QCOMPARE(f.window.RoundingField()->text(), QStringLiteral("4"));
  QCOMPARE(f.state.roundingDigits, 4);
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

  // The panel: 50 buttons a screen reader tells apart, each with a caption or an icon and a
  // tool tip, none covering another.
  const QList<QPushButton*> buttons = f.window.ButtonPanel()->findChildren<QPushButton*>();
  QCOMPARE(buttons.size(), 50);
  QSet<QString> spoken;
  for (QPushButton* button : buttons) {
    spoken.insert(QAccessible::queryAccessibleInterface(button)->text(QAccessible::Name));
    QVERIFY2(!button->text().isEmpty() || !button->icon().isNull(),
             qPrintable(button->objectName()));
    QVERIFY2(!button->toolTip().isEmpty(), qPrintable(button->objectName()));
    QVERIFY(f.window.ButtonPanel()->rect().contains(button->geometry()));
    for (QPushButton* other : buttons)
      QVERIFY2(other == button || !other->geometry().intersects(button->geometry()),
               qPrintable(button->objectName() + u' ' + other->objectName()));
  }
  QCOMPARE(spoken.size(), 50);

  // Tab walks the rows, the two fields, the commands, then the function buttons.
  QStringList walked;
  for (int i = 0; i < 37; ++i) {
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    walked << QApplication::focusWidget()->objectName();
  }
  QCOMPARE(walked.first(), QStringLiteral("Formula_1"));
  QCOMPARE(walked.sliced(22),
           QStringList({"Formula_23", "Formula_24", "txtH", "txtR", "cmdReadFile", "cmdNew",
                        "cmdSaveFile", "cmdInsert", "cmdDel", "cmdRecalc", "cmdDiagram", "cmdPrint",
                        "cmdHelp", "cmdExit", "cmdSin"}));

  // What a screen reader says for the rows and fields: name|description.
  f.Enter(0, QStringLiteral("2+3"));
  QStringList said;
  for (const char* control : {"Formula_0", "Formula_1", "lblSuma_0", "txtH", "txtR", "Picture1"}) {
    auto* widget = f.window.findChild<QWidget*>(control);
    QVERIFY2(widget, control);
    QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(widget);
    said << accessible->text(QAccessible::Name) + u'|' + accessible->text(QAccessible::Description);
  }
  QCOMPARE(said, QStringList({"Ред 1|Резултат: 5.0000", "Ред 2|", "Резултат, ред 1|", "Обяснение|",
                              "Закръгления (max 15)|", "Панел с бутони|"}));
}

// A button's facts: caption (empty: an icon), tool tip, spoken name and description, place,
// and what a click does: the command it runs, or the text it inserts into an empty row.
void TestCalculator::buttons_data() {
  QTest::addColumn<QString>("button");
  QTest::addColumn<QString>("caption");
  QTest::addColumn<QString>("toolTip");
  QTest::addColumn<QString>("name");
  QTest::addColumn<QString>("description");
  QTest::addColumn<QRect>("geometry");
  QTest::addColumn<QStringList>("ran");
  QTest::addColumn<QString>("inserts");
  // The nine icon commands, 24 pixels apart; the spoken name is the tool tip unless given.
  const auto command = [](const char* button, int left, const char* toolTip,
                          const char* description, const char* ran, const char* name = nullptr) {
    QTest::newRow(button) << QString::fromLatin1(button) << QString() << QString::fromUtf8(toolTip)
                          << QString::fromUtf8(name ? name : toolTip)
                          << QString::fromUtf8(description) << QRect(left, 4, 24, 24)
                          << QStringList{QString::fromUtf8(ran)} << QString();
  };
  command("cmdReadFile", 440, "Чете файл с формули", "Клавиши: F3, Ctrl+O", "read");
  command("cmdNew", 464, "Нова таблица", "Клавиш: Ctrl+N", "? Изчиства таблицата?");
  command("cmdSaveFile", 488, "Записва формулите във файл", "Клавиши: F2, Ctrl+S", "save");
  command("cmdInsert", 512, "Вмъква ред в таблицата", "Клавиш: Ctrl+Ins", "insert");
  command("cmdDel", 536, "Изтрива ред", "Клавиш: Ctrl+Del", "? Изтрива ред 5 ?");
  command("cmdRecalc", 560, "Преизчислява всички редове", "Клавиши: F5, F9", "recalc");
  // Its tool tip is the print button's, so its spoken name is its own.
  command("cmdDiagram", 584, "Печат на таблицата", "Печат на таблицата", "diagram", "Диаграма");
  command("cmdPrint", 608, "Печат на таблицата", "Клавиш: Ctrl+P", "print");
  command("cmdHelp", 632, "Помощ", "Клавиш: F1", "help");
  QTest::newRow("cmdExit") << QStringLiteral("cmdExit") << QStringLiteral("Изход")
                           << QStringLiteral("Изход") << QStringLiteral("Изход")
                           << QStringLiteral("Клавиши: Esc, Ctrl+Q") << QRect(660, 4, 63, 24)
                           << QStringList{QStringLiteral("close")} << QString();
  // Function buttons: the corners of the grid, the icon button, the one without parentheses,
  // captions unlike their text, and the tool tip with two blanks that speech drops. Their
  // description is the tool tip, as Qt has it.
  const auto function = [](const char* button, const char* caption, const char* toolTip,
                           QRect geometry, const char* inserts, const char* name = nullptr) {
    QTest::newRow(button) << QString::fromLatin1(button) << QString::fromUtf8(caption)
                          << QString::fromUtf8(toolTip) << QString::fromUtf8(name ? name : toolTip)
                          << QString::fromUtf8(toolTip) << geometry << QStringList()
                          << QString::fromLatin1(inserts);
  };
  function("cmdSin", "Sin", "Синус", {8, 4, 41, 17}, "SIN()");
  function("cmdFut", "S - F", "Превръща фут в сантиметри", {392, 4, 41, 17}, "SFUT()");
  function("cmdSqr", "", "Корен квадратен", {266, 22, 41, 17}, "SQR()");
  function("cmdFtoC", "F - C", "Преобразува градуси по Фаренхайт в градуси по Целзий",
           {350, 22, 41, 17}, "F-C()");
  function("cmdPi", "Pi", "Числото Pi", {266, 40, 41, 17}, "PI");
  function("cmdYard", "Y - M", "Превръща ярд в метри", {392, 40, 41, 17}, "METR()");
  function("cmdaHcos", "aHCs", "Аркус Косинус Хиперболичен", {50, 58, 41, 17}, "AHCOS()");
  function("cmdaHCsec", "aHCs", "Аркус Косеканс  Хиперболичен", {218, 58, 41, 17}, "AHCSEC()",
           "Аркус Косеканс Хиперболичен");
  function("CmdDay", "Дни", "Показва брой дни от 31.12.1899 до посочена дата", {308, 58, 41, 17},
           "DAY()");
  function("cmdMile", "Миля", "Превръща километри в мили", {392, 58, 41, 17}, "MIL()");
}

void TestCalculator::buttons() {
  QFETCH(QString, button);
  QFETCH(QString, caption);
  QFETCH(QStringList, ran);
  QFETCH(QString, inserts);
  CalculatorFixture f;
  f.state.rows[4].SetFormula(u"2*3");
  f.window.MakeScreen();
  QPushButton* clicked = f.Button(qPrintable(button));
  QVERIFY(clicked);
  QCOMPARE(clicked->text(), caption);
  QCOMPARE(clicked->icon().isNull(), !caption.isEmpty());
  QTEST(clicked->toolTip(), "toolTip");
  QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(clicked);
  QTEST(accessible->text(QAccessible::Name), "name");
  QTEST(accessible->text(QAccessible::Description), "description");
  QTEST(clicked->geometry(), "geometry");

  f.Enter(0, QStringLiteral("1"));  // unsaved, and still the exit asks nothing
  f.Box(4)->setFocus();
  f.Box(4)->clear();
  QCOMPARE(f.Run([&] { QTest::mouseClick(clicked, Qt::LeftButton); }, ran), ran);
  QCOMPARE(f.window.isVisible(), ran != QStringList{QStringLiteral("close")});
  if (!inserts.isEmpty()) QCOMPARE(f.Box(4)->text(), inserts);
}

// A key in a row: Enter stores the formula, shows its result and moves down (not past the last
// row); the arrows, wrapping around, and Tab move on and store nothing.
void TestCalculator::enterRow_data() {
  QTest::addColumn<int>("row");
  QTest::addColumn<int>("key");
  QTest::addColumn<QString>("typed");
  QTest::addColumn<QString>("stored");  // trimmed; after Enter also the box's text
  QTest::addColumn<QString>("result");
  QTest::addColumn<int>("next");

  const int enter = Qt::Key_Return;
  // clang-format off
  QTest::newRow("value") << 1 << enter << "2+3" << "2+3" << "5.0000 " << 2;
  QTest::newRow("equals-sign") << 0 << enter << "=2+3" << "2+3" << "5.0000 " << 1;
  QTest::newRow("blanks-trimmed") << 5 << enter << "  7*2  " << "7*2" << "14.0000 " << 6;
  QTest::newRow("empty-row") << 2 << enter << "" << "" << "" << 3;
  QTest::newRow("zero-shows-empty") << 2 << enter << "3-3" << "3-3" << "" << 3;
  QTest::newRow("last-row-stays") << 24 << enter << "1/4" << "1/4" << "0.2500 " << 24;
  const QString longTail(200, u'1');
  QTest::newRow("long-equals-text-kept") << 0 << enter << "=0*" + longTail << "0*" + longTail
      << "" << 1;
  QTest::newRow("up-wraps") << 0 << int(Qt::Key_Up) << "99" << "" << "" << 24;
  QTest::newRow("down-wraps") << 24 << int(Qt::Key_Down) << "99" << "" << "" << 0;
  QTest::newRow("down") << 7 << int(Qt::Key_Down) << "99" << "" << "" << 8;
  QTest::newRow("up") << 7 << int(Qt::Key_Up) << "99" << "" << "" << 6;
  QTest::newRow("tab") << 3 << int(Qt::Key_Tab) << "1+1" << "" << "" << 4;
  // clang-format on
}

void TestCalculator::enterRow() {
  QFETCH(int, row);
  QFETCH(int, key);
  QFETCH(QString, typed);
  QFETCH(QString, stored);
  QFETCH(int, next);
  CalculatorFixture f;
  // The next row holds text, so the caret can be checked; Tab selects it all, as boxes do.
  if (next != row && key != Qt::Key_Tab) {
    f.Enter(next, QStringLiteral("12345"));
    f.Box(next)->setCursorPosition(3);
  }
  f.Box(row)->setFocus();
  QTest::keyClicks(f.Box(row), typed);
  QTest::keyClick(f.Box(row), Qt::Key(key));
  QCOMPARE(f.Box(row)->text(), key == Qt::Key_Return ? stored : typed);
  if (key == Qt::Key_Return)
    QCOMPARE(f.state.rows[row].Trimmed(), stored);
  else
    QVERIFY(f.state.rows[row].IsCleared());  // never stored
  QCOMPARE(f.state.rows[row].formula.size(), kFormulaWidth);
  QTEST(f.Result(row), "result");
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

  // clang-format off
  QTest::newRow("closing-paren") << "2+3)" << "2+3)" << 3 << "";
  QTest::newRow("letters") << "abc" << "abc" << 0 << "";
  QTest::newRow("leading-blanks") << "   2+3)" << "2+3)" << 6 << "";
  QTest::newRow("leading-point") << ".5)" << ".5)" << 2 << "";
  QTest::newRow("equals-and-blanks") << "= 1)" << "1)" << 2 << "";
  // The error at the end of a long formula stays in view.
  QTest::newRow("long-wrapped") << QString(100, u'1') + u')' << QString(100, u'1') + u')' << 100
                                << QString(64, u'1') + u'\n' + QString(36, u'1') + u')';
  // A common cause is named below the formula.
  QTest::newRow("decimal-comma") << "12,5" << "12,5" << 2
      << "12,5\nДесетичният знак във формулите е точка: 12.5";
  QTest::newRow("lower-case") << "sin(1)" << "sin(1)" << 0
      << "sin(1)\nНепозната функция „sin“; имената се пишат с главни букви: SIN";
  // clang-format on
}

void TestCalculator::wrongFormula() {
  QFETCH(QString, typed);
  QFETCH(QString, stored);
  QFETCH(QString, message);
  CalculatorFixture f;
  f.Enter(3, QStringLiteral("7"));

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
  QTEST(f.Box(3)->selectionStart(), "marked");
  QCOMPARE(f.Box(3)->selectedText().size(), 1);
  // The wrong text is what the next repaint shows.
  f.window.MakeScreen();
  QCOMPARE(f.Box(3)->text(), stored);
}

// Every command key, in a formula box with unsaved text and on a button: the window sees the
// key first, and only the exact modifiers count.
void TestCalculator::formKeys_data() {
  QTest::addColumn<QString>("keys");
  QTest::addColumn<QStringList>("ran");
  const QStringList save{"save"}, read{"read"}, recalc{"recalc"}, insert{"insert"}, close{"close"};
  // clang-format off
  for (const auto& [keys, ran] : std::initializer_list<std::pair<const char*, QStringList>>{
           {"F2", save}, {"Ctrl+S", save}, {"F3", read}, {"Ctrl+O", read}, {"Ctrl+P", {"print"}},
           {"F1", {"help"}}, {"F5", recalc}, {"F9", recalc}, {"Ctrl+N", {"? Изчиства таблицата?"}},
           {"Ctrl+Ins", insert}, {"Ctrl+Num+Ins", insert}, {"Ctrl+Del", {"? Изтрива ред 5 ?"}},
           {"Esc", close}, {"Ctrl+Q", close},
           {"Shift+F2", {}}, {"Ctrl+F2", {}}, {"Alt+F2", {}}, {"Shift+F3", {}}, {"Ctrl+F3", {}},
           {"Alt+F3", {}}, {"Shift+Esc", {}}, {"Ctrl+Esc", {}}, {"Alt+Esc", {}}, {"Shift+F5", {}},
           {"Ctrl+F5", {}}, {"Alt+F5", {}}, {"Ctrl+Shift+S", {}}, {"Del", {}}})
    QTest::newRow(keys) << QString::fromLatin1(keys) << ran;
  // clang-format on
}

void TestCalculator::formKeys() {
  QFETCH(QString, keys);
  QFETCH(QStringList, ran);
  QCOMPARE(QKeySequence(keys).toString(), keys);  // read whole, so a key is pressed
  CalculatorFixture f;
  f.state.rows[4].SetFormula(u"2*3");
  f.window.MakeScreen();
  f.Box(4)->setFocus();
  QTest::keyClicks(f.Box(4), "1+");
  const auto press = [&](QWidget* target) {
    return f.Run([&] { QTest::keySequence(target, QKeySequence(keys)); }, ran);
  };
  QCOMPARE(press(f.Box(4)), ran);
  QCOMPARE(f.window.isVisible(), ran != QStringList{QStringLiteral("close")});
  if (!f.window.isVisible()) return;
  // On a button the command acts on the row last edited, as the button would; the records
  // are already calculated and the row already inserted.
  ran.removeAll(QStringLiteral("recalc"));
  ran.removeAll(QStringLiteral("insert"));
  QCOMPARE(press(f.Button("cmdSin")), ran);
}

// The rounding field, set or typed (after selecting all; "\b" is Backspace): what it keeps and
// how the results show.
void TestCalculator::roundingField_data() {
  QTest::addColumn<QString>("text");
  QTest::addColumn<bool>("typed");
  QTest::addColumn<QString>("shown");
  QTest::addColumn<QString>("result");

  // clang-format off
  QTest::newRow("two") << "2" << false << "2" << "2.50 ";
  QTest::newRow("zero-rounds-away") << "0" << false << "0" << "3 ";
  QTest::newRow("letter") << "x" << false << "0" << "3 ";
  QTest::newRow("twenty") << "20" << false << "15" << "2.500000000000000 ";
  QTest::newRow("blank") << "" << false << "0" << "3 ";
  QTest::newRow("typed-twenty") << "20" << true << "15" << "2.500000000000000 ";
  QTest::newRow("typed-emptied") << "\b" << true << "0" << "3 ";
  QTest::newRow("typed-after-emptied") << "\b3" << true << "3" << "2.500 ";
  // clang-format on
}

void TestCalculator::roundingField() {
  QFETCH(QString, text);
  QFETCH(bool, typed);
  QFETCH(QString, shown);
  QFETCH(QString, result);
  CalculatorFixture f;
  f.Enter(0, QStringLiteral("2.5"));
  f.state.rows[1].result = -2.5;
  f.Box(3)->setText(QStringLiteral("typed, never entered"));
  QLineEdit* field = f.window.RoundingField();
  if (typed) {
    field->setFocus();
    QCOMPARE(field->palette().color(QPalette::Base), kYellow);
    field->selectAll();
    QTest::keyClicks(field, text);
  } else {
    field->setText(text);
  }
  QCOMPARE(field->text(), shown);
  QCOMPARE(f.state.roundingDigits, shown.toInt());
  QCOMPARE(f.Result(0), result);
  QCOMPARE(f.Result(1), u'-' + result);
  QCOMPARE(f.state.rows[0].result, 2.5);  // only the display changes
  QCOMPARE(f.Box(3)->text(), QString());
}

void TestCalculator::display_data() {
  QTest::addColumn<double>("value");
  QTest::addColumn<int>("digits");
  QTest::addColumn<QString>("separator");
  QTest::addColumn<QString>("shown");
  QTest::addColumn<QString>("toolTip");  // the full text of a shortened result

  // clang-format off
  QTest::newRow("exact-zero-empty") << 0.0 << 4 << "." << "" << "";
  QTest::newRow("rounds-to-zero") << 0.00001 << 4 << "." << "0.0000 " << "";
  QTest::newRow("comma") << 2.5 << 2 << "," << "2,50 " << "";
  QTest::newRow("infinity") << std::numeric_limits<double>::infinity() << 4 << "." << "∞ " << "";
  // Wider than the cell in its real font: shortened, never clipped into another number.
  QTest::newRow("drops-one-decimal") << -1234567890123.45 << 15 << ","
      << "-1234567890123,45000000000000 " << "-1234567890123,450000000000000";
  QTest::newRow("1e30-exponent") << 1e30 << 4 << ","
      << "1,0000E+30 " << "1000000000000000000000000000000,0000";
  QTest::newRow("minus-1e25-keeps-sign-and-one") << -1e25 << 4 << ","
      << "-10000000000000000000000000,0 " << "-10000000000000000000000000,0000";
  QTest::newRow("15-decimals-drops-decimals") << 123456789012345678.0 << 15 << "."
      << "123456789012346000.0000000000 " << "123456789012346000.000000000000000";
  QTest::newRow("largest-double") << std::numeric_limits<double>::max() << 2 << "." << "1.80E+308 "
      << QStringLiteral("179769313486232") + QString(294, u'0') + QStringLiteral(".00");
  // clang-format on
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
  QTEST(f.window.ResultLabel(7)->toolTip(), "toolTip");
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
  QCOMPARE(f.window.ResultLabel(0)->toolTip(),
           QStringLiteral("1000000000000000000000000000000.0000\n"
                          "Променен при последното преизчисляване"));
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

  // clang-format off
  QTest::newRow("a row above moves") << QStringList{"10", "SUM(1)*2", "7"} << "4" << "25"
      << RowList{2} << RowList{};
  QTest::newRow("a sum of a later row") << QStringList{"5", "SUM(3)*2", "SUM(1)+1"} << "4" << "7"
      << RowList{3} << RowList{2};
  QTest::newRow("below the shown decimals") << QStringList{"2.4", "SUM(1)*10"} << "0" << "2.41"
      << RowList{} << RowList{};
  QTest::newRow("a wide result shown alike") << QStringList{"123456*10^25", "SUM(1)"} << "4"
      << "123456.1*10^25" << RowList{} << RowList{};
  // clang-format on
}

// The window marks the rows the texts of its cells call for, those before the recalculation
// taken from what the cells showed.
void TestCalculator::recalculationMarks() {
  QFETCH(QStringList, formulas);
  QFETCH(QString, digits);
  QFETCH(QString, row1);
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
  QTEST(gotChanged, "changed");
  QTEST(gotDepends, "dependsBelow");
}

// The window applies the insertion rule at the box's caret; the rule's cases are the row
// editing's, and each button's text is in the buttons table.
void TestCalculator::functionButtons_data() {
  QTest::addColumn<QString>("before");
  QTest::addColumn<int>("caret");
  QTest::addColumn<QString>("button");
  QTest::addColumn<QString>("after");
  QTest::addColumn<int>("caretAfter");

  // clang-format off
  QTest::newRow("number-sin") << "12" << 2 << "cmdSin" << "12+SIN()" << 7;
  QTest::newRow("operator-cos") << "2*" << 2 << "cmdCos" << "2*COS()" << 6;
  QTest::newRow("start-sin") << "5" << 0 << "cmdSin" << "+SIN()5" << 5;
  // clang-format on
}

void TestCalculator::functionButtons() {
  QFETCH(QString, before);
  QFETCH(int, caret);
  QFETCH(QString, button);
  QFETCH(QString, after);
  CalculatorFixture f;
  f.Enter(6, QStringLiteral("1"));
  f.Box(6)->setFocus();
  f.Box(6)->setText(before);
  f.Box(6)->setCursorPosition(caret);
  f.Click(button.toLatin1().constData());
  QCOMPARE(f.Box(6)->text(), after);
  QTEST(f.Box(6)->cursorPosition(), "caretAfter");
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
  // A pasted line break would break the file's one line for the explanation.
  QGuiApplication::clipboard()->setText(QStringLiteral("Отчет\r\nза май\t"));
  field->selectAll();
  field->paste();
  QCOMPARE(f.state.explanation, QStringLiteral("Отчет за май "));
  QCOMPARE(field->text(), f.state.explanation);
}

QTEST_MAIN(TestCalculator)
#include "test_frmcalculator.moc"
