#include <QApplication>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTest>
#include <QTimer>

#include "frmhelp.h"
#include "helptext.h"

namespace {

// The help text as the user reads it: 19 lines, each ended by CR LF.
constexpr char16_t kExpectedHelp[] =
    u"    Предназначението на този калкулатор е да позволява въвеждането на числа и формули."
    u" При натискането на [Enter] се изчислява стойност от формулата на текущия ред, а"
    u" при натискане на бутона [калкулатор] се преизчислява цялата таблица.\r\n"
    u"    За улеснение на оператора са предвидени бутоните в горната лява част на таблицата."
    u" Това са бутони за тригонометрични функции. Аргументите и резултатите са в градуси.\r\n"
    u"    Останалите математически оператори са: (+ - * / ^) събиране, изваждане, умножение,"
    u" деление, повдигане на степен (2^5 е равно на 32). Допуска се използването на скоби.\r\n"
    u"    SUM(3)+SUM(8) ще сумира резултатите от ред 3 и ред 8, като може да се добавят и"
    u" други събираеми или функции.\r\n"
    u"    Дължината на формулата за всеки ред е 255 символа. Закръгленията могат да бъдат от"
    u" нула до 15 разряда след десетичната точка.\r\n"
    u"    Формулите могат да се записват във файл и в последствие да се четат, коригират и"
    u" да се изпълняват отново. За целта може да се добави и кратко обяснение.\r\n"
    u"    Резултатите могат да се отпечатат в текстов вид или във вид на графика."
    u" Ако е записано обяснение, то се посочва като заглавие на отпечатаните документи.\r\n"
    u"    Този начин на работа е удобен за събиране на числа, тъй като операторът може да "
    u" коригира данните и да ги преизчисли, докато при обикновените калкулатори трябва да"
    u" започне всичко отначало. Това е полезно за счетоводители, които правят засечки на"
    u" големи колони от цифри.\r\n"
    u"    Този калкулатор може да бъде полезен също и при проектирането курсови проекти и"
    u" дипломни работи, когате не се използват специализирани програми за автоматизирано"
    u" проектиране.\r\n"
    u"    Могат да се ползват и следните изрази:\r\n"
    u"    X^n - повдига X на степен n\r\n"
    u"    X^(1/n) - корен n-ти от X\r\n"
    u"    DAY(дата 1)-DAY(дата 2) - брой дни между двете дати\r\n"
    u"    LN(X)/LN(Y) - Логаритъм от X при основа Y\r\n"
    u"    Следващия пример показа използването на функцията SUM:\r\n"
    u"    1|25+65                          |         90.0000|\r\n"
    u"    2|67+13                          |         80.0000|\r\n"
    u"    3|SUM(1)+SUM(2)+278              |        448.0000|\r\n"
    u"    4|[SUM(1)>SUM(2),SUM(1),SUM(2)]  |         90.0000|\r\n";

QString ExpectedHelp() {
  return QString::fromUtf16(kExpectedHelp);
}

}  // namespace

class TestHelp : public QObject {
  Q_OBJECT
 private slots:
  void helpText();
  void shownWindow();
  void resizeRule_data();
  void resizeRule();
  void actions_data();
  void actions();
  void modalTwice();
};

void TestHelp::helpText() {
  QCOMPARE(help::HelpText(), ExpectedHelp());
  QCOMPARE(help::kHelpLineCount, 19);
}

