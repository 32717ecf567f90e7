#include <sys/prctl.h>
#include <unistd.h>
#include <QDir>
#include <QFile>
#include <QPlainTextEdit>
#include <QPrinterInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>
#include <algorithm>
#include <cerrno>
#include <csignal>
#include <optional>

#include "pdftools.h"
#include "printtarget.h"
#include "reporttext.h"
#include "reportwindow.h"
#include "scripteddialogs.h"
#include "tablestate.h"
#include "testguards.h"

// Prints through a real spooler: a private cupsd with a cups-pdf queue as the default printer.
// The spooler, its configuration and socket live in a temporary directory; cups-pdf only reads
// its settings from /etc/cups, so one file named after the queue is put there and removed again.
// cupsd and the cups-pdf backend run from copies next to the test, so that a security profile
// the system attaches to the installed programs by path (AppArmor's cupsd profile lets cups-pdf
// read /etc/cups/cups-pdf.conf only) does not confine this private spooler, and a /tmp mounted
// without exec rights does not stop it.
class TestReportSpooler : public QObject {
  Q_OBJECT
 public:
  ~TestReportSpooler() override { StopSpooler(); }

 private slots:
  void initTestCase();
  void cleanupTestCase() { StopSpooler(); }
  void printsThroughDefaultPrinter();

 private:
  bool Tool(const QString& program, const QStringList& arguments, QString* output = nullptr);
  QString SpoolerLog() const;
  void StopSpooler();

  // Under /tmp whatever TMPDIR says: the filters run as the spooler's user and must reach it.
  QTemporaryDir m_dir{QStringLiteral("/tmp/vz-report-spooler-XXXXXX")};
  std::optional<QTemporaryDir> m_programs;
  QString m_queue;
  QString m_pdfConfig;
  QProcess m_cupsd;
};

bool TestReportSpooler::Tool(const QString& program, const QStringList& arguments,
                             QString* output) {
  QProcess process;
  process.setProcessChannelMode(QProcess::MergedChannels);
  process.start(program, arguments);
  const bool ok = process.waitForFinished(20000) && process.exitStatus() == QProcess::NormalExit &&
                  process.exitCode() == 0;
  if (output) *output = QString::fromLocal8Bit(process.readAll());
  return ok;
}

QString TestReportSpooler::SpoolerLog() const {
  QFile log(m_dir.filePath(QStringLiteral("log/error_log")));
  return log.open(QIODevice::ReadOnly) ? QString::fromLocal8Bit(log.readAll()) : QString();
}

void TestReportSpooler::StopSpooler() {
  if (m_cupsd.state() != QProcess::NotRunning) {
    m_cupsd.terminate();
    if (!m_cupsd.waitForFinished(10000)) {
      m_cupsd.kill();
      m_cupsd.waitForFinished(5000);
    }
  }
  if (!m_pdfConfig.isEmpty()) {
    QFile::remove(m_pdfConfig);
    m_pdfConfig.clear();
  }
}

