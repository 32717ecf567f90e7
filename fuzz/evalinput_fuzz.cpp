#include <fcntl.h>

#include <QBuffer>
#include <QLocale>
#include <cstdint>
#include <cstdlib>

#include "batchmodes.h"

// The bytes are the standard input of "verodazava --eval -": the bounded reading and then the
// whole mode, results written to /dev/null. No input may hold more than the bound, and the
// run ends with one of the program's exit statuses.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static cli::OutputDevice out(::open("/dev/null", O_WRONLY | O_CLOEXEC));
  static const UserLocale locale = UserLocale::From(QLocale(QLocale::Bulgarian, QLocale::Bulgaria));
  const QByteArray bytes =
      QByteArray::fromRawData(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));

  QBuffer input;
  input.setData(bytes);
  input.open(QIODevice::ReadOnly);
  const cli::InputFormulas read = cli::ReadInputFormulas(input);
  if (read.formulas.size() > kVisibleRows + 1) std::abort();
  for (const QString& formula : read.formulas)
    if (formula.size() > kFormulaWidth || formula.contains(u'\n')) std::abort();
  if (read.error.isEmpty() && input.pos() < bytes.size() && read.formulas.size() <= kVisibleRows)
    std::abort();

  input.seek(0);
  cli::CommandLine command;
  command.mode = cli::CommandLine::Mode::Eval;
  command.formulas = QStringList{QStringLiteral("-")};
  QString messages;
  QTextStream err(&messages);
  const int status = cli::RunCommandLine(command, input, out, err, locale);
  if (status != cli::kExitOk && status != cli::kExitFailure && status != cli::kExitSyntaxError)
    std::abort();
  if ((status == cli::kExitFailure) !=
      (!read.error.isEmpty() || read.formulas.size() > kVisibleRows))
    std::abort();
  return 0;
}
