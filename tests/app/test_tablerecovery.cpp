#include <sys/wait.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QLockFile>
#include <QPrinter>
#include <QProcess>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTest>
#include <csignal>
#include <memory>

#include "calculatorapp.h"
#include "faultydisk.h"
#include "fixedprinttarget.h"
#include "quitsignals.h"
#include "scripteddialogs.h"
#include "tablerecovery.h"
#include "tablestate.h"
#include "testguards.h"

namespace {

const QString kRecoverQuestion =
    QStringLiteral("Таблицата от последната работа не е записана. Да се възстанови ли?");

// The field of a cleared record: its 255 NULs between quotes.
QByteArray Cleared(int count) {
  return (QByteArray("\"") + QByteArray(255, '\0') + "\"\r\n").repeated(count);
}

// A lock that a crashed instance left behind: taken by a process that is gone.
void LeaveStaleLock(const QString& path) {
  const pid_t child = fork();
  if (child == 0) {
    QLockFile lock(path);
    _exit(lock.tryLock(0) ? 0 : 1);  // no destructor: the lock file stays
  }
  int status = 0;
  QCOMPARE(waitpid(child, &status, 0), child);
  QCOMPARE(WEXITSTATUS(status), 0);
  QVERIFY(QFile::exists(path));
}

// Explanation "Сметка", rows 25+65 and SUM(1)*2.
QByteArray SmetkaTable() {
  return QByteArray("\"\xD1\xEC\xE5\xF2\xEA\xE0\"\r\n\"25+65\"\r\n\"SUM(1)*2\"\r\n") + Cleared(24);
}

// A left table whose first row holds `formula`.
QByteArray Table(const QString& formula) {
  return "\"\"\r\n\"" + formula.toLatin1() + "\"\r\n";
}

// One running program: its table, questions, windows and recovery slot.
struct Instance {
  explicit Instance(const QString& folder)
      : recovery(folder, dialogs), app(state, dialogs, target, UserLocale{}, &recovery) {
    app.Window().show();
  }
  QLineEdit* Box(int row) { return app.Window().FormulaBox(row); }
  // The row is entered and its recovery write done.
  void Enter(int row, const QString& text) {
    Box(row)->setText(text);
    QTest::keyClick(Box(row), Qt::Key_Return);
    recovery.Flush();
  }
  QString Result(int row) { return app.Window().ResultLabel(row)->text(); }

  TableState state{QDir::currentPath()};
  ScriptedDialogs dialogs;
  QPrinter printer;  // nothing is printed
  FixedPrintTarget target{printer};
  TableRecovery recovery;
  CalculatorApp app;
};

// The program as main runs it, offscreen, until a signal ends it: the table SmetkaTable()
// typed, its explanation last and left to the write once the event loop is idle.
int RunWindowUntilSignal(const QString& folder) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  int argc = 1;
  char name[] = "window";
  char* argv[] = {name, nullptr};
  QApplication application(argc, argv);
  {
    const QuitOnSignals quitOnSignals;
    Instance program(folder);
    program.app.RecoverUnsavedTable(false);
    program.Enter(0, QStringLiteral("25+65"));
    program.Enter(1, QStringLiteral("SUM(1)*2"));
    program.app.Window().ExplanationField()->setText(QStringLiteral("Сметка"));
    if (::write(STDOUT_FILENO, "typed\n", 6) != 6) return 1;
    QApplication::exec();
  }
  QuitOnSignals::EndAsReceived();
  return 0;
}

}  // namespace

// The table outlives the program: recovery files in the state folder.
class TestTableRecovery : public QObject {
  Q_OBJECT
 public:
  // Run again as a writer to be killed: keeps writing its table into the folder it is given.
  static void initMain() {
    if (qEnvironmentVariableIsSet("VZ_RUN_WINDOW"))
      std::exit(RunWindowUntilSignal(qEnvironmentVariable("VZ_RUN_WINDOW")));
    const QString folder = qEnvironmentVariable("VZ_KEEP_WRITING");
    if (folder.isEmpty()) return;
    ScriptedDialogs dialogs;
    TableRecovery recovery(folder, dialogs);
    recovery.Claim(!qEnvironmentVariableIsSet("VZ_STARTED_WITH_FILE"));
    TableState state;
    for (int n = 1;; ++n) {
      state.rows[0].SetFormula(QString::number(n));
      recovery.Write(state);
      if (n == 1 && ::write(STDOUT_FILENO, "writing\n", 8) != 8) return;
    }
  }

