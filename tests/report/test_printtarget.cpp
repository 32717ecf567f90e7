#include <sys/stat.h>

#include <QDir>
#include <QPlainTextEdit>
#include <QPrinterInfo>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>

#include "diagram.h"
#include "faultydisk.h"
#include "pdftools.h"
#include "printtarget.h"
#include "reportwindow.h"
#include "scripteddialogs.h"
#include "tablestate.h"

// Without any printer the page can go into a PDF file in the start directory.
class TestPrintTarget : public QObject {
  Q_OBJECT
 private slots:
  void initTestCase();
  void noPrinter_data();
  void noPrinter();
  void pdfFaults_data();
  void pdfFaults();

 private:
  QTemporaryDir m_dir;
};

void TestPrintTarget::initTestCase() {
  QVERIFY(m_dir.isValid());
  // A spooler that is not there: the system then has no default printer.
  qputenv("CUPS_SERVER", m_dir.filePath(QStringLiteral("no-spooler.sock")).toLocal8Bit());
  qunsetenv("LPDEST");
  qunsetenv("PRINTER");
  QVERIFY(QPrinterInfo::defaultPrinter().isNull());
}

void TestPrintTarget::noPrinter_data() {
  QTest::addColumn<bool>("offerTaken");
  QTest::addColumn<QString>("name");
  QTest::addColumn<QString>("file");     // expected in the start directory; empty: none
  QTest::addColumn<QString>("message");  // expected failure report; empty: none

  QTest::newRow("name without a full stop")
      << true << QStringLiteral("справка") << QStringLiteral("справка.PDF") << QString();
  QTest::newRow("name with a full stop as typed")
      << true << QStringLiteral("a.b") << QStringLiteral("a.b") << QString();
  QTest::newRow("offer declined") << false << QString() << QString() << QString();
  QTest::newRow("name cancelled") << true << QString() << QString() << QString();
  QTest::newRow("name with a directory refused") << true << QStringLiteral("../x") << QString()
                                                 << QStringLiteral("52: Неправилно име на файл");
}

void TestPrintTarget::noPrinter() {
  QFETCH(bool, offerTaken);
  QFETCH(QString, name);
  QFETCH(QString, file);
  QFETCH(QString, message);

  QTemporaryDir start;
  TableState state;
  ScriptedDialogs dialogs;
  dialogs.AnswerQuestion(offerTaken);
  if (offerTaken) dialogs.AnswerInput(name);
  DefaultPrintTarget target(dialogs, state);
  state.startDirectory = start.path();  // a later start directory is the one the job takes
  ReportWindow window(dialogs, target);
  window.ShowReport(QStringLiteral("ред едно\r\nред две\r\n"));
  window.Viewer()->findChild<QToolButton*>(QStringLiteral("cmdPrint"))->click();

  QCOMPARE(dialogs.Pending(), 0);
  const auto questions = dialogs.Of(QStringLiteral("question"));
  QCOMPARE(questions.size(), 1);
  QVERIFY(questions[0].text.startsWith(QStringLiteral("484: Няма принтер по подразбиране")));
  const auto messages = dialogs.Of(QStringLiteral("message"));
  QCOMPARE(messages.size(), message.isEmpty() ? 0 : 1);
  if (!message.isEmpty()) QCOMPARE(messages[0].text, message);

  QCOMPARE(DirectoryEntries(start.path()), file.isEmpty() ? QStringList() : QStringList{file});
  if (!file.isEmpty()) {
    QCOMPARE(pdftools::PageCount(QDir(start.path()).filePath(file)), 1);
    QVERIFY(pdftools::Text(QDir(start.path()).filePath(file)).contains(QStringLiteral("ред две")));
  }
  window.Close();
}

