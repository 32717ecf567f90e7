#include <QDir>
#include <QPlainTextEdit>
#include <QPrinterInfo>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>

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
  state.startDirectory = start.path();
  ScriptedDialogs dialogs;
  dialogs.AnswerQuestion(offerTaken);
  if (offerTaken) dialogs.AnswerInput(name);
  DefaultPrintTarget target(dialogs, state.startDirectory);
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

  const QStringList written = QDir(start.path()).entryList(QDir::Files);
  QCOMPARE(written, file.isEmpty() ? QStringList() : QStringList{file});
  if (!file.isEmpty()) {
    QCOMPARE(pdftools::PageCount(QDir(start.path()).filePath(file)), 1);
    QVERIFY(pdftools::Text(QDir(start.path()).filePath(file)).contains(QStringLiteral("ред две")));
  }
  window.Close();
}

QTEST_MAIN(TestPrintTarget)
#include "test_printtarget.moc"
