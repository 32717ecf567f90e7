#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFontMetrics>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <algorithm>
#include <functional>
#include <random>

#include "filelisting.h"
#include "formulacommands.h"
#include "frmgetfile.h"

namespace {

void Touch(const QString& path) {
  QFile file(path);
  QVERIFY(file.open(QIODevice::WriteOnly));
}

QStringList Shown(const frmGetFile* form) {
  QStringList names;
  const auto* list = form->findChild<QListWidget*>("FileList");
  for (int i = 0; i < list->count(); ++i) names.append(list->item(i)->text());
  return names;
}

// Runs `act` on the chooser as soon as its modal loop shows it. Should `act` leave it open,
// the chooser is rejected after a while and the test fails instead of hanging.
void WhenShown(std::function<void(frmGetFile*)> act) {
  auto* poll = new QTimer;
  poll->setInterval(10);
  QObject::connect(poll, &QTimer::timeout, [poll, act] {
    auto* form = qobject_cast<frmGetFile*>(QApplication::activeModalWidget());
    if (!form || !form->isVisible()) return;
    poll->stop();
    poll->deleteLater();
    act(form);
    QTimer::singleShot(3000, form, [form] {
      if (!form->isVisible()) return;
      form->reject();
      QFAIL("the chooser stayed open");
    });
  });
  poll->start();
}

// The real chooser; every other question is recorded, never shown.
class ChooserOnlyDialogs final : public Dialogs {
 public:
  explicit ChooserOnlyDialogs(QtDialogs::FileChooser chooser) : m_chooser(std::move(chooser)) {}
  QStringList messages;

  bool Question(const QString& text, const QString&) override {
    messages.append(text);
    return false;
  }
  void Message(const QString& text, const QString&) override { messages.append(text); }
  bool YesNo(const QString& text, bool, QWidget*) override {
    messages.append(text);
    return false;
  }
  QString InputBox(const QString& prompt, const QString&, const QString&) override {
    messages.append(prompt);
    return {};
  }
  QString ChooseFile(const QString& pattern) override { return m_chooser(pattern, nullptr); }
  std::optional<QFont> ChooseFont(const QFont&) override { return std::nullopt; }

 private:
  QtDialogs::FileChooser m_chooser;
};

}  // namespace

class TestFileChooser : public QObject {
  Q_OBJECT
 private slots:
  void init();
  void sortStrings_data();
  void sortStrings();
  void sortStringsMatchesCodeUnitOrder();
  void matchesPattern_data();
  void matchesPattern();
  void layout();
  void choose_data();
  void choose();
  void patternBoxRebuildsList();
  void patternWithDirectoryIsShortened();
  void readCommandThroughRealChooser();
  void opensOverTheSeamsOwner();

 private:
  std::unique_ptr<QTemporaryDir> m_dir;
};

void TestFileChooser::init() {
  m_dir = std::make_unique<QTemporaryDir>();
  QVERIFY(m_dir->isValid());
  for (const char* name :
       {"B.SPR", "a.SPR", "10.SPR", "low.spr", "note.txt", ".hidden.SPR", "README"})
    Touch(m_dir->filePath(name));
  QVERIFY(QDir(m_dir->path()).mkdir("folder.SPR"));
}

void TestFileChooser::sortStrings_data() {
  QTest::addColumn<QStringList>("texts");
  QTest::addColumn<int>("count");
  QTest::addColumn<bool>("descending");
  QTest::addColumn<QStringList>("sorted");
  const auto Row = [](const char* name, const QStringList& texts, int count, bool descending,
                      const QStringList& sorted) {
    QTest::newRow(name) << texts << count << descending << sorted;
  };
  Row("digits-upper-lower", {"B.SPR", "a.SPR", "10.SPR"}, 3, false, {"10.SPR", "B.SPR", "a.SPR"});
  Row("latin-before-cyrillic", {"я", "Я", "z", "Z", "1"}, 5, false, {"1", "Z", "z", "Я", "я"});
  Row("prefix-first", {"ab", "a", "abc", "a"}, 4, false, {"a", "a", "ab", "abc"});
  Row("descending", {"b", "c", "a", "B"}, 4, true, {"c", "b", "a", "B"});
  Row("count-limits-range", {"c", "b", "a"}, 2, false, {"b", "c", "a"});
  Row("count-zero", {"b", "a"}, 0, false, {"b", "a"});
  Row("count-one", {"b", "a"}, 1, false, {"b", "a"});
  Row("surrogates-by-code-unit", {QStringLiteral("\uFF01"), QString::fromUtf8("\xF0\x9F\x98\x80")},
      2, false, {QString::fromUtf8("\xF0\x9F\x98\x80"), QStringLiteral("\uFF01")});
}

void TestFileChooser::sortStrings() {
  QFETCH(QStringList, texts);
  QFETCH(int, count);
  QFETCH(bool, descending);
  QFETCH(QStringList, sorted);
  SortStrings(texts, count, descending);
  QCOMPARE(texts, sorted);
}

