#include <QAbstractButton>
#include <QDialog>
#include <QFontMetrics>
#include <QLibraryInfo>
#include <QMessageBox>
#include <QTranslator>

#include "calculatorfixture.h"
#include "dialogs.h"

// The real message boxes: what the user sees when a question is asked, and that only OK
// confirms it.
class TestCalculatorDialogs : public QObject {
  Q_OBJECT
 private slots:
  void initTestCase();
  // A box the test misses is closed after a while, and the test fails instead of hanging.
  void init() { m_guard = std::make_unique<ModalGuard>(2000); }
  void cleanup() { QCOMPARE(m_guard->TakeSeen(), QStringList()); }
  void windowQuestion_data();
  void windowQuestion();
  void yesNoQuestion_data();
  void yesNoQuestion();
  void boxOverItsWindow_data();
  void boxOverItsWindow();

 private:
  QTranslator m_translator;
  std::unique_ptr<ModalGuard> m_guard;
};

void TestCalculatorDialogs::initTestCase() {
  QVERIFY(m_translator.load(QStringLiteral("qtbase_bg"),
                            QLibraryInfo::path(QLibraryInfo::TranslationsPath)));
  QApplication::installTranslator(&m_translator);
}

// The window's questions in the real box: OK or Отказ, by a click or a key. The box takes the
// focus from the row while it is open; a row to be deleted stays red under it. A new table
// clears every record and keeps the explanation, the file name and the digits.
void TestCalculatorDialogs::windowQuestion_data() {
  QTest::addColumn<QString>("keys");
  QTest::addColumn<int>("row");         // where they are pressed
  QTest::addColumn<QString>("answer");  // a button clicked, or a key pressed in the box
  QTest::addColumn<bool>("cleared");
  QTest::addColumn<QString>("text");
  QTest::addColumn<QColor>("colour");  // the row's while the box is open
  // clang-format off
  QTest::newRow("ok-clears") << "Ctrl+N" << 5 << "ok" << true << "Изчиства таблицата?" << kYellow;
  QTest::newRow("cancel-keeps") << "Ctrl+N" << 5 << "cancel" << false << "Изчиства таблицата?" << kYellow;
  QTest::newRow("Enter takes OK") << "Ctrl+N" << 0 << "Enter" << true << "Изчиства таблицата?" << kYellow;
  QTest::newRow("Esc takes Отказ") << "Ctrl+N" << 0 << "Esc" << false << "Изчиства таблицата?" << kYellow;
  QTest::newRow("delete, cancel keeps") << "Ctrl+Del" << 0 << "cancel" << false << "Изтрива ред 1 ?" << kRed;
  // clang-format on
}

void TestCalculatorDialogs::windowQuestion() {
  QFETCH(QString, keys);
  QFETCH(QString, answer);
  QFETCH(int, row);
  QtDialogs dialogs;
  CalculatorFixture f(&dialogs);
  f.state.rows[0].SetFormula(u"1");
  f.state.rows[0].result = 1;
  f.state.rows[kHiddenRecord].SetFormula(u"9");
  f.state.rows[26].result = 4;
  f.state.lastFileName = QStringLiteral("A.SPR");
  f.window.SetExplanationField(QStringLiteral("Сметка"));
  f.window.RoundingField()->setText(QStringLiteral("2"));
  f.window.MakeScreen();

  QString title, text, cancelText;
  QMessageBox::Icon icon = QMessageBox::Critical;
  QMessageBox::StandardButtons buttons;
  QColor colour;
  AnswerNextModal<QMessageBox>([&](QMessageBox* box) {
    title = box->windowTitle();
    text = box->text();
    icon = box->icon();
    buttons = box->standardButtons();
    cancelText = box->button(QMessageBox::Cancel)->text();
    colour = f.BoxColour(row);
    if (answer == u"Enter" || answer == u"Esc")
      QTest::keyClick(box, answer == u"Enter" ? Qt::Key_Return : Qt::Key_Escape);
    else
      box->button(answer == u"ok" ? QMessageBox::Ok : QMessageBox::Cancel)->click();
  });
  f.Box(row)->setFocus();
  QTest::keySequence(f.Box(row), QKeySequence(keys));
  QCOMPARE(title, QStringLiteral("Verodazava 2.0"));
  QTEST(text, "text");
  QCOMPARE(icon, QMessageBox::NoIcon);
  QCOMPARE(buttons, QMessageBox::Ok | QMessageBox::Cancel);
  QCOMPARE(cancelText.remove(u'&'), QStringLiteral("Отказ"));
  QTEST(colour, "colour");
  QFETCH(bool, cleared);
  for (int k = 0; k < kRecordCount; ++k)
    QCOMPARE(f.state.rows[k].IsCleared(), cleared || (k > 0 && k != kHiddenRecord));
  QCOMPARE(f.state.rows[26].result, cleared ? 0.0 : 4.0);
  QCOMPARE(f.Result(0), cleared ? QString() : QStringLiteral("1.00 "));
  QCOMPARE(QStringList({f.state.explanation, f.state.lastFileName,
                        QString::number(f.state.roundingDigits)}),
           QStringList({"Сметка", "A.SPR", "2"}));
  // The desktop gives the window the focus back; the offscreen platform needs to be asked.
  f.window.activateWindow();
  QVERIFY(QTest::qWaitForWindowActive(&f.window));
  QCOMPARE(QApplication::focusWidget(), f.Box(cleared ? 0 : row));
  QCOMPARE(f.BoxColour(cleared ? 0 : row), kYellow);
}