void TestHelp::shownWindow() {
  const auto window = help::ComposeHelp();
  window->show();
  QVERIFY(QTest::qWaitForWindowExposed(window.get()));
  QCOMPARE(window->size(), QSize(800, 400));
  QCOMPARE(window->windowTitle(), QStringLiteral("Помощна информация"));
  QPlainTextEdit* text = window->TextBox();
  QCOMPARE(text->toPlainText(),
           ExpectedHelp().replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
  QCOMPARE(text->verticalScrollBar()->value(), 0);
  QVERIFY(text->verticalScrollBar()->maximum() > 0);  // long enough to scroll at this size
  QCOMPARE(text->palette().color(QPalette::Base), QColor(255, 255, 192));
  QCOMPARE(window->palette().color(QPalette::Window), QColor(0, 255, 255));
  // The cyan stays in the margins; the box's frame and scroll bar are not drawn in it.
  QVERIFY(text->palette().color(QPalette::Window) != QColor(0, 255, 255));
  QVERIFY(text->font().bold());
  QCOMPARE(text->font().pointSizeF(), 9.75);
}

void TestHelp::resizeRule_data() {
  QTest::addColumn<QSize>("window");
  QTest::addColumn<QSize>("expected");
  QTest::newRow("shown") << QSize(800, 400) << QSize(800 - 24, 400 - 43);
  QTest::newRow("larger") << QSize(1000, 700) << QSize(1000 - 24, 700 - 43);
  QTest::newRow("smaller") << QSize(300, 200) << QSize(300 - 24, 200 - 43);
  QTest::newRow("below-margins") << QSize(20, 30) << QSize(0, 0);
  QTest::newRow("narrow-only") << QSize(10, 300) << QSize(0, 300 - 43);
}

void TestHelp::resizeRule() {
  QFETCH(QSize, window);
  QFETCH(QSize, expected);
  const auto help = help::ComposeHelp();
  help->setMinimumSize(0, 0);
  help->show();
  help->resize(window);
  QCOMPARE(help->size(), window);
  QCOMPARE(help->TextBox()->size(), expected);
  QCOMPARE(help->TextBox()->pos(), QPoint(8, 10));
}

// What the reader's keys and clicks do: Esc or a click in the text closes the window; the
// keys, the wheel and the scroll bar scroll it, and nothing edits the text.
void TestHelp::actions_data() {
  QTest::addColumn<QString>("how");
  QTest::addColumn<bool>("closes");
  QTest::newRow("escape-in-text") << "escape-text" << true;
  QTest::newRow("escape-on-window") << "escape-window" << true;
  QTest::newRow("click-in-text") << "click" << true;
  QTest::newRow("click-after-scrolling") << "scroll-click" << true;
  QTest::newRow("page-down") << "pagedown" << false;
  QTest::newRow("arrow-down") << "down" << false;
  QTest::newRow("wheel") << "wheel" << false;
  QTest::newRow("scroll-bar-click") << "bar" << false;
  QTest::newRow("other-key") << "letter" << false;
}

void TestHelp::actions() {
  QFETCH(QString, how);
  QFETCH(bool, closes);
  const auto help = help::ComposeHelp();
  help->show();
  QVERIFY(QTest::qWaitForWindowExposed(help.get()));
  QPlainTextEdit* text = help->TextBox();
  text->setFocus();
  QScrollBar* bar = text->verticalScrollBar();
  const QString before = text->toPlainText();
  if (how == "escape-text") {
    QTest::keyClick(text, Qt::Key_Escape);
  } else if (how == "escape-window") {
    QTest::keyClick(help.get(), Qt::Key_Escape);
  } else if (how == "click" || how == "scroll-click") {
    if (how == "scroll-click") bar->setValue(3);
    QTest::mouseClick(text->viewport(), Qt::LeftButton, {}, QPoint(40, 30));
  } else if (how == "pagedown") {
    QTest::keyClick(text, Qt::Key_PageDown);
  } else if (how == "down") {
    for (int i = 0; i < 40; ++i) QTest::keyClick(text, Qt::Key_Down);
  } else if (how == "wheel") {
    QWheelEvent wheel(QPointF(40, 30), text->viewport()->mapToGlobal(QPointF(40, 30)), {},
                      QPoint(0, -240), Qt::NoButton, {}, Qt::NoScrollPhase, false);
    QApplication::sendEvent(text->viewport(), &wheel);
  } else if (how == "bar") {
    QTest::mouseClick(bar, Qt::LeftButton, {}, QPoint(bar->width() / 2, bar->height() - 30));
  } else {
    QTest::keyClicks(text, QStringLiteral("ab"));
  }
  QCOMPARE(help->isVisible(), !closes);
  if (closes) {
    QCOMPARE(help->result(), int(QDialog::Rejected));
    return;
  }
  if (how != "letter") QVERIFY2(bar->value() > 0, "the text did not scroll");
  QCOMPARE(text->toPlainText(), before);  // the keyboard never edits the help
}

void TestHelp::modalTwice() {
  QList<QSize> sizes;
  QStringList texts;
  for (int round = 0; round < 2; ++round) {
    bool seen = false;
    QTimer::singleShot(0, this, [&] {
      auto* help = qobject_cast<frmHelp*>(QApplication::activeModalWidget());
      if (!help) return;
      seen = true;
      sizes.append(help->size());
      texts.append(help->TextBox()->toPlainText());
      QTest::keyClick(help, Qt::Key_Escape);
    });
    // Never hang on a window the first shot missed.
    QTimer::singleShot(3000, this, [] {
      if (QWidget* modal = QApplication::activeModalWidget()) modal->close();
    });
    help::ShowHelp(nullptr);
    QVERIFY(seen);
  }
  QCOMPARE(sizes.size(), 2);
  QCOMPARE(sizes[0], QSize(800, 400));
  QCOMPARE(sizes[1], sizes[0]);
  QCOMPARE(texts[0], ExpectedHelp().replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
  QCOMPARE(texts[1], texts[0]);
}

QTEST_MAIN(TestHelp)
#include "test_help.moc"
