#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <csignal>
#include <optional>

#include "../report/pdftools.h"
#include "faultydisk.h"

// Where standard input comes from and output goes, when not from and to the test.
struct Streams {
  QString input;
  QString output;
  QString workingDirectory = QStringLiteral(VZ_TEST_DATA);
  rlim_t fileSizeLimit = RLIM_INFINITY;  // a write past it fails as on a full disk
  // When the test runs as root: the program to run as `nobody`, at a path that user reaches.
  QString asNobody;
};

// The built program on the command line, with no display in its environment: every mode but
// the window must work, and the window must refuse to start with a message instead of a crash.
class TestCommandLine : public QObject {
  Q_OBJECT
 private slots:
  void runs_data();
  void runs();
  void streamFaults_data();
  void streamFaults();
  void pdfIsTheReport_data();
  void pdfIsTheReport();
  void pdfFailureLeavesNoFile_data();
  void pdfFailureLeavesNoFile();
  void fileNameNotInUtf8_data();
  void fileNameNotInUtf8();
};

struct Run {
  int status = -1;  // also when the program did not start or did not end by itself
  QString out;
  QString err;
};

Run Start(const QStringList& arguments, const QByteArray& input = {},
          const QStringList& environment = {}, const Streams& streams = {}) {
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"}) env.remove(name);
  env.insert(QStringLiteral("LC_ALL"), QStringLiteral("C.UTF-8"));
  for (const QString& entry : environment)
    env.insert(entry.section(u'=', 0, 0), entry.section(u'=', 1));
  QProcess process;
  process.setProcessEnvironment(env);
  process.setWorkingDirectory(streams.workingDirectory);
  if (!streams.input.isEmpty()) process.setStandardInputFile(streams.input);
  if (!streams.output.isEmpty()) process.setStandardOutputFile(streams.output);
  // A program that reads without a bound fails at once instead of taking the machine's memory.
  process.setChildProcessModifier([limit = streams.fileSizeLimit] {
    const rlimit memory{2048L << 20, 2048L << 20};
    ::setrlimit(RLIMIT_AS, &memory);
    const rlimit size{limit, limit};
    ::setrlimit(RLIMIT_FSIZE, &size);
    ::signal(SIGXFSZ, SIG_IGN);  // the write fails instead of the process
  });
  if (!streams.asNobody.isEmpty() && ::geteuid() == 0)
    process.start(QStringLiteral("setpriv"), QStringList{"--reuid=nobody", "--regid=nogroup",
                                                         "--clear-groups", streams.asNobody} +
                                                 arguments);
  else
    process.start(QStringLiteral(VZ_PROGRAM), arguments);
  if (!process.waitForStarted()) return {};
  if (streams.input.isEmpty()) {
    process.write(input);
    process.closeWriteChannel();
  }
  if (!process.waitForFinished(60000) || process.exitStatus() != QProcess::NormalExit) return {};
  return {process.exitCode(), QString::fromUtf8(process.readAllStandardOutput()),
          QString::fromUtf8(process.readAllStandardError())};
}

