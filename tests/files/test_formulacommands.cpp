#include <fcntl.h>
#include <unistd.h>

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>
#include <atomic>
#include <thread>

#include "errormessage.h"
#include "faultydisk.h"
#include "formulacommands.h"
#include "formulafile.h"
#include "scripteddialogs.h"

class TestFormulaCommands : public QObject {
  Q_OBJECT
 private slots:
  void init();
  void saveNames_data();
  void saveNames();
  void saveFailureIsReported_data();
  void saveFailureIsReported();
  void saveFaults_data();
  void saveFaults();
  void saveReportsLostCharacters();
  void saveRefusesLineEnds();
  void readFile();
  void readWithoutFileKeepsTable_data();
  void readWithoutFileKeepsTable();
  void readEmptyFileKeepsExplanation();
  void readNeverWaitsForAPipe();
  void saveThenReadRestoresTable();

 private:
  std::unique_ptr<QTemporaryDir> m_dir;
  TableState m_state;
};

void TestFormulaCommands::init() {
  m_dir = std::make_unique<QTemporaryDir>();
  QVERIFY(m_dir->isValid());
  m_state = TableState();
  m_state.startDirectory = m_dir->path();
}

// Saving again under the last name replaces that file unasked; a cancelled name writes nothing
// and leaves the table as it was.
void TestFormulaCommands::saveNames_data() {
  QTest::addColumn<QString>("previous");
  QTest::addColumn<QString>("answer");
  QTest::addColumn<QString>("written");  // empty: nothing
  const auto Row = [](const char* name, const char* previous, const char* answer,
                      const char* written) {
    QTest::newRow(name) << QString(previous) << QString(answer) << QString(written);
  };
  Row("extension-added", "", "abc", "abc.SPR");
  Row("other-extension-kept", "abc.SPR", "abc.txt", "abc.txt");
  Row("several-stops-kept", "x", "a.b.c", "a.b.c");
  Row("case-kept", "", "Отчет.spr", "Отчет.spr");
  Row("blanks-kept", "", " a b", " a b.SPR");
  Row("trailing-stop", "", "abc.", "abc.");
  Row("saved-again-replaces", "abc.SPR", "abc", "abc.SPR");
  Row("cancelled", "old.SPR", "", "");
}

void TestFormulaCommands::saveNames() {
  QFETCH(QString, previous);
  QFETCH(QString, answer);
  QFETCH(QString, written);
  m_state.lastFileName = previous;
  if (previous == written) WriteAll(m_dir->filePath(written), QByteArray(20000, 'x'));
  ScriptedDialogs dialogs;
  dialogs.AnswerInput(answer);
  SaveFormulaFile(m_state, dialogs);

  QCOMPARE(dialogs.Log().size(), 1);  // no question before replacing, no message
  const ScriptedDialogs::Asked asked = dialogs.Log().first();
  QCOMPARE(asked.text, QStringLiteral("Въведете име на файла."));
  QCOMPARE(asked.title, QStringLiteral("Запис на справка"));
  QCOMPARE(asked.defaultText, previous);
  QCOMPARE(DirectoryEntries(m_dir->path()),
           written.isEmpty() ? QStringList() : QStringList{written});
  QCOMPARE(m_state.lastFileName, written.isEmpty() ? previous : written);
  // An empty explanation is saved as one blank, in the table too.
  QCOMPARE(m_state.explanation, written.isEmpty() ? QString() : QStringLiteral(" "));
  if (written.isEmpty()) return;
  const QByteArray bytes = ReadAll(QDir(m_dir->path()).filePath(written));
  QVERIFY(bytes.startsWith("\" \"\r\n\"" + QByteArray(kFormulaWidth, '\0') + "\"\r\n"));
  QCOMPARE(bytes.count("\r\n"), 27);
  QCOMPARE(bytes.size(), 6739);  // the blank explanation and 26 records of 255 NULs, whole
}