// The question before something is destroyed: Да and Не, and Enter alone keeps it. The one
// that may be put off: Esc and the close box put it off, only a click acts. Each is asked with
// the text and captions of `seen`, and shows the title, the text, the buttons and the default.
void TestCalculatorDialogs::yesNoQuestion_data() {
  QTest::addColumn<QString>("press");  // a caption clicked, "Enter", "Esc" or "close"
  QTest::addColumn<int>("answer");     // Да/Не: 1 for Да; else the choice
  QTest::addColumn<QStringList>("seen");
  const QStringList yesNo{"Verodazava 2.0", "Да бъде ли заменен?", "Да", "Не", "Не"};
  const QStringList later{"Verodazava 2.0", "?", "Възстанови", "По-късно", "Изтрий", "Възстанови"};
  // clang-format off
  QTest::newRow("Да clicked") << "Да" << 1 << yesNo;
  QTest::newRow("Enter takes Не") << "Enter" << 0 << yesNo;
  QTest::newRow("Esc puts off") << "Esc" << int(Dialogs::Choice::Later) << later;
  QTest::newRow("close box puts off") << "close" << int(Dialogs::Choice::Later) << later;
  QTest::newRow("Изтрий clicked") << "Изтрий" << int(Dialogs::Choice::Second) << later;
  // clang-format on
}

void TestCalculatorDialogs::yesNoQuestion() {
  QFETCH(QString, press);
  QFETCH(QStringList, seen);
  QtDialogs dialogs;
  QStringList got;
  AnswerNextModal<QMessageBox>([&](QMessageBox* box) {
    got << box->windowTitle() << box->text();
    QAbstractButton* pressed = nullptr;
    for (QAbstractButton* button : box->buttons()) {
      got << button->text();
      if (button->text() == press) pressed = button;
    }
    got << (box->defaultButton() ? box->defaultButton()->text() : QString());
    if (press == u"close")
      box->close();
    else if (pressed)
      pressed->click();
    else
      QTest::keyClick(box, press == u"Enter" ? Qt::Key_Return : Qt::Key_Escape);
  });
  QTEST(seen.size() == 5
            ? int(dialogs.YesNo(seen[1], false, nullptr))
            : int(dialogs.FirstSecondOrLater(seen[1], seen[2], seen[4], seen[3], nullptr)),
        "answer");
  QCOMPARE(got, seen);
}

// Each box opens over the window it belongs to, even in the moment after another dialog has
// closed and no window is active yet, and is wide enough for its whole title.
void TestCalculatorDialogs::boxOverItsWindow_data() {
  QTest::addColumn<QString>("kind");
  QTest::addColumn<bool>("activeAtAsking");
  QTest::addColumn<bool>("dialogBetween");
  QTest::addColumn<QString>("title");

  QTest::newRow("message-over-active") << "message" << true << false << "Verodazava 2.0";
  QTest::newRow("message-none-active") << "message" << false << false << "Verodazava 2.0";
  QTest::newRow("question-after-dialog") << "question" << false << true << "Грешна формула.";
  QTest::newRow("input-after-dialog") << "input" << false << true << "Запис на справка";
}

void TestCalculatorDialogs::boxOverItsWindow() {
  QFETCH(QString, kind);
  QFETCH(bool, activeAtAsking);
  QFETCH(bool, dialogBetween);
  QFETCH(QString, title);
  QtDialogs dialogs;
  CalculatorFixture f(&dialogs);
  QWidget viewer;  // a second window of the program, like the report viewer
  viewer.resize(300, 200);
  viewer.show();
  viewer.activateWindow();
  QVERIFY(QTest::qWaitForWindowActive(&viewer));
  viewer.setFocus();
  if (dialogBetween) {
    QDialog earlier(&viewer);
    earlier.show();
    earlier.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&earlier));
    earlier.setFocus();
  }
  if (!activeAtAsking) QApplication::setActiveWindow(nullptr);
  QCOMPARE(QApplication::activeWindow() != nullptr, activeAtAsking);

  QWidget* parent = nullptr;
  int width = 0;
  AnswerNextModal([&](QWidget* box) {
    parent = box->parentWidget();
    width = box->width();
    box->close();
  });
  if (kind == "message") dialogs.Message(QStringLiteral("53: Файлът не е намерен"));
  if (kind == "question") dialogs.Question(QStringLiteral("2+"), title);
  if (kind == "input") dialogs.InputBox(QStringLiteral("Въведете име на файла."), title, {});
  QCOMPARE(parent, &viewer);
  QFont bold = QApplication::font();
  bold.setBold(true);
  QVERIFY2(width >= QFontMetrics(bold).horizontalAdvance(title) + 100, qPrintable(title));
}

QTEST_MAIN(TestCalculatorDialogs)
#include "test_calculatordialogs.moc"