void TestCommandLine::runs_data() {
  QTest::addColumn<QStringList>("arguments");
  QTest::addColumn<QByteArray>("input");
  QTest::addColumn<QStringList>("environment");
  QTest::addColumn<int>("status");
  QTest::addColumn<QString>("out");  // the whole of standard output, or "~" and a part of it
  QTest::addColumn<QString>("err");  // a part of standard error; "" for none at all

  const auto Row = [](const char* name, const QStringList& arguments, const QByteArray& input,
                      const QStringList& environment, int status, const QString& out,
                      const QString& err) {
    QTest::newRow(name) << arguments << input << environment << status << out << err;
  };
  // Runs with status 0 and nothing on standard error.
  const auto Prints = [&](const char* name, const QStringList& arguments, const QString& out) {
    Row(name, arguments, {}, {}, 0, out, {});
  };
  // Refused with status 1 before anything is written to standard output.
  const auto Refused = [&](const char* name, const QStringList& arguments, const QString& err) {
    Row(name, arguments, {}, {}, 1, {}, err);
  };
  const QStringList bulgarian{"LC_ALL=bg_BG.UTF-8"};
  const QString report = QStringLiteral(
      "                    Бюджет за май\n"
      "————————————————————————————————————————————————————\n"
      "|No:|  Наименование на параметъра  |      Сума     |\n"
      "————————————————————————————————————————————————————\n"
      "  1  2+3*4                                   14.00 \n"
      "  2  SQR(2)                                   1.41 \n"
      "  3  SUM(1)*2                                28.00 \n"
      "————————————————————————————————————————————————————\n");

  Prints("help", {"--help"}, "~  -e, --eval            изчислява формулите");
  Prints("version", {"-v"}, "Verodazava 2.0, версия 2.0.0\n");
  Prints("Qt's own options pass", {"-style", "Fusion", "--reverse", "-v"},
         "Verodazava 2.0, версия 2.0.0\n");
  Prints("value", {"--eval", "2+3*4"}, "14.0000\n");
  Prints("leading equals", {"-e", "=1/3"}, "0.3333\n");
  Prints("half away from zero", {"--decimals", "0", "--eval", "--", "2.5", "-2.5"}, "3\n-3\n");
  Row("point, no grouping, whatever the locale", {"-d", "2", "--eval", "1234567.891"}, {},
      bulgarian, 0, "1234567.89\n", "");
  Prints("rows read earlier rows", {"--eval", "10", "20", "SUM(1)+SUM(2)", "SUM(4)"},
         "10.0000\n20.0000\n30.0000\n0.0000\n");
  Row("syntax error", {"--eval", "1", "2+)", "SUM(1)+5"}, {}, {}, 2, "1.0000\n0.0000\n6.0000\n",
      "грешка в ред 2, позиция 3\n  2+)\n    ^\n");
  Row("reason: decimal comma", {"--eval", "12,5"}, {}, {}, 2, "0.0000\n",
      "грешка в ред 1, позиция 3\n  12,5\n    ^\n"
      "  Десетичният знак във формулите е точка: 12.5\n");
  Row("caret after leading blanks", {"--eval", "  1+2)"}, {}, {}, 2, "0.0000\n",
      "грешка в ред 1, позиция 6\n    1+2)\n       ^\n");
  Row("stdin rows with SUM", {"--eval", "-"}, "4\r\n\n5\nSUM(1)*SUM(3)\n", {}, 0,
      "4.0000\n0.0000\n5.0000\n20.0000\n", "");
  Row("stdin 25 rows", {"-d", "0", "--eval", "-"}, QByteArray("1\n").repeated(25), {}, 0,
      QStringLiteral("1\n").repeated(25), "");
  Row("stdin 26 rows", {"--eval", "-"}, QByteArray("1\n").repeated(26), {}, 1, "",
      "таблицата има 25 реда");
  Refused("26 formulas", QStringList{"--eval"} << QStringList(26, "1"), "таблицата има 25 реда");
  Refused("no formula", {"--eval"}, "--eval иска поне една формула");
  Refused("unknown option", {"--frobnicate"}, "непозната опция „--frobnicate“");
  Refused("negative formula without --", {"--eval", "-5"}, "след „--“");
  Refused("option without a name", {"--="}, "непозната опция „--=“");
  Refused("short option without a name", {"-="}, "непозната опция „-=“");
  Refused("nameless option with a value", {"--eval", "1", "--=1"}, "непозната опция „--=1“");
  Row("stdin line over the limit", {"--eval", "-"}, "1\n" + QByteArray(256, '1') + "\n1\n", {}, 1,
      "", "ред 2 на стандартния вход е по-дълъг от 255 знака");
  Row("stdin line at the limit", {"-d", "0", "--eval", "-"}, QByteArray(254, ' ') + "7\r\n", {}, 0,
      "7\n", "");
  Refused("decimals above 15", {"-d", "16", "--eval", "1"}, "от 0 до 15, а е „16“");
  Refused("decimals not a number", {"--decimals", "2x", "--eval", "1"}, "а е „2x“");
  Refused("decimals without a value", {"--eval", "1", "--decimals"},
          "липсва стойност след „--decimals“");
  Refused("two modes", {"--report", "--eval", "1"}, "не вървят заедно");
  Prints("report", {"--report", "-d", "2", "budget.SPR"}, report);
  Row("report in the user's locale", {"--report", "-d", "2", "budget.SPR"}, {}, bulgarian, 0,
      "~  3  SUM(1)*2                                28,00 \n", "");
  Row("tsv with a point whatever the locale", {"--tsv", "-d", "2", "budget.SPR"}, {}, bulgarian, 0,
      "1\t2+3*4\t14.00\n2\t\t\n3\tSQR(2)\t1.41\n4\tSUM(1)*2\t28.00\n", "");
  // A regular file whose read fails (EIO): a table read only in part is no table.
  Refused("report of a table read in part", {"--report", "/proc/self/mem"},
          "verodazava: /proc/self/mem: 75: ");
  Refused("report of a missing file", {"--report", "nothere.SPR"},
          "nothere.SPR: 53: Файлът не е намерен");
  Refused("window without a display", {"budget.SPR"}, "no display is set");
  Row("window on a silent display", {}, {}, {"DISPLAY=:99"}, 1, "",
      "verodazava: няма връзка с графичния дисплей „:99“.\n"
      "verodazava: cannot connect to display \":99\".\n");
  Row("unknown platform in the environment", {}, {}, {"QT_QPA_PLATFORM=bogus"}, 1, "",
      "verodazava: непозната графична платформа „bogus“; налични са: ");
  Row("unknown platform on the command line", {"-platform", "bogus", "budget.SPR"}, {},
      {"DISPLAY=:99"}, 1, "", "verodazava: unknown Qt platform \"bogus\"; available: ");
  Row("platform on the command line chooses the display", {"-platform", "xcb"}, {},
      {"QT_QPA_PLATFORM=offscreen", "DISPLAY=:99"}, 1, "",
      "verodazava: cannot connect to display \":99\".\n");
}