 private slots:
  void init();
  void cleanup();

  void editsKeepTheFileBytes_data();
  void editsKeepTheFileBytes();
  void startOffersTheLeftTable_data();
  void startOffersTheLeftTable();
  void fileCommandsSettleIt_data();
  void fileCommandsSettleIt();
  void twoInstancesKeepTwoFiles();
  void endedBySignal_data();
  void endedBySignal();
  void unusableFolderIsReportedOnce_data();
  void unusableFolderIsReportedOnce();
  void folderFaults_data();
  void folderFaults();
  void defaultFolder_data();
  void defaultFolder();

 private:
  QString Slot(int n, const char* suffix) const {
    return m_folder + QStringLiteral("/table-%1%2").arg(n).arg(QLatin1String(suffix));
  }
  std::unique_ptr<Instance> Start() { return std::make_unique<Instance>(m_folder); }

  std::unique_ptr<QTemporaryDir> m_dir;
  QString m_folder;
  QString m_previousDir;
  std::unique_ptr<ModalGuard> m_guard;
};

void TestTableRecovery::init() {
  m_dir = std::make_unique<QTemporaryDir>();
  QVERIFY(m_dir->isValid());
  m_folder = m_dir->filePath(QStringLiteral("state/verodazava"));
  // The start directory is elsewhere, and the recovery file never lands there.
  m_previousDir = QDir::currentPath();
  QVERIFY(QDir().mkpath(m_dir->filePath(QStringLiteral("start"))));
  QDir::setCurrent(m_dir->filePath(QStringLiteral("start")));
  m_guard = std::make_unique<ModalGuard>();
}

void TestTableRecovery::cleanup() {
  QCOMPARE(m_guard->TakeSeen(), QStringList());
  m_guard.reset();
  QDir::setCurrent(m_previousDir);
  m_dir.reset();
}

void TestTableRecovery::editsKeepTheFileBytes_data() {
  QTest::addColumn<QStringList>(
      "steps");  // "enter ROW TEXT", "title TEXT", "insert ROW", "delete ROW"
  QTest::addColumn<QByteArray>("bytes");

  QTest::newRow("row entered") << QStringList{"enter 0 2+3"}
                               << QByteArray("\"\"\r\n\"2+3\"\r\n") + Cleared(25);
  QTest::newRow("explanation typed")
      << QStringList{"title Сметка"}
      << QByteArray("\"\xD1\xEC\xE5\xF2\xEA\xE0\"\r\n") + Cleared(26);
  QTest::newRow("row inserted above") << QStringList{"enter 0 2+3", "insert 0"}
                                      << QByteArray("\"\"\r\n\"\"\r\n\"2+3\"\r\n") + Cleared(24);
  QTest::newRow("row deleted") << QStringList{"enter 0 1", "enter 1 2", "delete 0"}
                               << QByteArray("\"\"\r\n\"2\"\r\n") + Cleared(24) +
                                      QByteArray("\"\"\r\n");
}

void TestTableRecovery::editsKeepTheFileBytes() {
  QFETCH(QStringList, steps);
  QFETCH(QByteArray, bytes);
  {
    auto program = Start();
    program->app.RecoverUnsavedTable(false);
    for (const QString& step : steps) {
      const QStringList word = step.split(u' ');
      frmCalculator& window = program->app.Window();
      if (word[0] == u"enter") {
        program->Enter(word[1].toInt(), word[2]);
      } else if (word[0] == u"title") {
        window.ExplanationField()->setText(word[1]);
      } else {
        program->Box(word[1].toInt())->setFocus();
        QTest::keyClick(program->Box(word[1].toInt()), Qt::Key_Home);
        if (word[0] == u"insert") window.InsertRow();
        if (word[0] == u"delete") program->dialogs.AnswerQuestion(true);
        if (word[0] == u"delete") window.DeleteRow();
      }
    }
    QTest::keyClick(program->Box(0), Qt::Key_Escape);
    QVERIFY(!program->app.Window().isVisible());
    QCOMPARE(program->dialogs.Pending(), 0);
  }
  QCOMPARE(ReadAll(Slot(1, ".SPR")), bytes);
  QVERIFY(!QFile::exists(Slot(1, ".lock")));
  QCOMPARE(QDir::current().entryList(QDir::Files), QStringList());
}

