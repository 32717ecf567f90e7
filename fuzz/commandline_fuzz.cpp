#include <QFile>
#include <algorithm>
#include <cstdint>
#include <cstdlib>

#include "commandline.h"

// The bytes are the arguments after the program's name, separated by NUL bytes, as main()
// gets them. Whatever they are, the parse ends in one mode with what that mode needs.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  QStringList arguments{QStringLiteral("verodazava")};
  const QByteArray bytes =
      QByteArray::fromRawData(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
  if (!bytes.isEmpty())
    for (const QByteArray& argument : bytes.split('\0'))
      arguments.append(QFile::decodeName(argument));

  using cli::CommandLine;
  const CommandLine command = cli::ParseCommandLine(arguments);
  if (command.decimals < 0 || command.decimals > 15) std::abort();
  switch (command.mode) {
    case CommandLine::Mode::UsageError:
      if (command.error.isEmpty()) std::abort();
      break;
    case CommandLine::Mode::Eval:
      if (command.formulas.isEmpty()) std::abort();
      break;
    case CommandLine::Mode::Report:
    case CommandLine::Mode::Tsv:
      if (command.reportFile.isEmpty() && !arguments.contains(QString())) std::abort();
      break;
    case CommandLine::Mode::Pdf:
      // Given as the argument after the option, or after its "=".
      if (!std::any_of(arguments.begin(), arguments.end(), [&](const QString& argument) {
            return argument == command.pdfFile || argument.endsWith(u'=' + command.pdfFile);
          }))
        std::abort();
      break;
    case CommandLine::Mode::Window:
      if (!command.startFile.isEmpty() && !arguments.contains(command.startFile)) std::abort();
      break;
    case CommandLine::Mode::Help:
    case CommandLine::Mode::Version:
      break;
  }
  return 0;
}