void TestCommandLine::runs() {
  QFETCH(QStringList, arguments);
  QFETCH(QByteArray, input);
  QFETCH(QStringList, environment);
  QFETCH(int, status);
  QFETCH(QString, out);
  QFETCH(QString, err);

  const Run run = Start(arguments, input, environment);
  QCOMPARE(run.status, status);
  QVERIFY2(out.startsWith(u'~') ? run.out.contains(out.mid(1)) : run.out == out,
           qPrintable(run.out));
  QVERIFY2(err.isEmpty() ? run.err.isEmpty() : run.err.contains(err), qPrintable(run.err));
}

void TestCommandLine::streamFaults_data() {
  QTest::addColumn<QStringList>("arguments");
  QTest::addColumn<QString>("input");  // the file standard input reads, or "" for none
  // "/dev/full", "disk" for a file on a full disk, or "1 KiB": the test's own pipe, with files
  // (the PDF drawn in memory too) limited to 1 KiB
  QTest::addColumn<QString>("output");
  QTest::addColumn<QString>("err");  // a part of standard error; the status is always 1

  const QString devFull = QStringLiteral("/dev/full");
  const QString budget = QStringLiteral(VZ_TEST_DATA "/budget.SPR");
  const QString noRoom = QStringLiteral("verodazava: 61: Дискът е пълен\n");
  const auto Row = [](const char* name, const QStringList& arguments, const char* input,
                      const QString& output, const QString& err) {
    QTest::newRow(name) << arguments << QString(input) << output << err;
  };
  const QList<QStringList> modes{{"--help"},           {"-v"},
                                 {"--eval", "1"},      {"--tsv", budget},
                                 {"--report", budget}, {"--pdf", "-", budget}};
  for (const QStringList& mode : modes) Row(qPrintable(mode.first()), mode, "", devFull, noRoom);
  Row("eval with a wrong formula", {"--eval", "2+)"}, "", devFull,
      "грешка в ред 1, позиция 3\n  2+)\n    ^\n" + noRoom);
  Row("report onto a full disk", {"--report", budget}, "", "disk", noRoom);
  Row("pdf cut short", {"--pdf", "-", budget}, "", "1 KiB", noRoom);
  Row("endless standard input", {"--eval", "-"}, "/dev/zero", "",
      "verodazava: ред 1 на стандартния вход е по-дълъг от 255 знака\n");
}