void TestReportSpooler::initTestCase() {
  if (geteuid() != 0) QSKIP("the print spooler needs root: cups-pdf writes files only as root");
  const QString cupsd = QStandardPaths::findExecutable(
      QStringLiteral("cupsd"), {QStringLiteral("/usr/sbin"), QStringLiteral("/sbin")});
  const QString lpadmin = QStandardPaths::findExecutable(
      QStringLiteral("lpadmin"), {QStringLiteral("/usr/sbin"), QStringLiteral("/usr/bin")});
  const QString ppd = QStringLiteral("/usr/share/ppd/cups-pdf/CUPS-PDF_opt.ppd");
  if (cupsd.isEmpty() || lpadmin.isEmpty())
    QFAIL(
        "the print spooler cannot start: cupsd or lpadmin is missing (Debian: cups, cups-client)");
  if (!QFile::exists(ppd) || !QFile::exists(QStringLiteral("/usr/lib/cups/backend/cups-pdf")))
    QFAIL("the print spooler cannot start: no cups-pdf queue driver (printer-driver-cups-pdf)");
  QVERIFY(m_dir.isValid());

  // The filters run as the spooler's own user, which must reach the job files.
  QFile::setPermissions(m_dir.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner |
                                          QFile::ReadGroup | QFile::ExeGroup | QFile::ReadOther |
                                          QFile::ExeOther);
  const QDir dir(m_dir.path());
  for (const char* sub :
       {"conf/ppd", "spool/tmp", "cache", "state", "log", "out", "pdfspool", "lib/backend"})
    QVERIFY(dir.mkpath(QString::fromLatin1(sub)));
  QFile::setPermissions(dir.filePath(QStringLiteral("spool/tmp")), QFile::Permissions(0x7777));

  // The spooler's programs: the installed ones, but cupsd and the backend as private copies
  // (the backend runs as root only when no one else may read or run it).
  m_programs.emplace(QCoreApplication::applicationDirPath() +
                     QStringLiteral("/spooler-programs-XXXXXX"));
  QVERIFY(m_programs->isValid());
  const QString serverBin = QStringLiteral("/usr/lib/cups");
  for (const QString& entry : QDir(serverBin).entryList(QDir::AllEntries | QDir::NoDotAndDotDot))
    if (entry != u"backend")
      QVERIFY(QFile::link(serverBin + u'/' + entry, dir.filePath(QStringLiteral("lib/") + entry)));
  const QString backend = m_programs->filePath(QStringLiteral("cups-pdf"));
  const QString spooler = m_programs->filePath(QStringLiteral("cupsd"));
  QVERIFY(QFile::copy(serverBin + QStringLiteral("/backend/cups-pdf"), backend));
  QVERIFY(QFile::setPermissions(backend, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
  QVERIFY(QFile::link(backend, dir.filePath(QStringLiteral("lib/backend/cups-pdf"))));
  QVERIFY(QFile::copy(cupsd, spooler));

  const QString socket = dir.filePath(QStringLiteral("cups.sock"));
  QFile cupsdConf(dir.filePath(QStringLiteral("conf/cupsd.conf")));
  QVERIFY(cupsdConf.open(QIODevice::WriteOnly));
  cupsdConf.write(QStringLiteral("Listen %1\nLogLevel warn\nBrowsing Off\nWebInterface No\n"
                                 "DefaultAuthType None\n"
                                 "<Location />\n  Order allow,deny\n  Allow all\n</Location>\n"
                                 "<Policy default>\n  <Limit All>\n    Order deny,allow\n"
                                 "  </Limit>\n</Policy>\n")
                      .arg(socket)
                      .toLocal8Bit());
  cupsdConf.close();
  QFile filesConf(dir.filePath(QStringLiteral("conf/cups-files.conf")));
  QVERIFY(filesConf.open(QIODevice::WriteOnly));
  filesConf.write(
      QStringLiteral(
          "ServerRoot %1/conf\nServerBin %1/lib\nRequestRoot %1/spool\nTempDir %1/spool/tmp\n"
          "CacheDir %1/cache\nStateDir %1/state\n"
          "ErrorLog %1/log/error_log\nAccessLog %1/log/access_log\n"
          "PageLog %1/log/page_log\n")
          .arg(m_dir.path())
          .toLocal8Bit());
  filesConf.close();

  // Settings left behind by a run that was killed before it could remove them.
  const QDir etc(QStringLiteral("/etc/cups"));
  for (const QString& stale :
       etc.entryList({QStringLiteral("cups-pdf-vz-report-*.conf")}, QDir::Files)) {
    const int pid = stale.section(u'-', 4, 4).section(u'.', 0, 0).toInt();
    if (pid > 0 && kill(pid, 0) != 0 && errno == ESRCH) QFile::remove(etc.filePath(stale));
  }
  m_queue = QStringLiteral("vz-report-%1").arg(QCoreApplication::applicationPid());
  m_pdfConfig = QStringLiteral("/etc/cups/cups-pdf-%1.conf").arg(m_queue);
  QFile pdfConf(m_pdfConfig);
  if (!pdfConf.open(QIODevice::WriteOnly))
    QFAIL(qPrintable("the print spooler cannot start: cannot write " + m_pdfConfig));
  pdfConf.write(QStringLiteral("Out %1/out\nAnonDirName %1/out\nSpool %1/pdfspool\nLog %1/log\n")
                    .arg(m_dir.path())
                    .toLocal8Bit());
  pdfConf.close();

  m_cupsd.setProcessChannelMode(QProcess::MergedChannels);
  // A test that dies without cleaning up takes its spooler with it.
  m_cupsd.setChildProcessModifier([] { prctl(PR_SET_PDEATHSIG, SIGTERM); });
  m_cupsd.start(spooler, {QStringLiteral("-f"), QStringLiteral("-c"),
                          dir.filePath(QStringLiteral("conf/cupsd.conf")), QStringLiteral("-s"),
                          dir.filePath(QStringLiteral("conf/cups-files.conf"))});
  if (!m_cupsd.waitForStarted(10000))
    QFAIL(qPrintable("the print spooler cannot start: " + m_cupsd.errorString()));

  // Every CUPS client of this process, Qt's print support included, talks to this spooler.
  qputenv("CUPS_SERVER", socket.toLocal8Bit());
  qunsetenv("LPDEST");
  qunsetenv("PRINTER");
  bool running = false;
  for (int i = 0; i < 100 && !running && m_cupsd.state() == QProcess::Running; ++i) {
    QString answer;
    running = Tool(QStringLiteral("lpstat"), {QStringLiteral("-r")}, &answer) &&
              answer.contains(QStringLiteral("is running"));
    if (!running) QTest::qWait(100);
  }
  if (!running)
    QFAIL(qPrintable("the print spooler cannot start:\n" +
                     QString::fromLocal8Bit(m_cupsd.readAll()) + SpoolerLog()));

  QString output;
  if (!Tool(
          lpadmin,
          {QStringLiteral("-p"), m_queue, QStringLiteral("-v"),
           QStringLiteral("cups-pdf:/") + m_queue, QStringLiteral("-P"), ppd, QStringLiteral("-E")},
          &output) ||
      !Tool(lpadmin, {QStringLiteral("-d"), m_queue}, &output))
    QFAIL(qPrintable("the cups-pdf queue cannot be set up: " + output + SpoolerLog()));
  QCOMPARE(QPrinterInfo::defaultPrinter().printerName(), m_queue);
}

void TestReportSpooler::printsThroughDefaultPrinter() {
  ModalGuard guard;
  TableState state;
  state.startDirectory = m_dir.path();
  state.rows[0].SetFormula(u"2+3*4");
  state.rows[0].result = 14;
  ScriptedDialogs dialogs;
  DefaultPrintTarget target(dialogs, state);
  ReportWindow window(dialogs, target);
  state.roundingDigits = 2;
  window.ShowReport(ComposeTableReport(state, QStringLiteral("Печат през опашката"), u'.'));
  frmShowSpravki* viewer = window.Viewer();
  QVERIFY(viewer);

  // Enough lines for more than one sheet.
  auto* text = viewer->findChild<QPlainTextEdit*>(QStringLiteral("Text"));
  QVERIFY(text);
  text->moveCursor(QTextCursor::End);
  for (int i = 1; i <= 150; ++i) text->insertPlainText(QStringLiteral("ред %1\n").arg(i));

  viewer->findChild<QToolButton*>(QStringLiteral("cmdPrint"))->click();
  QVERIFY2(dialogs.Log().isEmpty(), qPrintable(dialogs.Log().value(0).text));
  QCOMPARE(guard.TakeSeen(), QStringList());

  // The report is 6 lines (title, rule, header, rule, one row, rule), then 150 more: 156
  // lines. The queue's A4 sheet is 842 points high, 822 inside Qt's 10-point margins; an
  // 8-point line of the fixed-pitch face takes 8 x (1705 + 615) / 2048 = 9.06 points
  // (Liberation Mono's ascent and descent in its 2048 units), 9.04 as Qt rounds them at
  // 1200 dpi. So 90 lines fill the first sheet and 66 go on the second; a sheet broken one
  // line early, or late, or a line lost, shows in these counts.
  constexpr int kExpectedPages = 2;

  const QDir out(m_dir.filePath(QStringLiteral("out")));
  QString printed;
  int pages = -1;
  for (int i = 0; i < 600 && pages != kExpectedPages; ++i) {
    const QStringList files = out.entryList({QStringLiteral("*.pdf")}, QDir::Files);
    QString pending;
    Tool(QStringLiteral("lpstat"), {QStringLiteral("-o")}, &pending);
    if (!files.isEmpty() && pending.trimmed().isEmpty()) {
      printed = out.filePath(files.first());
      pages = pdftools::PageCount(printed);
    }
    if (pages != kExpectedPages) QTest::qWait(100);
  }
  QVERIFY2(!printed.isEmpty(), qPrintable("no PDF from the queue\n" + SpoolerLog()));
  QCOMPARE(pages, kExpectedPages);
  QList<int> linesPerSheet;
  for (int page = 1; page <= pages; ++page) {
    const QStringList lines = pdftools::Text(printed, page, page).split(u'\n');
    linesPerSheet.append(
        static_cast<int>(std::count_if(lines.begin(), lines.end(), [](const QString& line) {
          return !line.trimmed().isEmpty();
        })));
  }
  QCOMPARE(linesPerSheet, (QList<int>{90, 66}));
  viewer->close();
}

QTEST_MAIN(TestReportSpooler)
#include "test_reportspooler.moc"