void TestTableRecovery::startOffersTheLeftTable_data() {
  QTest::addColumn<QByteArray>("left");  // table-1.SPR as a finished run left it; empty: none
  QTest::addColumn<bool>("crashed");     // its lock is still there, its process gone
  QTest::addColumn<bool>("startedWithFile");
  // -1: no question expected, else the Choice: 0 Възстанови (the only one that restores),
  // 1 Изтрий, 2 put off (Esc)
  QTest::addColumn<int>("answer");
  QTest::addColumn<bool>("leftStays");

  const QByteArray table = SmetkaTable();
  QTest::newRow("nothing left") << QByteArray() << false << false << -1 << false;
  QTest::newRow("left, restored") << table << false << false << 0 << true;
  QTest::newRow("left, deleted") << table << false << false << 1 << false;
  QTest::newRow("left, Esc keeps it") << table << false << false << 2 << true;
  QTest::newRow("crashed, restored") << table << true << false << 0 << true;
  QTest::newRow("left empty") << QByteArray("\"\"\r\n") + Cleared(26) << false << false << -1
                              << false;
  QTest::newRow("started with a file") << table << false << true << -1 << true;
}

void TestTableRecovery::startOffersTheLeftTable() {
  QFETCH(QByteArray, left);
  QFETCH(bool, crashed);
  QFETCH(bool, startedWithFile);
  QFETCH(int, answer);
  QFETCH(bool, leftStays);

  QVERIFY(QDir().mkpath(m_folder));
  if (!left.isEmpty()) {
    WriteAll(Slot(1, ".SPR"), left);
    WriteAll(Slot(1, ".name"), "SMETKA.SPR");
  }
  if (crashed) LeaveStaleLock(Slot(1, ".lock"));

  auto program = Start();
  if (answer >= 0) program->dialogs.AnswerChoice(Dialogs::Choice(answer));
  program->app.RecoverUnsavedTable(startedWithFile);

  const auto asked = program->dialogs.Of(QStringLiteral("choice"));
  QCOMPARE(asked.size(), answer >= 0 ? 1 : 0);
  if (answer >= 0) {
    QCOMPARE(asked[0].text, kRecoverQuestion);
    QCOMPARE(asked[0].defaultText, QStringLiteral("Възстанови|Изтрий|По-късно"));
    QCOMPARE(asked[0].title, QStringLiteral("frmCalculator"));  // over the main window
  }
  // Row 1, row 2's result, the file name and the explanation.
  const QStringList shown{program->Box(0)->text(), program->Result(1), program->state.lastFileName,
                          program->app.Window().ExplanationFieldText()};
  const QStringList restored{"25+65", "180.0000 ", "SMETKA.SPR", "Сметка"};
  QCOMPARE(shown, answer == 0 ? restored : QStringList(4, QString()));
  QCOMPARE(QFile::exists(Slot(1, ".SPR")), leftStays);

  // The first edit goes to the slot this run holds: the taken-over one, or a new one beside
  // a table kept for a later start.
  program->Enter(5, QStringLiteral("7"));
  const int own = leftStays && answer != 0 ? 2 : 1;
  QVERIFY(ReadAll(Slot(own, ".SPR")).contains("\"7\"\r\n"));
  if (own == 2) QCOMPARE(ReadAll(Slot(1, ".SPR")), left);
  QCOMPARE(program->dialogs.Pending(), 0);
}

void TestTableRecovery::fileCommandsSettleIt_data() {
  QTest::addColumn<QString>("command");
  QTest::addColumn<bool>("kept");

  QTest::newRow("saved") << "save" << false;
  QTest::newRow("save refused") << "save a/b" << true;
  QTest::newRow("read") << "read" << false;
  // Nothing is left to recover of a table that ends up empty.
  QTest::newRow("new table") << "new" << false;
  QTest::newRow("new table on an empty one") << "new new" << false;
  QTest::newRow("undone back to empty") << "undo" << false;
  QTest::newRow("undone to a table") << "undo redo" << true;
}