void TestCommandLine::streamFaults() {
  QFETCH(QStringList, arguments);
  QFETCH(QString, input);
  QFETCH(QString, output);
  QFETCH(QString, err);
  QTemporaryDir dir;
  std::optional<ScopedTmpfs> disk;
  if (output == u"disk") {
    disk.emplace(dir.path(), 16);
    if (!disk->Mounted()) QSKIP(qPrintable(disk->Why()));
    QVERIFY(disk->FillUp());
    output = dir.filePath(QStringLiteral("report.txt"));
  }
  const rlim_t limit = output == u"1 KiB" ? 1024 : RLIM_INFINITY;
  if (limit != RLIM_INFINITY) output.clear();
  // A program that takes "-" for a file name leaves it where the test can see it.
  const Run run = Start(arguments, {}, {}, {input, output, dir.path(), limit, {}});
  if (!disk) QCOMPARE(DirectoryEntries(dir.path()), QStringList());
  QCOMPARE(run.out, QString());
  QCOMPARE(run.status, 1);
  QCOMPARE(run.err, err);
}

void TestCommandLine::pdfIsTheReport_data() {
  QTest::addColumn<bool>("toOutput");
  QTest::newRow("file replaced") << false;
  QTest::newRow("standard output") << true;
}

void TestCommandLine::pdfIsTheReport() {
  QFETCH(bool, toOutput);
  QTemporaryDir dir;
  const QString pdf = dir.filePath(QStringLiteral("budget.pdf"));
  WriteAll(pdf, "old");
  QVERIFY(::chmod(QFile::encodeName(pdf).constData(), 0604) == 0);

  const Run run = toOutput ? Start({"--pdf", "-", QStringLiteral(VZ_TEST_DATA "/budget.SPR")}, {},
                                   {}, {{}, pdf, dir.path(), RLIM_INFINITY, {}})
                           : Start({"--pdf", pdf, "budget.SPR"});
  QCOMPARE(run.status, 0);
  QCOMPARE(run.err, QString());
  QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"budget.pdf"});
  QCOMPARE(Permissions(pdf), 0604u);  // the replaced file's mode is kept
  const QString printed = pdftools::Text(pdf);
  QVERIFY2(printed.contains(QStringLiteral("Бюджет за май")), qPrintable(printed));
  QVERIFY2(printed.contains(QRegularExpression(QStringLiteral("3 +SUM\\(1\\)\\*2 +28\\.0000"))),
           qPrintable(printed));
  QVERIFY(pdftools::Fonts(pdf).join(u' ').contains(u"Mono"));
}

void TestCommandLine::pdfFailureLeavesNoFile_data() {
  // "missing", "directory", "full", "formulas", "read-only", "part" (a table read only in
  // part), or what stands at the name: "device", "fifo", "socket"
  QTest::addColumn<QString>("where");
  QTest::addColumn<QString>("message");
  const auto Row = [](const char* name, const char* where, const char* message) {
    QTest::newRow(name) << QString(where) << QString(message);
  };
  Row("missing folder", "missing", "76: ");
  Row("name of a folder", "directory", "58: ");
  Row("full disk", "full", "61: ");
  Row("file without write permission", "read-only", "70: ");
  Row("formula file name", "formulas",
      "Името „old.spr“ е запазено за файлове с формули (.SPR). Изберете друго име за PDF файла.");
  const char* notAFile = "58: Под това име има папка, устройство или канал, а не файл";
  Row("device node", "device", notAFile);
  Row("FIFO", "fifo", notAFile);
  Row("socket", "socket", notAFile);
  Row("table read in part", "part", "/proc/self/mem: 75: ");
}