void TestFileChooser::sortStringsMatchesCodeUnitOrder() {
  // Many lengths, so that every gap sequence is walked.
  std::mt19937 random(7);
  const QString alphabet = QStringLiteral("09AZaz_.АЯая");
  for (int size = 2; size < 70; ++size) {
    QStringList texts;
    for (int i = 0; i < size; ++i) {
      QString text;
      for (int n = random() % 4; n >= 0; --n) text += alphabet[random() % alphabet.size()];
      texts.append(text);
    }
    QStringList expected = texts;
    std::sort(expected.begin(), expected.end(), [](const QString& a, const QString& b) {
      return std::u16string_view(reinterpret_cast<const char16_t*>(a.utf16()), a.size()) <
             std::u16string_view(reinterpret_cast<const char16_t*>(b.utf16()), b.size());
    });
    SortStrings(texts, texts.size(), false);
    QCOMPARE(texts, expected);
  }
}

void TestFileChooser::matchesPattern_data() {
  QTest::addColumn<QString>("name");
  QTest::addColumn<QString>("pattern");
  QTest::addColumn<bool>("matches");
  const auto Row = [](const char* name, const QString& file, const QString& pattern, bool matches) {
    QTest::newRow(name) << file << pattern << matches;
  };
  Row("lower-case-file", "abc.spr", "*.SPR", true);
  Row("cyrillic-case", "ФАЙЛ.SPR", "файл.spr", true);
  Row("suffix-after-extension", "abc.SPR.bak", "*.SPR", false);
  Row("star-dot-star-no-extension", "README", "*.*", true);
  Row("several-patterns", "a.txt", "*.SPR; *.TXT", true);
  Row("question-one-character", "a.SPR", "?.SPR", true);
  Row("question-not-two", "ab.SPR", "?.SPR", false);
  Row("regex-characters-literal", "a+b.SPR", "a+b.*", true);
  Row("brackets-literal", "a1.SPR", "a[1].SPR", false);
  Row("empty-pattern", "x", QString(), false);
}

void TestFileChooser::matchesPattern() {
  QFETCH(QString, name);
  QFETCH(QString, pattern);
  QFETCH(bool, matches);
  QCOMPARE(MatchesPattern(name, pattern), matches);
}

void TestFileChooser::layout() {
  frmGetFile form;
  // The design is 199 pixels wide; a window manager needs more for the whole title, and the
  // controls stay in the middle of the wider window.
  QCOMPARE(form.height(), 288);
  QFont bold = QApplication::font();
  bold.setBold(true);
  const int titleWidth = QFontMetrics(bold).horizontalAdvance(form.windowTitle());
  QVERIFY(form.width() >= std::max(199, titleWidth + 100));
  const int shift = (form.width() - 199) / 2;
  // The top panel starts left of the window, so the pattern box sits 8 pixels in.
  QCOMPARE(form.findChild<QLineEdit*>("txtSearchSpec")->mapTo(&form, QPoint(0, 0)),
           QPoint(8 + shift, 8));
  QCOMPARE(form.findChild<QPushButton*>("cmdCancel")->mapTo(&form, QPoint(0, 0)),
           QPoint(102 + shift, 252));
  const auto* list = form.findChild<QListWidget*>("FileList");
  QStringList tabOrder;
  const QStringList named = {"FileList", "cmdOK", "cmdCancel", "txtSearchSpec"};
  for (QWidget* w = list->nextInFocusChain(); tabOrder.size() < 3; w = w->nextInFocusChain())
    if (named.contains(w->objectName())) tabOrder.append(w->objectName());
  QCOMPARE(tabOrder, QStringList({"cmdOK", "cmdCancel", "txtSearchSpec"}));
}

// Every way to take a name or to give up; a cancelled chooser gives no name.
void TestFileChooser::choose_data() {
  QTest::addColumn<QString>("how");
  QTest::addColumn<QString>("name");
  QTest::newRow("enter-takes-first") << QStringLiteral("enter") << QStringLiteral("10.SPR");
  QTest::newRow("keypad-enter") << QStringLiteral("keypad") << QStringLiteral("10.SPR");
  QTest::newRow("down-then-ok-button") << QStringLiteral("down-ok") << QStringLiteral("B.SPR");
  QTest::newRow("double-click") << QStringLiteral("double-click") << QStringLiteral("a.SPR");
  QTest::newRow("escape-in-list") << QStringLiteral("escape") << QString();
  QTest::newRow("cancel-button") << QStringLiteral("cancel") << QString();
  QTest::newRow("close-box") << QStringLiteral("close") << QString();
  QTest::newRow("escape-in-pattern-box") << QStringLiteral("escape-pattern") << QString();
  QTest::newRow("escape-on-ok-button") << QStringLiteral("escape-ok") << QString();
  QTest::newRow("enter-on-cancel-button") << QStringLiteral("enter-cancel") << QString();
}

