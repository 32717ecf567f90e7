#include <QClipboard>
#include <QContextMenuEvent>
#include <QMenu>
#include <QMimeData>

#include "calculatorfixture.h"

// The clipboard in the window, for a Bulgarian user.
class TestClipboard : public QObject {
  Q_OBJECT
 private slots:
  void init() { m_guard = std::make_unique<ModalGuard>(); }
  void cleanup() { QCOMPARE(m_guard->TakeSeen(), QStringList()); }
  void pasteThenCopy_data();
  void pasteThenCopy();
  void singleKeys_data();
  void singleKeys();

 private:
  std::unique_ptr<ModalGuard> m_guard;
};

const UserLocale kBulgarian = UserLocale::From(QLocale(QLocale::Bulgarian, QLocale::Bulgaria));

// Runs the action captioned `name` of the context menu of `widget`.
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

void TestClipboard::pasteThenCopy_data() {
  for (const char* column : {"entered", "pasted", "asked", "plain", "html"})
    QTest::addColumn<QString>(column);
  for (const char* column : {"how", "row", "answer", "focus", "steps", "writes"})
    QTest::addColumn<int>(column);
  // how: 0 Ctrl+V, 1 Shift+Ins, 2 the box's menu; answer to the one question, -1: none asked;
  // asked: the question, then the message after the paste; plain: the copied text's end;
  // html: "" when not compared.
  // clang-format off
  QTest::newRow("column") << "" << "120,50\n80.25\n1 250,75" << "" << "1\t120.50\t120,5000\n2\t80.25\t80,2500\n3\t1250.75\t1250,7500\n"
      << "<html><head><meta charset=\"utf-8\"></head><body><table>\n<caption>Фактури</caption>\n"
         "<tr><td>1</td><td>120.50</td><td>120,5000</td></tr>\n<tr><td>2</td><td>80.25</td><td>80,2500</td></tr>\n"
         "<tr><td>3</td><td>1250.75</td><td>1250,7500</td></tr>\n</table></body></html>\n" << 0 << 0 << -1 << 3 << 1 << 1;
  QTest::newRow("cells, blank line") << "" << "R&D\t1 250,50\r\n\r\n-80,25 лв.\r\n" << "" << "1\t1250.50 'R&D\t1250,5000\n2\t\t\n3\t-80.25\t-80,2500\n"
      << "" << 0 << 0 << -1 << 3 << 1 << 1;
  QTest::newRow("one to replace, Не") << "\n7" << "1\n2" << "Поставянето ще замени формулата в един ред. Да бъде ли заменена?"
      << "1\t\t\n2\t7\t7,0000\n" << "" << 2 << 0 << 0 << 0 << 1 << 0;
  QTest::newRow("two to replace, Да") << "5\n6" << "1\n2\n3" << "Поставянето ще замени формулите в 2 реда. Да бъдат ли заменени?"
      << "1\t1\t1,0000\n2\t2\t2,0000\n3\t3\t3,0000\n" << "" << 1 << 0 << 1 << 3 << 3 << 1;
  QTest::newRow("past row 25") << "" << "1\n2\n3\n4" << "2 реда от поставения текст не се побират след ред 25 и не са поставени."
      << "24\t1\t1,0000\n25\t2\t2,0000\n" << "" << 0 << 23 << -1 << 24 << 1 << 1;
  QTest::newRow("one left out, wrong") << "" << "abc\n(2\n3"
      << "Един ред от поставения текст не се побира след ред 25 и не е поставен.\nГрешни формули в редове 24, 25."
      << "24\tabc\t\n25\t(2\t\n" << "" << 1 << 23 << -1 << 24 << 1 << 1;
  // clang-format on
}

// Rows pasted through each road, then the table copied out as text and HTML.
void TestClipboard::pasteThenCopy() {
  QFETCH(QString, entered);
  QFETCH(int, how);
  QFETCH(int, row);
  QFETCH(int, answer);
  CalculatorFixture f(nullptr, kBulgarian);
  int writes = 0;
  f.hooks.tableChanged = [&writes] { ++writes; };
  f.window.SetExplanationField(QStringLiteral("Фактури"));
  for (int i = 0; !entered.isEmpty() && i <= entered.count(u'\n'); ++i)
    if (const QString line = entered.section(u'\n', i, i); !line.isEmpty()) f.Enter(i, line);
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
  QFETCH(int, focus);
  QCOMPARE(QApplication::focusWidget(), f.Box(focus));
  QTEST(static_cast<int>(f.window.UndoHistory().count()), "steps");
  QTEST(writes, "writes");
  QTest::keyClick(f.Box(focus), Qt::Key_C, Qt::ControlModifier | Qt::ShiftModifier);
  const QMimeData* copied = QGuiApplication::clipboard()->mimeData();
  QFETCH(QString, plain);
  QCOMPARE(copied->text().right(plain.size()), plain);
  QFETCH(QString, html);
  if (!html.isEmpty()) QCOMPARE(copied->html(), html);
}

void TestClipboard::singleKeys_data() {
  QTest::addColumn<QString>("action");
  QTest::addColumn<QString>("expected");  // the clipboard's text, or the field's after a key
  // clang-format off
  QTest::newRow("Ctrl+C, nothing selected") << "ctrl+c" << "0,3333";
  QTest::newRow("cell: the result") << "Копирай резултата" << "0,3333";
  QTest::newRow("cell: the table") << "Копирай таблицата" << "1\t1/3\t0,3333\n2\t2\t2,0000\n";
  QTest::newRow("keypad decimal, row") << "keypad row" << "2.";
  QTest::newRow("keypad decimal, explanation") << "keypad explanation" << "2,";
  QTest::newRow("one figure at the caret") << "paste 1 250,50\n" << "21250.50";
  QTest::newRow("one line of cells at the caret") << "paste Наем\t5" << "2Наем 5";
  // clang-format on
}

// Ctrl+C and the result cell's menu copy; the keypad's decimal key types a point in a row; one
// pasted line goes in at the caret without being entered.
void TestClipboard::singleKeys() {
  QFETCH(QString, action);
  CalculatorFixture f(nullptr, kBulgarian);
  f.Enter(0, QStringLiteral("1/3"));
  f.Enter(1, QStringLiteral("2"));
  QGuiApplication::clipboard()->setText(action.startsWith(u"paste") ? action.mid(6) : "old");
  QLineEdit* field = action.endsWith(u"explanation") ? f.window.ExplanationField() : f.Box(2);
  field->setFocus();
  QTest::keyClick(field, Qt::Key_2);
  if (action.startsWith(u"keypad")) QTest::keyClick(field, Qt::Key_Comma, Qt::KeypadModifier);
  if (action.startsWith(u"paste")) QTest::keyClick(field, Qt::Key_V, Qt::ControlModifier);
  if (action.startsWith(u"keypad") || action.startsWith(u"paste")) {
    QTEST(field->text(), "expected");
    if (action.startsWith(u"paste")) QCOMPARE(f.window.UndoHistory().count(), 2);  // not entered
    return;
  }
  if (action == u"ctrl+c")
    QTest::keyClick(f.Box(0), Qt::Key_C, Qt::ControlModifier);
  else
    FromMenu(f.window.ResultLabel(0), action);
  QTEST(QGuiApplication::clipboard()->text(), "expected");
}

QTEST_MAIN(TestClipboard)
#include "test_clipboard.moc"