// A name outside the start directory or a path that cannot be written: reported, nothing left
// behind, nothing damaged; the name is offered again and the explanation rule applied.
void TestFormulaCommands::saveFailureIsReported_data() {
  QTest::addColumn<QString>("startBelow");
  QTest::addColumn<QString>("answer");
  QTest::addColumn<QString>("message");
  QTest::addColumn<QString>("offered");  // the next save's default name
  const QString badName = QStringLiteral("52: Неправилно име на файл");
  const QString noPath = QStringLiteral("76: Пътят не е намерен");
  const auto Row = [](const char* name, const char* startBelow, const char* answer,
                      const QString& message, const char* offered) {
    QTest::newRow(name) << QString(startBelow) << QString(answer) << message << QString(offered);
  };
  // The start directory sits one level down, so that an escape would be seen.
  Row("parent", "start", "../escape.SPR", badName, "../escape.SPR");
  Row("subdirectory", "start", "sub/a", badName, "sub/a.SPR");
  Row("absolute", "start", "/tmp/a.SPR", badName, "/tmp/a.SPR");
  Row("backslash", "start", "a\\b", badName, "a\\b.SPR");
  Row("dot", "start", ".", badName, ".");
  Row("dot-dot", "start", "..", badName, "..");
  Row("target-is-directory", "", "taken",
      QStringLiteral("58: Под това име има папка, устройство или канал, а не файл"), "taken.SPR");
  Row("start-under-regular-file", "plain.txt/sub", "a", noPath, "a.SPR");
  Row("start-directory-gone", "gone", "a", noPath, "a.SPR");
}

void TestFormulaCommands::saveFailureIsReported() {
  QFETCH(QString, startBelow);
  QFETCH(QString, answer);
  QFETCH(QString, message);
  QFETCH(QString, offered);
  QDir dir(m_dir->path());
  QVERIFY(dir.mkpath("taken.SPR/inside") && dir.mkpath("start/sub"));
  WriteAll(dir.filePath("plain.txt"), "keep");
  if (!startBelow.isEmpty()) m_state.startDirectory = dir.filePath(startBelow);
  ScriptedDialogs dialogs;
  dialogs.AnswerInput(answer);
  SaveFormulaFile(m_state, dialogs);

  QCOMPARE(dialogs.Of("message").size(), 1);
  QCOMPARE(dialogs.Of("message").first().text, message);
  QCOMPARE(DirectoryEntries(dir.path()), QStringList({"plain.txt", "start", "taken.SPR"}));
  QCOMPARE(DirectoryEntries(dir.filePath("taken.SPR")), QStringList{"inside"});
  QCOMPARE(DirectoryEntries(dir.filePath("start")), QStringList{"sub"});
  QVERIFY(DirectoryEntries(dir.filePath("start/sub")).isEmpty());
  QCOMPARE(ReadAll(dir.filePath("plain.txt")), QByteArray("keep"));
  QCOMPARE(m_state.lastFileName, offered);
  QCOMPARE(m_state.explanation, QStringLiteral(" "));
}

// Faults made for real: a full or read-only file system, a name the system refuses, links
// planted at the name, a pipe, a socket or a device node there. The old file, the link's
// target and whatever is no file must come through untouched.
void TestFormulaCommands::saveFaults_data() {
  QTest::addColumn<QString>("fault");
  QTest::addColumn<bool>("oldFile");         // abc.SPR there before
  QTest::addColumn<QString>("message");      // empty: saved
  QTest::addColumn<QStringList>("entries");  // in the start directory afterwards

  const QString full = QStringLiteral("61: Дискът е пълен");
  const QString readOnly = QStringLiteral("70: Достъпът е отказан");
  const QString notAFile =
      QStringLiteral("58: Под това име има папка, устройство или канал, а не файл");
  const auto Row = [](const char* name, const char* fault, bool oldFile, const QString& message,
                      const QStringList& entries) {
    QTest::newRow(name) << QString(fault) << oldFile << message << entries;
  };
  Row("full disk, old file", "full", true, full, {"abc.SPR", "filler"});
  Row("full disk, new file", "full", false, full, {"filler"});
  Row("read-only, old file", "read-only", true, readOnly, {"abc.SPR"});
  Row("read-only, new file", "read-only", false, readOnly, {});
  Row("name too long", "long-name", false, QStringLiteral("52: Неправилно име на файл"), {});
  Row("link to a file outside", "link", false, "", {"abc.SPR"});
  Row("link to nothing outside", "dangling-link", false, "", {"abc.SPR"});
  Row("pipe", "fifo", false, notAFile, {"abc.SPR"});
  Row("socket", "socket", false, notAFile, {"abc.SPR"});
  Row("device node", "device", false, notAFile, {"abc.SPR"});
  // Only the writer's own names, and only when old enough that no write can still be at work.
  Row("temporaries of a killed save", "temporaries", false, "",
      {".verodazava-OLD.tmp", ".verodazava-new.tmp", "abc.SPR"});
  Row("link to a pipe", "link-to-fifo", false, notAFile, {"abc.SPR", "pipe"});
}