void TestFileChooser::choose() {
  QFETCH(QString, how);
  QFETCH(QString, name);
  Touch(m_dir->filePath("..."));  // a dot file is never listed
  QStringList shown;
  WhenShown([&](frmGetFile* form) {
    shown = Shown(form);
    auto* list = form->findChild<QListWidget*>("FileList");
    auto* cancel = form->findChild<QPushButton*>("cmdCancel");
    if (how == u"enter") QTest::keyClick(list, Qt::Key_Return);
    if (how == u"keypad") QTest::keyClick(list, Qt::Key_Enter, Qt::KeypadModifier);
    if (how == u"down-ok") {
      QTest::keyClick(list, Qt::Key_Down);
      QTest::mouseClick(form->findChild<QPushButton*>("cmdOK"), Qt::LeftButton);
    }
    if (how == u"double-click") {
      const QRect rect = list->visualItemRect(list->item(2));
      QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, rect.center());
      QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, rect.center());
    }
    if (how == u"escape") QTest::keyClick(list, Qt::Key_Escape);
    if (how == u"cancel") QTest::mouseClick(cancel, Qt::LeftButton);
    if (how == u"close") form->close();
    if (how == u"escape-pattern")
      QTest::keyClick(form->findChild<QLineEdit*>("txtSearchSpec"), Qt::Key_Escape);
    if (how == u"escape-ok")
      QTest::keyClick(form->findChild<QPushButton*>("cmdOK"), Qt::Key_Escape);
    if (how == u"enter-cancel") {
      cancel->setFocus();
      QTest::keyClick(cancel, Qt::Key_Return);
    }
  });
  QString pattern = QStringLiteral("*.SPR");
  QCOMPARE(ChooseFileEntry(pattern, m_dir->path(), nullptr), name);
  QCOMPARE(shown, QStringList({"10.SPR", "B.SPR", "a.SPR", "low.spr"}));
}

void TestFileChooser::patternBoxRebuildsList() {
  QList<QStringList> seen;
  WhenShown([&](frmGetFile* form) {
    auto* patternBox = form->findChild<QLineEdit*>("txtSearchSpec");
    seen.append(Shown(form));
    // Getting the focus selects the whole pattern, so typing replaces it.
    patternBox->setFocus();
    QTRY_COMPARE(patternBox->selectedText(), QStringLiteral("*.*"));
    QTest::keyClicks(patternBox, QStringLiteral("*.zzz"));
    seen.append(Shown(form));
    patternBox->clear();
    QTest::keyClicks(patternBox, QStringLiteral("*.TXT"));
    seen.append(Shown(form));
    QTest::mouseClick(form->findChild<QPushButton*>("cmdOK"), Qt::LeftButton);
  });
  QString pattern = QStringLiteral("*.*");  // the pattern box's own text: listed all the same
  QCOMPARE(ChooseFileEntry(pattern, m_dir->path(), nullptr), QStringLiteral("note.txt"));
  QCOMPARE(seen,
           QList<QStringList>(
               {{"10.SPR", "B.SPR", "README", "a.SPR", "low.spr", "note.txt"}, {}, {"note.txt"}}));
}

void TestFileChooser::patternWithDirectoryIsShortened() {
  QString boxText;
  WhenShown([&](frmGetFile* form) {
    boxText = form->findChild<QLineEdit*>("txtSearchSpec")->text();
    form->reject();
  });
  QString pattern = QStringLiteral("/abcdefghijklmnop");
  QCOMPARE(ChooseFileEntry(pattern, m_dir->path(), nullptr), QString());
  QCOMPARE(pattern, QStringLiteral("abcdefghijkl"));
  QCOMPARE(boxText, pattern);
}

void TestFileChooser::readCommandThroughRealChooser() {
  QFile file(m_dir->filePath("low.spr"));
  QVERIFY(file.open(QIODevice::WriteOnly));
  file.write("\"t\"\r\n\"7*6\"\r\n");
  file.close();
  TableState state(m_dir->path());
  ChooserOnlyDialogs dialogs(MakeFileChooser(state));
  WhenShown([](frmGetFile* form) {
    auto* list = form->findChild<QListWidget*>("FileList");
    list->setCurrentRow(list->count() - 1);
    QTest::keyClick(list, Qt::Key_Return);
  });
  const ReadOutcome read = ReadFormulaFile(state, dialogs, {});
  QVERIFY(read.status.ok());
  QCOMPARE(dialogs.messages, QStringList());
  QCOMPARE(state.lastFileName, QStringLiteral("low.spr"));
  QCOMPARE(state.rows[0].Trimmed(), QStringLiteral("7*6"));
  QCOMPARE(state.explanation, QStringLiteral("t"));
}

// The real seam opens the chooser over its owner while no window of the program is active.
void TestFileChooser::opensOverTheSeamsOwner() {
  const TableState state(m_dir->path());
  QWidget owner;
  owner.show();
  QtDialogs dialogs(MakeFileChooser(state));
  dialogs.SetOwner(&owner);
  QWidget* parent = nullptr;
  WhenShown([&](frmGetFile* form) {
    parent = form->parentWidget();
    form->reject();
  });
  QCOMPARE(dialogs.ChooseFile(QStringLiteral("*.SPR")), QString());
  QCOMPARE(parent, &owner);
}

QTEST_MAIN(TestFileChooser)
#include "test_filechooser.moc"
