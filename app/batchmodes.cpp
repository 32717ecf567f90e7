#include "batchmodes.h"

#include <unistd.h>

#include <QFileInfo>
#include <QPrinter>
#include <cerrno>

#include "clipboardtext.h"
#include "consoledialogs.h"
#include "errormessage.h"
#include "formulacommands.h"
#include "pdffile.h"
#include "reportprint.h"
#include "reporttext.h"
#include "resultformat.h"
#include "rowediting.h"
#include "safefile.h"

namespace cli {
namespace {

// The longest line of standard input that can hold a formula: kFormulaWidth characters of up
// to four bytes each in UTF-8, and a CR.
constexpr qsizetype kInputLineBytes = 4 * qsizetype{kFormulaWidth} + 1;

// The table of a formula file, opened as the window opens it (read and recalculated once from
// the top); false, with the read's message on `err`, when it was not read whole: a script must
// not take half a table for all of it.
bool LoadTable(const QString& path, int decimals, const UserLocale& locale, TableState& state,
               QTextStream& err) {
  ConsoleDialogs dialogs(err, path);
  // A file read only in part is a failure too: a script must not take half a table for all.
  const ReadOutcome read = ReadFormulaFileAt(state, path, locale.dates);
  if (!read.status.ok()) dialogs.Message(ErrorMessage(read.status.failure()));
  if (read.outcome != FileOutcome::Done) return false;
  state.roundingDigits = decimals;
  return true;
}

QString Report(const TableState& state, const UserLocale& locale) {
  return ComposeTableReport(state, state.explanation, locale.decimalPoint);
}

// Where the evaluator stopped, shown under the formula as the row was entered, and below it
// the common cause, in the words of the window's wrong-formula box.
void ShowSyntaxError(QTextStream& err, int row, const EnteredRow& entered, DateSettings dates) {
  const int index = ErrorIndexInBox(entered.text, entered.errorPos);
  QString caret = entered.text.left(index);
  for (QChar& c : caret)
    if (c != u'\t') c = u' ';
  err << QStringLiteral("грешка в ред %1, позиция %2").arg(row + 1).arg(index + 1) << '\n'
      << "  " << entered.text << '\n'
      << "  " << caret << "^\n";
  const QString reason = ErrorReasonText(entered.text, dates);
  if (!reason.isEmpty()) err << "  " << reason << '\n';
}

int RunEval(const CommandLine& command, QIODevice& in, OutputDevice& out, QTextStream& err,
            const UserLocale& locale) {
  QStringList formulas = command.formulas;
  if (formulas == QStringList{QStringLiteral("-")}) {
    InputFormulas input = ReadInputFormulas(in);
    if (!input.error.isEmpty()) {
      err << "verodazava: " << input.error << '\n';
      return kExitFailure;
    }
    formulas = std::move(input.formulas);
  }
  if (formulas.size() > kVisibleRows) {
    err << "verodazava: "
        << QStringLiteral("таблицата има %1 реда, а формулите са повече\n").arg(kVisibleRows);
    return kExitFailure;
  }

  TableState state;
  mdlCalcFunction evaluator(locale.dates, &state);
  QTextStream text(&out);
  int status = kExitOk;
  for (int row = 0; row < formulas.size() && out.Error() == 0; ++row) {
    const EnteredRow entered = EnterFormula(state, row, formulas[row], evaluator);
    // Scripts read a point whatever the user's locale writes.
    text << FormatResult(state.rows[row].result, command.decimals, u'.') << '\n';
    if (entered.Failed()) {
      text.flush();
      ShowSyntaxError(err, row, entered, locale.dates);
      err.flush();
      status = kExitSyntaxError;
    }
  }
  return status;
}

int RunReport(const CommandLine& command, OutputDevice& out, QTextStream& err,
              const UserLocale& locale) {
  TableState state;
  if (!LoadTable(command.reportFile, command.decimals, locale, state, err)) return kExitFailure;
  QString report = Report(state, locale);
  // A shell's lines end with a line feed alone.
  report.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  QTextStream(&out) << report;
  return kExitOk;
}

// For scripts and spreadsheets: "row⇥formula⇥result" from row 1 to the last filled one, the
// results with a point.
int RunTsv(const CommandLine& command, OutputDevice& out, QTextStream& err,
           const UserLocale& locale) {
  TableState state;
  if (!LoadTable(command.reportFile, command.decimals, locale, state, err)) return kExitFailure;
  QTextStream(&out) << TableAsTsv(state, command.decimals);
  return kExitOk;
}

int RunPdf(const CommandLine& command, OutputDevice& out, QTextStream& err,
           const UserLocale& locale) {
  TableState state;
  if (!LoadTable(command.reportFile, command.decimals, locale, state, err)) return kExitFailure;

  const bool toOutput = command.PdfToStandardOutput();
  const QFileInfo target(command.pdfFile);
  ConsoleDialogs dialogs(err, toOutput ? QString() : command.pdfFile);
  // Refused before the printing, which takes the longest.
  if (const Status refused =
          toOutput ? Status() : PdfFile::Refused(target.absolutePath(), target.fileName());
      !refused.ok()) {
    dialogs.Message(PdfFile::Message(refused.failure(), target.fileName()));
    return kExitFailure;
  }

  QPrinter printer(QPrinter::HighResolution);
  PdfFile pdf;
  if (const Status begun = pdf.Begin(printer); !begun.ok()) {
    dialogs.Message(PdfFile::Message(begun.failure(), target.fileName()));
    return kExitFailure;
  }
  const bool printed =
      PrintReportText(printer, dialogs, Report(state, locale), ShownReportPrintSettings());
  const Result<QByteArray> finished = pdf.Finish(printer);
  if (!printed) return kExitFailure;
  if (!finished.ok()) {
    dialogs.Message(PdfFile::Message(finished.failure(), target.fileName()));
    return kExitFailure;
  }
  const QByteArray& document = finished.value();
  if (toOutput) {
    out.write(document);
    return kExitOk;
  }
  if (const Status written = PdfFile::Write(target.absolutePath(), target.fileName(), document);
      !written.ok()) {
    dialogs.Message(PdfFile::Message(written.failure(), target.fileName()));
    return kExitFailure;
  }
  return kExitOk;
}

int RunMode(const CommandLine& command, QIODevice& in, OutputDevice& out, QTextStream& err,
            const UserLocale& locale) {
  switch (command.mode) {
    case CommandLine::Mode::Help:
      QTextStream(&out) << UsageText();
      return kExitOk;
    case CommandLine::Mode::Version:
      QTextStream(&out) << VersionText();
      return kExitOk;
    case CommandLine::Mode::Eval:
      return RunEval(command, in, out, err, locale);
    case CommandLine::Mode::Report:
      return RunReport(command, out, err, locale);
    case CommandLine::Mode::Pdf:
      return RunPdf(command, out, err, locale);
    case CommandLine::Mode::Tsv:
      return RunTsv(command, out, err, locale);
    case CommandLine::Mode::UsageError:
      err << "verodazava: " << command.error << '\n'
          << QStringLiteral("Помощ: verodazava --help") << '\n';
      return kExitFailure;
    case CommandLine::Mode::Window:
      break;
  }
  return kExitFailure;
}

}  // namespace

OutputDevice::OutputDevice(int fd) : m_fd(fd) {
  open(QIODevice::WriteOnly | QIODevice::Unbuffered);
}

qint64 OutputDevice::writeData(const char* data, qint64 size) {
  if (m_error) return -1;
  qint64 done = 0;
  while (done < size) {
    const ssize_t written = ::write(m_fd, data + done, static_cast<size_t>(size - done));
    if (written < 0 && errno == EINTR) continue;
    if (written <= 0) {
      m_error = written < 0 ? errno : ENOSPC;
      return -1;
    }
    done += written;
  }
  return done;
}

InputFormulas ReadInputFormulas(QIODevice& in) {
  InputFormulas input;
  // One line more than the table holds is enough to refuse the input.
  while (input.formulas.size() <= kVisibleRows) {
    QByteArray line;
    bool ended = false;
    bool tooLong = false;
    char c = 0;
    for (;;) {
      if (!in.getChar(&c)) {
        ended = true;
        break;
      }
      if (c == '\n') break;
      if (line.size() == kInputLineBytes) {
        tooLong = true;
        break;
      }
      line.append(c);
    }
    if (ended && line.isEmpty()) break;
    if (line.endsWith('\r')) line.chop(1);
    const QString formula = QString::fromUtf8(line);
    if (tooLong || formula.size() > kFormulaWidth) {
      input.error = QStringLiteral("ред %1 на стандартния вход е по-дълъг от %2 знака")
                        .arg(input.formulas.size() + 1)
                        .arg(kFormulaWidth);
      return input;
    }
    input.formulas.append(formula);
    if (ended) break;
  }
  return input;
}

int RunCommandLine(const CommandLine& command, QIODevice& in, OutputDevice& out, QTextStream& err,
                   const UserLocale& locale) {
  const int status = RunMode(command, in, out, err, locale);
  // Whatever the mode wrote must have arrived: a full disk is a failure, not a short file.
  if (out.Error() == 0) return status;
  err << "verodazava: " << ErrorMessage(ErrorCodeFor(out.Error())) << '\n';
  return kExitFailure;
}

}  // namespace cli