void TestFormulaCommands::saveFaults() {
  QFETCH(QString, fault);
  QFETCH(bool, oldFile);
  QFETCH(QString, message);
  QFETCH(QStringList, entries);
  QDir dir(m_dir->path());
  QVERIFY(dir.mkdir("start") && dir.mkdir("outside"));
  WriteAll(dir.filePath("outside/secret.SPR"), "secret");
  m_state.startDirectory = dir.filePath("start");
  const QString target = dir.filePath("start/abc.SPR");

  std::unique_ptr<ScopedTmpfs> disk;
  if (fault == "full" || fault == "read-only") {
    disk = std::make_unique<ScopedTmpfs>(m_state.startDirectory, 16);
    if (!disk->Mounted()) QSKIP(qPrintable(disk->Why()));
  }
  const QByteArray old(3000, 'o');
  if (oldFile) WriteAll(target, old);
  if (fault == "full") QVERIFY(disk->FillUp());
  if (fault == "read-only") QVERIFY(disk->MakeReadOnly());
  if (fault == "link") QVERIFY(QFile::link("../outside/secret.SPR", target));
  if (fault == "dangling-link") QVERIFY(QFile::link("../outside/new.SPR", target));
  for (const char* name : {"old", "OLD", "new"}) {
    const QString path = dir.filePath(QStringLiteral("start/.verodazava-%1.tmp").arg(name));
    if (fault == "temporaries") WriteAll(path, "x");
    if (fault == "temporaries" && QByteArray(name) != "new") MakeOld(path);
  }
  if (fault == "link-to-fifo") {
    QVERIFY(PlantEntry("fifo", dir.filePath("start/pipe")));
    QVERIFY(QFile::link("pipe", target));
  }
  if ((fault == "fifo" || fault == "socket" || fault == "device") && !PlantEntry(fault, target)) {
    if (fault == "device" && ::geteuid() != 0) QSKIP("making a device node needs root");
    QFAIL(qPrintable("could not plant " + fault));
  }
  const unsigned planted = EntryKind(target);

  ScriptedDialogs dialogs;
  dialogs.AnswerInput(fault == "long-name" ? QString(300, u'д') : QStringLiteral("abc"));
  SaveFormulaFile(m_state, dialogs);

  const auto messages = dialogs.Of("message");
  QCOMPARE(messages.size(), message.isEmpty() ? 0 : 1);
  if (!message.isEmpty()) QCOMPARE(messages.first().text, message);
  QCOMPARE(DirectoryEntries(m_state.startDirectory), entries);  // no temporary file left
  if (oldFile) QCOMPARE(ReadAll(target), old);
  if (!message.isEmpty()) QCOMPARE(EntryKind(target), planted);
  QCOMPARE(DirectoryEntries(dir.filePath("outside")), QStringList{"secret.SPR"});
  QCOMPARE(ReadAll(dir.filePath("outside/secret.SPR")), QByteArray("secret"));
  if (message.isEmpty()) {
    // The link itself was replaced by the saved file.
    QVERIFY(!QFileInfo(target).isSymLink());
    QVERIFY(ReadAll(target).startsWith("\" \"\r\n"));
  }
}

void TestFormulaCommands::saveReportsLostCharacters() {
  m_state.explanation = QStringLiteral("α ≈ β");
  m_state.rows[2].SetFormula(QStringLiteral("1≈1"));
  m_state.rows[25].SetFormula(QStringLiteral("2≈2"));
  ScriptedDialogs dialogs;
  dialogs.AnswerInput(QStringLiteral("x"));
  SaveFormulaFile(m_state, dialogs);

  QVERIFY(ReadAll(m_dir->filePath("x.SPR")).contains("\"1?1\"\r\n"));  // written all the same
  const QList<ScriptedDialogs::Asked> messages = dialogs.Of("message");
  QCOMPARE(messages.size(), 1);
  QVERIFY(messages.first().text.contains(QStringLiteral("обяснението")));
  QVERIFY(messages.first().text.contains(QStringLiteral("ред 3,")));
  QVERIFY(messages.first().text.contains(QStringLiteral("ред 26")));
  QVERIFY(!messages.first().text.contains(QStringLiteral("ред 1,")));
}

void TestFormulaCommands::saveRefusesLineEnds() {
  WriteAll(m_dir->filePath("x.SPR"), "keep");
  m_state.rows[3].formula = QStringLiteral("1\n2").leftJustified(kFormulaWidth);  // only by a fault
  ScriptedDialogs dialogs;
  dialogs.AnswerInput(QStringLiteral("x"));
  QCOMPARE(SaveFormulaFile(m_state, dialogs), FileOutcome::Failed);
  QCOMPARE(dialogs.Of("message").first().text, "Файлът не е записан: знак за нов ред в ред 4.");
  QCOMPARE(ReadAll(m_dir->filePath("x.SPR")), QByteArray("keep"));
}

