#pragma once

#include <QString>
#include <QStringList>

#include "userlocale.h"

class QTextStream;

// Exit statuses of the program, for scripts.
enum ExitStatus : int {
  kExitOk = 0,
  kExitFailure = 1,      // a file that cannot be read or written, or a wrong command line
  kExitSyntaxError = 2,  // at least one formula of --eval is wrong
};

// What the command line asks for.
struct CommandLine {
  enum class Mode { Window, Help, Version, Eval, Report, Pdf, UsageError };
  Mode mode = Mode::Window;
  QString startFile;     // Window: the formula file to open, or empty
  QString platform;      // Window: Qt's -platform option, or empty
  QStringList formulas;  // Eval: one a row, or just "-" for standard input
  QString reportFile;    // Report, Pdf: the formula file
  QString pdfFile;       // Pdf: where the report goes
  int decimals = 4;      // Eval, Report, Pdf: decimals of the results
  QString error;         // UsageError: what is wrong

  bool NeedsDisplay() const { return mode == Mode::Window; }
  // Set only by the pdf mode: printing needs fonts, so a GUI application on a platform that
  // draws without a display.
  bool NeedsFonts() const { return mode == Mode::Pdf; }
};

// `arguments` as main() gets them, the program's name first.
CommandLine ParseCommandLine(const QStringList& arguments);

QString UsageText();
QString VersionText();

// Carries out every mode but Window and returns the exit status. Results and reports go to
// `out`, messages to `err`. Eval, Report and Pdf use the table, evaluation, file reading and
// report code of the window; Pdf needs a QGuiApplication.
int RunCommandLine(const CommandLine& command, QTextStream& in, QTextStream& out, QTextStream& err,
                   const UserLocale& locale);