void TestCommandLine::pdfFailureLeavesNoFile() {
  QFETCH(QString, where);
  QFETCH(QString, message);
  QTemporaryDir dir;
  QString pdf = dir.filePath(QStringLiteral("out.pdf"));
  std::optional<ScopedTmpfs> disk;
  if (where == u"missing") pdf = dir.filePath(QStringLiteral("no/out.pdf"));
  if (where == u"directory") QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("out.pdf")));
  if (where == u"formulas") pdf = dir.filePath(QStringLiteral("old.spr"));
  if (where == u"formulas") QVERIFY(QFile::copy(QStringLiteral(VZ_TEST_DATA "/budget.SPR"), pdf));
  if (where == u"full") {
    disk.emplace(dir.path(), 12);  // room for the old file and not for the new PDF
    if (!disk->Mounted()) QSKIP(qPrintable(disk->Why()));
    WriteAll(pdf, "old");
  }
  Streams streams;
  if (where == u"read-only") {
    // Root may write anything: the program runs as a user who could replace the file in this
    // open folder but may not write the file itself, with its own copy in reach.
    QVERIFY(QFile::copy(QStringLiteral(VZ_PROGRAM), dir.filePath("verodazava")));
    QVERIFY(QFile::copy(QStringLiteral(VZ_TEST_DATA "/budget.SPR"), dir.filePath("budget.SPR")));
    WriteAll(pdf, "old");
    QVERIFY(::chmod(QFile::encodeName(pdf).constData(), 0444) == 0);
    QVERIFY(::chmod(QFile::encodeName(dir.path()).constData(), 0777) == 0);
    streams.workingDirectory = dir.path();
    streams.asNobody = dir.filePath("verodazava");
  }
  if (where == u"device" && ::geteuid() != 0) QSKIP("making a device node needs root");
  if (QStringList{"device", "fifo", "socket"}.contains(where)) QVERIFY(PlantEntry(where, pdf));
  const unsigned kind = EntryKind(pdf);

  const QStringList before = DirectoryEntries(dir.path());
  // A regular file whose read fails (EIO) gives a table read only in part.
  const Run run =
      Start({"--pdf", pdf, where == "part" ? "/proc/self/mem" : "budget.SPR"}, {}, {}, streams);
  QCOMPARE(run.status, 1);
  QVERIFY2(run.err.contains(message), qPrintable(run.err));
  QCOMPARE(DirectoryEntries(dir.path()), before);
  QCOMPARE(EntryKind(pdf), kind);
  if (disk || where == u"read-only") QCOMPARE(ReadAll(pdf), QByteArray("old"));
  // A quote and Бюджет in Windows-1251: the formula file is kept.
  if (where == u"formulas") QVERIFY(ReadAll(pdf).startsWith("\"\xc1\xfe\xe4\xe6\xe5\xf2"));
}

void TestCommandLine::fileNameNotInUtf8_data() {
  QTest::addColumn<QString>("options");  // for sh, $(printf ...) making the Latin-1 names
  QTest::addColumn<QString>("err");      // the end of standard error, status 1; "" for none, 0
  QTest::addColumn<QString>("out");
  // A name read is opened from its bytes; a name written is refused, not written as another.
  const QString refused = QStringLiteral("52: Неправилно име на файл\n");
  const QString pdf = QStringLiteral("\"$(printf 'o\\351.pdf')\" \"$(printf 'b\\351.SPR')\"");
  QTest::newRow("report read") << "--report \"$(printf 'b\\351.SPR')\""
                               << ""
                               << "Бюджет за май";
  QTest::newRow("pdf written") << "--pdf " + pdf << refused << "";
  QTest::newRow("pdf= written") << "--pdf=" + pdf << refused << "";
}

void TestCommandLine::fileNameNotInUtf8() {
  QFETCH(QString, options);
  QFETCH(QString, err);
  QFETCH(QString, out);
  QTemporaryDir dir;
  const QString plain = dir.filePath(QStringLiteral("b.SPR"));
  QVERIFY(QFile::copy(QStringLiteral(VZ_TEST_DATA "/budget.SPR"), plain));
  // "bé.SPR" in Latin-1, which is no UTF-8 (and which QTemporaryDir cannot remove either).
  const QByteArray latin1 = QFile::encodeName(dir.path()) + "/b\xe9.SPR";
  QVERIFY(::rename(QFile::encodeName(plain).constData(), latin1.constData()) == 0);
  const auto remove = qScopeGuard([&] { ::unlink(latin1.constData()); });
  const QStringList before = DirectoryEntries(dir.path());
  QProcess shell;
  shell.setWorkingDirectory(dir.path());
  shell.start(QStringLiteral("sh"), {"-c", "exec \"$0\" " + options, QStringLiteral(VZ_PROGRAM)});
  QVERIFY(shell.waitForFinished());
  const QString errors = QString::fromUtf8(shell.readAllStandardError());
  QVERIFY2(err.isEmpty() ? errors.isEmpty() : errors.endsWith(err), qPrintable(errors));
  QCOMPARE(shell.exitCode(), err.isEmpty() ? 0 : 1);
  QVERIFY(QString::fromUtf8(shell.readAllStandardOutput()).contains(out));
  QCOMPARE(DirectoryEntries(dir.path()), before);
}

QTEST_GUILESS_MAIN(TestCommandLine)
#include "test_commandline.moc"