void TestFormulaCommands::readFile() {
  WriteAll(m_dir->filePath("t.SPR"), "\"\xD1\xEC\xE5\xF2\xEA\xE0\"\r\n\"1+1\"\r\n\"\"\r\n\"" +
                                         QByteArray(kFormulaWidth, '\0') +
                                         "\"\r\n\"SUM(1)*2\"\r\n");
  for (RowRecord& row : m_state.rows) {
    row.SetFormula(QStringLiteral("9"));
    row.result = 9;
  }
  ScriptedDialogs dialogs;
  dialogs.AnswerFile(QStringLiteral("t.SPR"));
  const ReadOutcome read = ReadFormulaFile(m_state, dialogs, {});

  QCOMPARE(dialogs.Log().first().text, QStringLiteral("*.SPR"));
  QCOMPARE(read.outcome, FileOutcome::Done);
  QVERIFY(read.explanationRead);
  QVERIFY(read.status.ok());
  QCOMPARE(m_state.explanation, QStringLiteral("Сметка"));
  QCOMPARE(m_state.lastFileName, QStringLiteral("t.SPR"));
  QCOMPARE(m_state.rows[0].Trimmed(), QStringLiteral("1+1"));
  QCOMPARE(m_state.rows[1].formula, QString(kFormulaWidth, u' '));
  QVERIFY(m_state.rows[2].IsCleared());
  QCOMPARE(m_state.rows[3].Trimmed(), QStringLiteral("SUM(1)*2"));
  for (int k = 4; k < kRecordCount; ++k) QVERIFY(m_state.rows[static_cast<size_t>(k)].IsCleared());
  // Recalculated once from the top: row 4 reads the new result of row 1.
  for (int k = 0; k < kRecordCount; ++k)
    QCOMPARE(m_state.rows[static_cast<size_t>(k)].result, k == 0 ? 2.0 : k == 3 ? 4.0 : 0.0);
  QCOMPARE(dialogs.Of("message").size(), 0);
}

// Without a file read, the table, its explanation and the last file name stay as they were.
void TestFormulaCommands::readWithoutFileKeepsTable_data() {
  QTest::addColumn<QString>("chosen");
  QTest::addColumn<QString>("message");  // the failure reported; empty: none
  const QString notFound = QStringLiteral("53: Файлът не е намерен");
  const QString noAccess = QStringLiteral("75: Грешка при достъп до файла");
  QTest::newRow("cancelled") << QString() << QString();
  QTest::newRow("file-disappeared") << QStringLiteral("gone.SPR") << notFound;
  QTest::newRow("directory") << QStringLiteral("dir.SPR") << noAccess;
  QTest::newRow("path-outside") << QStringLiteral("../x.SPR") << notFound;
  QTest::newRow("pipe") << QStringLiteral("pipe.SPR") << noAccess;
}

void TestFormulaCommands::readWithoutFileKeepsTable() {
  QFETCH(QString, chosen);
  QFETCH(QString, message);
  QVERIFY(QDir(m_dir->path()).mkdir("dir.SPR"));
  QVERIFY(PlantEntry("fifo", m_dir->filePath("pipe.SPR")));
  m_state.rows[0].SetFormula(QStringLiteral("1+2"));
  m_state.rows[0].result = 3;
  m_state.explanation = QStringLiteral("заглавие");
  m_state.lastFileName = QStringLiteral("old.SPR");
  ScriptedDialogs dialogs;
  dialogs.AnswerFile(chosen);
  const ReadOutcome read = ReadFormulaFile(m_state, dialogs, {});

  QCOMPARE(read.outcome, FileOutcome::Untouched);
  QVERIFY(!read.explanationRead);
  QCOMPARE(read.status.ok(), message.isEmpty());
  if (!message.isEmpty()) QCOMPARE(ErrorMessage(read.status.failure()), message);
  QCOMPARE(dialogs.Of("message").size(), 0);  // reported by the caller over its window
  QCOMPARE(m_state.rows[0].Trimmed(), QStringLiteral("1+2"));
  QCOMPARE(m_state.rows[0].result, 3.0);
  QCOMPARE(m_state.explanation, QStringLiteral("заглавие"));
  // The next save still offers the file that was last read or saved.
  QCOMPARE(m_state.lastFileName, QStringLiteral("old.SPR"));
}