// The PDF goes under the user's name complete or not at all, and never over a formula file,
// through a link, or over another file without a question.
void TestPrintTarget::pdfFaults_data() {
  QTest::addColumn<bool>("chart");      // printed from the chart window, else the report
  QTest::addColumn<QString>("name");    // typed; a file of that name is there before
  QTest::addColumn<QString>("before");  // "file", "link" (to a file outside), "fifo", "" nothing
  QTest::addColumn<int>("replace");     // answer to the replace question; -1: not asked
  QTest::addColumn<bool>("fullDisk");
  QTest::addColumn<QString>("message");      // empty: none
  QTest::addColumn<QStringList>("entries");  // the start directory afterwards
  QTest::addColumn<bool>("written");         // a complete PDF stands at the name

  const QString full = QStringLiteral("61: Дискът е пълен");
  const QString reserved = QStringLiteral(
      "Името „%1“ е запазено за файлове с формули (.SPR). Изберете друго име за PDF файла.");
  const QStringList kept{"a.PDF"};
  const auto Row = [](const char* tag, bool chart, const char* name, const char* before,
                      int replace, bool fullDisk, const QString& message,
                      const QStringList& entries, bool written) {
    QTest::newRow(tag) << chart << QString(name) << QString(before) << replace << fullDisk
                       << message << entries << written;
  };
  Row("existing file kept on Не", false, "a.PDF", "file", 0, false, "", kept, false);
  Row("existing file replaced on Да", false, "a.PDF", "file", 1, false, "", kept, true);
  Row("chart over existing file on Да", true, "a.PDF", "file", 1, false, "", kept, true);
  Row("link replaced, never its target", false, "a.PDF", "link", 1, false, "", kept, true);
  Row("formula file refused", false, "budget.SPR", "file", -1, false, reserved.arg("budget.SPR"),
      {"budget.SPR"}, false);
  Row("formula name in lower case refused", false, "b.spr", "", -1, false, reserved.arg("b.spr"),
      {}, false);
  Row("FIFO refused, never replaced", false, "f.PDF", "fifo", -1, false,
      QStringLiteral("58: Под това име има папка, устройство или канал, а не файл"), {"f.PDF"},
      false);
  Row("full disk, report", false, "a.PDF", "file", 1, true, full, {"a.PDF", "filler"}, false);
  Row("full disk, chart", true, "c.PDF", "", -1, true, full, {"filler"}, false);
}

void TestPrintTarget::pdfFaults() {
  QFETCH(bool, chart);
  QFETCH(QString, name);
  QFETCH(QString, before);
  QFETCH(int, replace);
  QFETCH(bool, fullDisk);
  QFETCH(QString, message);
  QFETCH(QStringList, entries);
  QFETCH(bool, written);

  QTemporaryDir root;
  const QDir dir(root.path());
  QVERIFY(dir.mkdir("start") && dir.mkdir("outside"));
  TableState state;
  state.startDirectory = dir.filePath("start");
  std::unique_ptr<ScopedTmpfs> disk;
  if (fullDisk) {
    disk = std::make_unique<ScopedTmpfs>(state.startDirectory, 16);
    if (!disk->Mounted()) QSKIP(qPrintable(disk->Why()));
  }
  const QString target = QDir(state.startDirectory).filePath(name);
  WriteAll(dir.filePath("outside/secret"), "secret");
  if (before == "file") WriteAll(target, "old");
  if (before == "link") QVERIFY(QFile::link("../outside/secret", target));
  if (before == "fifo") QVERIFY(PlantEntry("fifo", target));
  if (fullDisk) QVERIFY(disk->FillUp());

  ScriptedDialogs dialogs;
  dialogs.AnswerQuestion(true);
  dialogs.AnswerInput(name);
  if (replace >= 0) dialogs.AnswerQuestion(replace == 1);
  DefaultPrintTarget printTarget(dialogs, state);
  if (chart) {
    Diagram window(state, dialogs, printTarget);
    QCOMPARE(window.Print(), written);
  } else {
    ReportWindow window(dialogs, printTarget);
    window.ShowReport(QStringLiteral("ред едно\r\n"));
    window.Viewer()->findChild<QToolButton*>(QStringLiteral("cmdPrint"))->click();
    window.Close();
  }

  const auto asked = dialogs.Of(QStringLiteral("yesno"));
  QCOMPARE(asked.size(), replace >= 0 ? 1 : 0);
  if (replace >= 0) {
    QCOMPARE(asked[0].text,
             QStringLiteral("Файлът „%1“ вече съществува. Да бъде ли заменен?").arg(name));
    QCOMPARE(asked[0].defaultText, QStringLiteral("Не"));
  }
  const auto messages = dialogs.Of(QStringLiteral("message"));
  QCOMPARE(messages.size(), message.isEmpty() ? 0 : 1);
  if (!message.isEmpty()) QCOMPARE(messages[0].text, message);
  QCOMPARE(DirectoryEntries(state.startDirectory), entries);  // no temporary file left
  if (before == "fifo")  // still the FIFO, which a PDF reader would wait on forever
    QCOMPARE(EntryKind(target), unsigned(S_IFIFO));
  else
    QCOMPARE(pdftools::PageCount(target), written ? 1 : -1);  // -1: no PDF
  if (before == "file" && !written) QCOMPARE(ReadAll(target), QByteArray("old"));
  QCOMPARE(ReadAll(dir.filePath("outside/secret")), QByteArray("secret"));
  QCOMPARE(dialogs.Pending(), 0);
}

QTEST_MAIN(TestPrintTarget)
#include "test_printtarget.moc"
