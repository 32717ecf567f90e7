#pragma once

#include <QString>
#include <QStringList>

// The program's command line: what it asks for, as parsed from main()'s arguments.
namespace cli {

// Exit statuses of the program, for scripts.
enum ExitStatus : int {
  kExitOk = 0,
  kExitFailure = 1,      // a file that cannot be read or written, or a wrong command line
  kExitSyntaxError = 2,  // at least one formula of --eval is wrong
};

struct CommandLine {
  enum class Mode { Window, Help, Version, Eval, Report, Pdf, Tsv, UsageError };
  Mode mode = Mode::Window;
  QString startFile;           // Window: the formula file to open, or empty
  QString platform;            // Window: Qt's -platform option, or empty
  QString platformPluginPath;  // Window: Qt's -platformpluginpath option, or empty
  QStringList formulas;        // Eval: one a row, or just "-" for standard input
  QString reportFile;          // Report, Pdf, Tsv: the formula file
  QString pdfFile;             // Pdf: where the report goes; "-" for standard output
  int decimals = 4;            // Eval, Report, Pdf, Tsv: decimals of the results
  QString error;               // UsageError: what is wrong

  bool NeedsDisplay() const { return mode == Mode::Window; }
  // Set only by the pdf mode: printing needs fonts, so a GUI application on a platform that
  // draws without a display.
  bool NeedsFonts() const { return mode == Mode::Pdf; }
  bool PdfToStandardOutput() const { return mode == Mode::Pdf && pdfFile == QStringLiteral("-"); }
};

// `arguments` as main() gets them, the program's name first, decoded with QFile::decodeName.
CommandLine ParseCommandLine(const QStringList& arguments);

QString UsageText();
QString VersionText();

}  // namespace cli