void TestFormulaCommands::readEmptyFileKeepsExplanation() {
  WriteAll(m_dir->filePath("e.SPR"), QByteArray());
  m_state.rows[3].SetFormula(QStringLiteral("1"));
  m_state.explanation = QStringLiteral("заглавие");
  ScriptedDialogs dialogs;
  dialogs.AnswerFile(QStringLiteral("e.SPR"));
  const ReadOutcome read = ReadFormulaFile(m_state, dialogs, {});
  QCOMPARE(read.outcome, FileOutcome::Done);
  QVERIFY(!read.explanationRead);  // the field keeps its text
  QVERIFY(m_state.rows[3].IsCleared());
  QCOMPARE(m_state.explanation, QStringLiteral("заглавие"));
}

// A pipe swapped in under the name between any check and the open must not hold the read:
// the name flips between a formula file and a pipe while it is read again and again. A read
// held by the pipe is set free after a second by opening the pipe's other end.
void TestFormulaCommands::readNeverWaitsForAPipe() {
  const QByteArray dir = QFile::encodeName(m_dir->path());
  const QByteArray name = dir + "/flip.SPR", pipe = dir + "/pipe", file = dir + "/file";
  WriteAll(QString::fromLocal8Bit(file), "\"x\"\r\n\"1\"\r\n");
  QVERIFY(PlantEntry("fifo", QString::fromLocal8Bit(pipe)));

  std::atomic<bool> stop = false;
  std::atomic<qint64> readingSince = 0;  // ms of the steady clock; 0 while not reading
  QElapsedTimer clock;
  clock.start();
  std::thread flipper([&] {
    bool pipeAtName = false;
    while (!stop) {
      if (readingSince && clock.elapsed() - readingSince > 1000) {
        const int end = ::open((pipeAtName ? name : pipe).constData(), O_WRONLY | O_NONBLOCK);
        if (end >= 0) ::close(end);
        continue;
      }
      if (pipeAtName) {
        ::rename(name.constData(), pipe.constData());
        ::link(file.constData(), name.constData());
      } else {
        ::rename(pipe.constData(), name.constData());
      }
      pipeAtName = !pipeAtName;
    }
  });

  qint64 longest = 0;
  for (int reads = 0; reads < 20000 && clock.elapsed() < 1500; ++reads) {
    ScriptedDialogs dialogs;
    dialogs.AnswerFile(QStringLiteral("flip.SPR"));
    const qint64 start = clock.elapsed();
    readingSince = start;
    (void)ReadFormulaFile(m_state, dialogs, {});  // a file or a pipe: only the wait counts
    readingSince = 0;
    longest = std::max(longest, clock.elapsed() - start);
  }
  stop = true;
  flipper.join();
  QVERIFY2(longest < 1000, qPrintable(QStringLiteral("a read waited %1 ms").arg(longest)));
}

void TestFormulaCommands::saveThenReadRestoresTable() {
  m_state.explanation = QStringLiteral("Курсов проект");
  m_state.rows[0].SetFormula(QStringLiteral("25+65"));
  m_state.rows[1].Empty();
  m_state.rows[24].SetFormula(QStringLiteral("SUM(1)*2"));
  m_state.rows[25].SetFormula(QStringLiteral("SUM(25)"));
  const TableState saved = m_state;
  ScriptedDialogs dialogs;
  dialogs.AnswerInput(QStringLiteral("round"));
  SaveFormulaFile(m_state, dialogs);

  m_state.ClearRows();
  m_state.explanation.clear();
  WriteAll(m_dir->filePath("other.SPR"), "\"b\"\r\n\"2\"\r\n");
  // Found whatever its case; the next save offers the file that was read, not an upper-case twin.
  dialogs.AnswerFile(QStringLiteral("ROUND.SPR"));
  QVERIFY(ReadFormulaFile(m_state, dialogs, {}).status.ok());
  QCOMPARE(m_state.lastFileName, QStringLiteral("round.SPR"));
  QCOMPARE(m_state.explanation, saved.explanation);
  for (int k = 0; k < kRecordCount; ++k)
    QCOMPARE(m_state.rows[static_cast<size_t>(k)].formula,
             saved.rows[static_cast<size_t>(k)].formula);
  QCOMPARE(dialogs.Of("message").size(), 0);
}

QTEST_GUILESS_MAIN(TestFormulaCommands)
#include "test_formulacommands.moc"
