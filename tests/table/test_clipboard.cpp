#include <QClipboard>
#include <QContextMenuEvent>
#include <QMenu>
#include <QMimeData>

#include "calculatorfixture.h"

// The clipboard in the window, with the figures of a Bulgarian user unless a row says.
class TestClipboard : public QObject {
  Q_OBJECT
 private slots:
  void init() { m_guard = std::make_unique<ModalGuard>(); }
  void cleanup() { QCOMPARE(m_guard->TakeSeen(), QStringList()); }
  void roundTrip_data();
  void roundTrip();
  void pasteRows_data();
  void pasteRows();
  void singleKeys_data();
  void singleKeys();

 private:
  std::unique_ptr<ModalGuard> m_guard;
};

const UserLocale kBulgarian = UserLocale::From(QLocale(QLocale::Bulgarian, QLocale::Bulgaria));

// Runs the menu action named `name` of the context menu of `widget`.
void FromMenu(QWidget* widget, const QString& name) {
  QContextMenuEvent event(QContextMenuEvent::Mouse, QPoint(4, 4),
                          widget->mapToGlobal(QPoint(4, 4)));
  QApplication::sendEvent(widget, &event);
  auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
  QVERIFY(menu);
  for (QAction* action : menu->actions())
    if (action->text().section(u'\t', 0, 0) == name) action->trigger();
  menu->close();
}

void TestClipboard::roundTrip_data() {
  QTest::addColumn<QString>("locale");
  QTest::addColumn<int>("row");
  QTest::addColumn<QString>("pasted");
  QTest::addColumn<QString>("plain");
  QTest::addColumn<QString>("html");
  const QString head =
      "<html><head><meta charset=\"utf-8\"></head><body><table>\n<caption>Фактури</caption>\n";
  QTest::newRow("bg column") << "bg_BG" << 0 << "120,50\n80.25\n1 250,75"
                             << "1\t120.50\t120,5000\n2\t80.25\t80,2500\n3\t1250.75\t1250,7500\n"
                             << head +
                                    "<tr><td>1</td><td>120.50</td><td>120,5000</td></tr>\n"
                                    "<tr><td>2</td><td>80.25</td><td>80,2500</td></tr>\n"
                                    "<tr><td>3</td><td>1250.75</td><td>1250,7500</td></tr>\n"
                                    "</table></body></html>\n";
  QTest::newRow("en cells, a blank line") << "en_US" << 1 << "R&D\t1,250.50\r\n\r\n(80.25)\r\n"
                                          << "1\t\t\n2\t1250.50 'R&D\t1250.5000\n3\t\t\n"
                                             "4\t-80.25\t-80.2500\n"
                                          << head +
                                                 "<tr><td>1</td><td></td><td></td></tr>\n"
                                                 "<tr><td>2</td><td>1250.50 'R&amp;D</td>"
                                                 "<td>1250.5000</td></tr>\n"
                                                 "<tr><td>3</td><td></td><td></td></tr>\n"
                                                 "<tr><td>4</td><td>-80.25</td>"
                                                 "<td>-80.2500</td></tr>\n</table></body></html>\n";
}

// A column pasted in and the table copied out again, as both kinds of text.
void TestClipboard::roundTrip() {
  QFETCH(QString, locale);
  QFETCH(int, row);
  QFETCH(QString, pasted);
  CalculatorFixture f(nullptr, UserLocale::From(QLocale(locale)));
  f.window.SetExplanationField(QStringLiteral("Фактури"));
  QGuiApplication::clipboard()->setText(pasted);
  QTest::keyClick(f.Box(row), Qt::Key_V, Qt::ControlModifier);
  QTest::keyClick(f.Box(0), Qt::Key_C, Qt::ControlModifier | Qt::ShiftModifier);
  const QMimeData* copied = QGuiApplication::clipboard()->mimeData();
  QTEST(copied->text(), "plain");
  QTEST(copied->html(), "html");
}

