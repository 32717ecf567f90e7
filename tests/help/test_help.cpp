#include <QApplication>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTest>
#include <QTimer>

#include "frmhelp.h"
#include "helptext.h"
#include "twips.h"

class TestHelp : public QObject {
  Q_OBJECT
 private slots:
  void textShape();
  void textLines_data();
  void textLines();
  void shownWindow();
  void resizeRule_data();
  void resizeRule();
  void closes_data();
  void closes();
  void staysOpen_data();
  void staysOpen();
  void modalTwice();
};

void TestHelp::textShape() {
  const QString text = HelpText();
  QCOMPARE(text.size(), 2096);
  QCOMPARE(text.count(QStringLiteral("\r\n")), kHelpLineCount);
  QCOMPARE(text.count(QLatin1Char('\r')), kHelpLineCount);
  QCOMPARE(text.count(QLatin1Char('\n')), kHelpLineCount);
  QVERIFY(text.endsWith(QStringLiteral("\r\n")));
  const QStringList lines = text.split(QStringLiteral("\r\n"));
  QCOMPARE(lines.size(), kHelpLineCount + 1);  // the last CR LF leaves an empty tail
  for (int i = 0; i < kHelpLineCount; ++i) {
    QVERIFY2(lines[i].startsWith(QStringLiteral("    ")) && lines[i][4] != QLatin1Char(' '),
             qPrintable(QString::number(i + 1)));
  }
  // The paragraph of line 8 joins two pieces with a space on each side.
  QVERIFY(lines[7].contains(QStringLiteral("може да  коригира")));
  QCOMPARE(HelpText(), text);
}

void TestHelp::textLines_data() {
  QTest::addColumn<int>("number");
  QTest::addColumn<QString>("expected");
  QTest::newRow("line-1")
      << 1
      << QStringLiteral(
             "    Предназначението на този калкулатор е да позволява въвеждането на числа и "
             "формули. При натискането на [Enter] се изчислява стойност от формулата на текущия "
             "ред, а при натискане на бутона [калкулатор] се преизчислява цялата таблица.");
  QTest::newRow("line-8")
      << 8
      << QStringLiteral(
             "    Този начин на работа е удобен за събиране на числа, тъй като операторът може да  "
             "коригира данните и да ги преизчисли, докато при обикновените калкулатори трябва да "
             "започне всичко отначало. Това е полезно за счетоводители, които правят засечки на "
             "големи колони от цифри.");
  QTest::newRow("line-10") << 10 << QStringLiteral("    Могат да се ползват и следните изрази:");
  QTest::newRow("line-15") << 15
                           << QStringLiteral(
                                  "    Следващия пример показа използването на функцията SUM:");
  QTest::newRow("line-16") << 16
                           << QStringLiteral(
                                  "    1|25+65                          |         90.0000|");
  QTest::newRow("line-17") << 17
                           << QStringLiteral(
                                  "    2|67+13                          |         80.0000|");
  QTest::newRow("line-18") << 18
                           << QStringLiteral(
                                  "    3|SUM(1)+SUM(2)+278              |        448.0000|");
  QTest::newRow("line-19") << 19
                           << QStringLiteral(
                                  "    4|[SUM(1)>SUM(2),SUM(1),SUM(2)]  |         90.0000|");
}

void TestHelp::textLines() {
  QFETCH(int, number);
  QFETCH(QString, expected);
  QCOMPARE(HelpText().split(QStringLiteral("\r\n")).at(number - 1), expected);
}

void TestHelp::shownWindow() {
  const auto window = ComposeHelp();
  window->show();
  QVERIFY(QTest::qWaitForWindowExposed(window.get()));
  QCOMPARE(window->size(), TwipsSize(12000, 6000));
  QCOMPARE(window->windowTitle(), QStringLiteral("Помощна информация"));
  QPlainTextEdit* text = window->TextBox();
  QCOMPARE(text->pos(), QPoint(Twips(120), Twips(150)));
  QCOMPARE(text->toPlainText().split(QLatin1Char('\n')).mid(0, kHelpLineCount),
           HelpText().split(QStringLiteral("\r\n")).mid(0, kHelpLineCount));
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
  QTest::newRow("shown") << TwipsSize(12000, 6000) << TwipsSize(12000 - 360, 6000 - 650);
  QTest::newRow("larger") << QSize(1000, 700) << QSize(1000 - 24, 700 - 43);
  QTest::newRow("smaller") << QSize(300, 200) << QSize(300 - 24, 200 - 43);
  QTest::newRow("below-margins") << QSize(20, 30) << QSize(0, 0);
  QTest::newRow("narrow-only") << QSize(10, 300) << QSize(0, 300 - 43);
}

void TestHelp::resizeRule() {
  QFETCH(QSize, window);
  QFETCH(QSize, expected);
  const auto help = ComposeHelp();
  help->setMinimumSize(0, 0);
  help->show();
  help->resize(window);
  QCOMPARE(help->size(), window);
  QCOMPARE(help->TextBox()->size(), expected);
  QCOMPARE(help->TextBox()->pos(), QPoint(Twips(120), Twips(150)));
}

void TestHelp::closes_data() {
  QTest::addColumn<QString>("how");
  QTest::newRow("escape-in-text") << "escape-text";
  QTest::newRow("escape-on-window") << "escape-window";
  QTest::newRow("click-in-text") << "click";
  QTest::newRow("click-after-scrolling") << "scroll-click";
}

void TestHelp::closes() {
  QFETCH(QString, how);
  const auto help = ComposeHelp();
  help->show();
  QVERIFY(QTest::qWaitForWindowExposed(help.get()));
  QPlainTextEdit* text = help->TextBox();
  if (how == "escape-text") {
    text->setFocus();
    QTest::keyClick(text, Qt::Key_Escape);
  } else if (how == "escape-window") {
    QTest::keyClick(help.get(), Qt::Key_Escape);
  } else {
    if (how == "scroll-click") text->verticalScrollBar()->setValue(3);
    QTest::mouseClick(text->viewport(), Qt::LeftButton, {}, QPoint(40, 30));
  }
  QVERIFY(!help->isVisible());
  QCOMPARE(help->result(), int(QDialog::Rejected));
}

void TestHelp::staysOpen_data() {
  QTest::addColumn<QString>("how");
  QTest::newRow("page-down") << "pagedown";
  QTest::newRow("arrow-down") << "down";
  QTest::newRow("wheel") << "wheel";
  QTest::newRow("scroll-bar-click") << "bar";
  QTest::newRow("other-key") << "letter";
}

void TestHelp::staysOpen() {
  QFETCH(QString, how);
  const auto help = ComposeHelp();
  help->show();
  QVERIFY(QTest::qWaitForWindowExposed(help.get()));
  QPlainTextEdit* text = help->TextBox();
  text->setFocus();
  QScrollBar* bar = text->verticalScrollBar();
  const QString before = text->toPlainText();
  if (how == "pagedown") {
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
  QVERIFY(help->isVisible());
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
    ShowHelp(nullptr);
    QVERIFY(seen);
  }
  QCOMPARE(sizes.size(), 2);
  QCOMPARE(sizes[0], TwipsSize(12000, 6000));
  QCOMPARE(sizes[1], sizes[0]);
  QCOMPARE(texts[1], texts[0]);
}

QTEST_MAIN(TestHelp)
#include "test_help.moc"