void TestTableRecovery::fileCommandsSettleIt() {
  QFETCH(QString, command);
  QFETCH(bool, kept);

  WriteAll(QStringLiteral("A.SPR"), QByteArray("\"A\"\r\n\"1\"\r\n"));
  auto program = Start();
  program->app.RecoverUnsavedTable(false);
  program->Enter(0, QStringLiteral("2+3"));
  QVERIFY(QFile::exists(Slot(1, ".SPR")));

  const QStringList words = command.split(u' ');
  if (words[0] == u"save") {
    program->dialogs.AnswerInput(words.value(1, QStringLiteral("b")));
    QTest::keyClick(program->Box(1), Qt::Key_F2);
  } else if (words[0] == u"read") {
    program->dialogs.AnswerFile(QStringLiteral("A.SPR"));
    QTest::keyClick(program->Box(1), Qt::Key_F3);
    QCOMPARE(program->Box(0)->text(), QStringLiteral("1"));
  } else if (words[0] == u"undo") {
    QTest::keyClick(program->Box(0), Qt::Key_Z, Qt::ControlModifier);
    if (words.size() > 1) QTest::keyClick(program->Box(0), Qt::Key_Y, Qt::ControlModifier);
  } else {
    for (int i = 0; i < words.size(); ++i) {
      program->dialogs.AnswerQuestion(true);
      program->app.Window().NewTable();
    }
  }
  program->recovery.Flush();
  QCOMPARE(QFile::exists(Slot(1, ".SPR")), kept);
  QVERIFY(program->dialogs.Pending() == 0);
}

void TestTableRecovery::twoInstancesKeepTwoFiles() {
  auto first = Start();
  first->app.RecoverUnsavedTable(false);
  auto second = Start();
  second->app.RecoverUnsavedTable(false);
  first->Enter(0, QStringLiteral("111"));
  second->Enter(0, QStringLiteral("222"));
  first->Enter(1, QStringLiteral("333"));
  QVERIFY(ReadAll(Slot(1, ".SPR")).startsWith("\"\"\r\n\"111\"\r\n\"333\"\r\n"));
  QVERIFY(ReadAll(Slot(2, ".SPR")).startsWith("\"\"\r\n\"222\"\r\n\"\0"));

  // The first one ends; a new start takes its table over, and leaves the running one alone.
  first.reset();
  auto third = Start();
  third->dialogs.AnswerChoice(Dialogs::Choice::First);
  third->app.RecoverUnsavedTable(false);
  QCOMPARE(third->Box(1)->text(), QStringLiteral("333"));
  QCOMPARE(third->dialogs.Of(QStringLiteral("choice")).size(), 1);
  QCOMPARE(third->recovery.FilePath(), Slot(1, ".SPR"));
}

void TestTableRecovery::endedBySignal_data() {
  QTest::addColumn<int>("signal");
  QTest::addColumn<int>("waitMs");  // after the last change, before the signal
  QTest::addColumn<bool>("lockLeft");

  QTest::newRow("SIGTERM ends it as Esc does") << int(SIGTERM) << 0 << false;
  QTest::newRow("kill -9 a second after the last change") << int(SIGKILL) << 1100 << true;
}

// A running program ended by a real signal keeps its last table.
void TestTableRecovery::endedBySignal() {
  QFETCH(int, signal);
  QFETCH(int, waitMs);
  QFETCH(bool, lockLeft);
  QProcess window;
  QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
  environment.insert(QStringLiteral("VZ_RUN_WINDOW"), m_folder);
  window.setProcessEnvironment(environment);
  window.start(QCoreApplication::applicationFilePath(), {});
  QVERIFY(window.waitForReadyRead(30000));
  QTest::qSleep(waitMs);
  QCOMPARE(::kill(static_cast<pid_t>(window.processId()), signal), 0);
  QVERIFY(window.waitForFinished(30000));

  QCOMPARE(window.exitStatus(), QProcess::CrashExit);
  QCOMPARE(window.exitCode(), signal);
  QCOMPARE(ReadAll(Slot(1, ".SPR")), SmetkaTable());
  QCOMPARE(QFile::exists(Slot(1, ".lock")), lockLeft);
}