void TestClipboard::pasteRows_data() {
  QTest::addColumn<int>("how");              // 0 Ctrl+V, 1 Shift+Ins, 2 the box's menu
  QTest::addColumn<QStringList>("entered");  // rows 1.. entered before, "" for none
  QTest::addColumn<int>("row");
  QTest::addColumn<QString>("pasted");
  QTest::addColumn<int>("answer");         // to the one question; -1: none is asked
  QTest::addColumn<QString>("asked");      // the question, then the message after the paste
  QTest::addColumn<QStringList>("boxes");  // from `row` on
  QTest::addColumn<int>("focus");
  QTest::addColumn<int>("steps");   // undo steps in all
  QTest::addColumn<int>("writes");  // recovery writes by the paste
  const QStringList none;
  QTest::newRow("empty rows") << 0 << none << 1 << "1\n\n3" << -1 << ""
                              << QStringList{"1", "", "3", ""} << 4 << 1 << 1;
  QTest::newRow("one to replace, Не")
      << 1 << QStringList{"", "7"} << 0 << "1\n2" << 0
      << "Поставянето ще замени формулата в един ред. Да бъде ли заменена?" << QStringList{"", "7"}
      << 0 << 1 << 0;
  QTest::newRow("two to replace, Да")
      << 2 << QStringList{"5", "6"} << 0 << "1\n2\n3" << 1
      << "Поставянето ще замени формулите в 2 реда. Да бъдат ли заменени?"
      << QStringList{"1", "2", "3", ""} << 3 << 3 << 1;
  QTest::newRow("past row 25")
      << 0 << none << 23 << "1\n2\n3\n4" << -1
      << "2 реда от поставения текст не се побират след ред 25 и не са поставени."
      << QStringList{"1", "2"} << 24 << 1 << 1;
  QTest::newRow("one left out, wrong") << 1 << none << 23 << "abc\n(2\n3" << -1
                                       << "Един ред от поставения текст не се побира след ред 25 и "
                                          "не е поставен.\nГрешни формули в редове 24, 25."
                                       << QStringList{"abc", "(2"} << 24 << 1 << 1;
  QTest::newRow("one line at the caret") << 0 << none << 2 << "1 250,50\n"
                                         << -1 << "" << QStringList{"1250.50"} << 2 << 0 << 0;
  QTest::newRow("one line of cells")
      << 2 << none << 2 << "Наем\t5" << -1 << "" << QStringList{"Наем 5"} << 2 << 0 << 0;
}

void TestClipboard::pasteRows() {
  QFETCH(int, how);
  QFETCH(QStringList, entered);
  QFETCH(int, row);
  QFETCH(int, answer);
  QFETCH(QStringList, boxes);
  CalculatorFixture f(nullptr, kBulgarian);
  int writes = 0;
  f.commands.tableChanged = [&writes] { ++writes; };
  f.window.SetCommands(f.commands);
  for (int i = 0; i < entered.size(); ++i)
    if (!entered[i].isEmpty()) f.Enter(i, entered[i]);
  writes = 0;
  if (answer >= 0) f.scripted.AnswerQuestion(answer == 1);
  QFETCH(QString, pasted);
  QGuiApplication::clipboard()->setText(pasted);
  f.Box(row)->setFocus();
  if (how == 2)
    FromMenu(f.Box(row), QStringLiteral("&Paste"));
  else
    QTest::keyClick(f.Box(row), how ? Qt::Key_Insert : Qt::Key_V,
                    how ? Qt::ShiftModifier : Qt::ControlModifier);
  QStringList asked;
  for (const auto& entry : f.scripted.Log()) asked.append(entry.text);
  QTEST(asked.join(u'\n'), "asked");
  if (answer >= 0) QCOMPARE(f.scripted.Of("yesno").value(0).defaultText, QStringLiteral("Не"));
  for (int i = 0; i < boxes.size(); ++i) QCOMPARE(f.Box(row + i)->text(), boxes[i]);
  QFETCH(int, focus);
  QCOMPARE(QApplication::focusWidget(), f.Box(focus));
  QTEST(static_cast<int>(f.window.UndoHistory().count()), "steps");
  QTEST(writes, "writes");
}

void TestClipboard::singleKeys_data() {
  QTest::addColumn<QString>("action");
  QTest::addColumn<QString>("expected");  // the clipboard's text, or the field's for a key
  QTest::newRow("Ctrl+C, nothing selected") << "ctrl+c"
                                            << "0,3333";
  QTest::newRow("Ctrl+C, a selection") << "select ctrl+c"
                                       << "1/3";
  QTest::newRow("cell: the result") << "Копирай резултата"
                                    << "0,3333";
  QTest::newRow("cell: the table") << "Копирай таблицата"
                                   << "1\t1/3\t0,3333\n2\t2\t2,0000\n";
  QTest::newRow("keypad decimal, row") << "keypad row"
                                       << "2.";
  QTest::newRow("keypad decimal, explanation") << "keypad explanation"
                                               << "2,";
}

// Ctrl+C and the result cell's menu copy; the keypad's decimal key types a point in a row.
void TestClipboard::singleKeys() {
  QFETCH(QString, action);
  CalculatorFixture f(nullptr, kBulgarian);
  f.Enter(0, QStringLiteral("1/3"));
  f.Enter(1, QStringLiteral("2"));
  QGuiApplication::clipboard()->setText(QStringLiteral("old"));
  if (action.startsWith(u"keypad")) {
    QLineEdit* field = action.endsWith(u"row") ? f.Box(2) : f.window.ExplanationField();
    field->setFocus();
    QTest::keyClick(field, Qt::Key_2);
    QTest::keyClick(field, Qt::Key_Comma, Qt::KeypadModifier);
    QTEST(field->text(), "expected");
    return;
  }
  if (action.startsWith(u"select")) f.Box(0)->selectAll();
  if (action.endsWith(u"ctrl+c"))
    QTest::keyClick(f.Box(0), Qt::Key_C, Qt::ControlModifier);
  else
    FromMenu(f.window.ResultLabel(0), action);
  QTEST(QGuiApplication::clipboard()->text(), "expected");
}

QTEST_MAIN(TestClipboard)
#include "test_clipboard.moc"