void TestTableRecovery::unusableFolderIsReportedOnce_data() {
  QTest::addColumn<QString>("blocked");  // a plain file where the folder or its parent goes

  QTest::newRow("folder is a file") << "state/verodazava";
  QTest::newRow("parent is a file") << "state";
}

void TestTableRecovery::unusableFolderIsReportedOnce() {
  QFETCH(QString, blocked);
  if (blocked != u"state") QVERIFY(QDir().mkpath(m_dir->filePath(QStringLiteral("state"))));
  WriteAll(m_dir->filePath(blocked), "not a folder");

  auto program = Start();
  program->app.RecoverUnsavedTable(false);
  program->Enter(0, QStringLiteral("2+3"));
  program->Enter(1, QStringLiteral("SUM(1)*2"));
  program->app.Window().Recalculate();

  const auto messages = program->dialogs.Of(QStringLiteral("message"));
  QCOMPARE(messages.size(), 1);
  QVERIFY2(messages[0].text.contains(QDir::toNativeSeparators(m_folder)),
           qPrintable(messages[0].text));
  QCOMPARE(program->Result(1), QStringLiteral("10.0000 "));
  QCOMPARE(ReadAll(m_dir->filePath(blocked)), QByteArray("not a folder"));
}

// Faults of the folder made for real: writers killed in mid-write, tables piled up by killed
// instances, a pipe, a folder or links under a slot's names, a folder an earlier version left
// open to all. Nothing is reported, nothing in the way is touched or offered, and the folder
// and the table are the user's alone.
void TestTableRecovery::folderFaults_data() {
  QTest::addColumn<QString>("fault");
  QTest::addColumn<bool>("startedWithFile");
  QTest::addColumn<QString>("question");    // empty: none; else answered Възстанови
  QTest::addColumn<QString>("restored");    // row 1 afterwards
  QTest::addColumn<int>("own");             // the slot the first edit goes to
  QTest::addColumn<QStringList>("tables");  // the folder's tables and temporary files at the end

  const QStringList oneTwo{"table-1.SPR", "table-2.SPR"};
  const QStringList tenKept{"table-1.SPR", "table-10.SPR", "table-11.SPR", "table-3.SPR",
                            "table-4.SPR", "table-5.SPR",  "table-6.SPR",  "table-7.SPR",
                            "table-8.SPR", "table-9.SPR"};
  const auto Row = [](const char* name, const char* fault, bool startedWithFile,
                      const QString& question, const char* restored, int own,
                      const QStringList& tables) {
    QTest::newRow(name) << QString(fault) << startedWithFile << question << QString(restored) << own
                        << tables;
  };
  Row("writers killed", "kill", true, "", "", 2, oneTwo);
  Row("eleven tables left", "eleven", false,
      kRecoverQuestion +
          "\nПазят се още 9 незаписани таблици; те ще бъдат предлагани при следващите "
          "стартирания.",
      "11", 11, tenKept);
  Row("empty table left", "empty", true, "", "", 1, {"table-1.SPR"});
  Row("pipe in a slot", "fifo", false, "", "", 2, oneTwo);
  Row("link in a slot", "link", false, "", "", 2, oneTwo);
  Row("link as the name", "name-link", false, kRecoverQuestion, "5", 1, {"table-1.SPR"});
}

void TestTableRecovery::folderFaults() {
  QFETCH(QString, fault);
  QFETCH(bool, startedWithFile);
  QFETCH(QString, question);
  QFETCH(QString, restored);
  QFETCH(int, own);
  QFETCH(QStringList, tables);
  // The killed writers make the folder themselves; the others find it made open to all.
  if (fault != u"kill") QVERIFY(QDir().mkpath(m_folder));
  const QString outside = m_dir->filePath(QStringLiteral("outside.SPR"));
  WriteAll(outside, Table(QStringLiteral("SECRET.SPR")));
  for (int slot = 1; fault == u"eleven" && slot <= 11; ++slot)
    WriteAll(Slot(slot, ".SPR"), Table(QString::number(slot)));
  if (fault == u"eleven") MakeOld(Slot(2, ".SPR"));  // the oldest, though not the first
  if (fault == u"name-link") WriteAll(Slot(1, ".SPR"), Table("5"));
  if (fault == u"name-link") QVERIFY(QFile::link(outside, Slot(1, ".name")));
  if (fault == u"empty") WriteAll(Slot(1, ".SPR"), Table(""));
  if (fault == u"empty") LeaveStaleLock(Slot(1, ".lock"));
  if (fault == u"fifo") QVERIFY(PlantEntry("fifo", Slot(1, ".SPR")));
  if (fault == u"link") QVERIFY(QFile::link(outside, Slot(1, ".SPR")));
  QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
  environment.insert(QStringLiteral("VZ_KEEP_WRITING"), m_folder);
  for (int kill = 0; fault == u"kill" && kill < 10; ++kill) {
    QProcess writer;
    writer.setProcessEnvironment(environment);
    writer.start(QCoreApplication::applicationFilePath(), {});
    QVERIFY(writer.waitForReadyRead(30000));
    QTest::qSleep(kill % 4);
    writer.kill();
    QVERIFY(writer.waitForFinished());
  }
  // What the kills left is made an hour old, as after a restart the next day.
  for (const QString& entry : DirectoryEntries(m_folder))
    if (entry.startsWith(u'.')) MakeOld(m_folder + u'/' + entry);
  const unsigned planted = EntryKind(Slot(1, ".SPR"));

  auto program = Start();
  if (!question.isEmpty()) program->dialogs.AnswerChoice(Dialogs::Choice::First);
  program->app.RecoverUnsavedTable(startedWithFile);
  program->Enter(5, QStringLiteral("7"));

  const auto asked = program->dialogs.Of(QStringLiteral("choice"));
  QCOMPARE(asked.size(), question.isEmpty() ? 0 : 1);
  if (!question.isEmpty()) QCOMPARE(asked[0].text, question);
  QCOMPARE(program->dialogs.Of(QStringLiteral("message")).size(), 0);
  QCOMPARE(program->Box(0)->text(), restored);
  QCOMPARE(program->state.lastFileName, QString());
  QCOMPARE(program->recovery.FilePath(), Slot(own, ".SPR"));
  if (own == 2) QCOMPARE(EntryKind(Slot(1, ".SPR")), planted);
  QStringList seen = DirectoryEntries(m_folder);
  seen.removeIf(
      [](const QString& entry) { return !entry.endsWith(u".SPR") && !entry.endsWith(u".tmp"); });
  QCOMPARE(seen, tables);
  QCOMPARE(Permissions(m_folder), 0700u);
  QCOMPARE(Permissions(Slot(own, ".SPR")), 0600u);
}

// XDG_STATE_HOME names the folder only as an absolute path; unset, empty or relative (which
// the XDG rules call invalid) it is the home folder's .local/state.
void TestTableRecovery::defaultFolder_data() {
  QTest::addColumn<QByteArray>("stateHome");  // "-": not set
  QTest::addColumn<QString>("folder");
  const QString inHome = QStringLiteral("/home/tester/.local/state/verodazava");
  QTest::newRow("absolute") << QByteArray("/var/state") << QStringLiteral("/var/state/verodazava");
  QTest::newRow("not set") << QByteArray("-") << inHome;
  QTest::newRow("empty") << QByteArray("") << inHome;
  QTest::newRow("relative") << QByteArray("state") << inHome;
}

void TestTableRecovery::defaultFolder() {
  QFETCH(QByteArray, stateHome);
  QFETCH(QString, folder);
  // Sets a variable, or unsets it for "-".
  const auto Set = [](const char* name, const QByteArray& value) {
    value == "-" ? qunsetenv(name) : qputenv(name, value);
  };
  const QByteArray home = qgetenv("HOME");
  const QByteArray given =
      qEnvironmentVariableIsSet("XDG_STATE_HOME") ? qgetenv("XDG_STATE_HOME") : QByteArray("-");
  const auto restore = qScopeGuard([&] {
    Set("HOME", home);
    Set("XDG_STATE_HOME", given);
  });
  Set("HOME", "/home/tester");
  Set("XDG_STATE_HOME", stateHome);
  QCOMPARE(DefaultRecoveryFolder(), folder);
}

QTEST_MAIN(TestTableRecovery)
#include "test_tablerecovery.moc"
