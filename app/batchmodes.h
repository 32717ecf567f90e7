#pragma once

#include <QIODevice>
#include <QStringList>
#include <QTextStream>

#include "commandline.h"
#include "tablestate.h"
#include "userlocale.h"

namespace cli {

// Standard output as the modes without a window write it: every write goes straight to the
// descriptor and is checked, and the first failure's errno is kept, so that a full disk or
// /dev/full is never taken for success.
class OutputDevice final : public QIODevice {
 public:
  explicit OutputDevice(int fd);
  int Error() const { return m_error; }

 protected:
  qint64 readData(char*, qint64) override { return -1; }
  qint64 writeData(const char* data, qint64 size) override;

 private:
  int m_fd;
  int m_error = 0;
};

// The formulas of "--eval -", one a line (a CR before the LF is dropped), read with a bound:
// a line of more than kFormulaWidth characters, or more lines than the table has rows, ends
// the reading with the error, so no input holds more than about 27 KB in memory.
struct InputFormulas {
  QStringList formulas;
  QString error;  // what is wrong, or empty
};
InputFormulas ReadInputFormulas(QIODevice& in);

// Carries out every mode but Window and returns the exit status. Results, reports, tables and
// a PDF for "-" go to `out`, messages to `err`; a failed write to `out` is a failure of the
// run, told on `err`. Eval, Report, Pdf and Tsv use the table, evaluation, file reading and
// report code of the window; Pdf needs a QGuiApplication.
int RunCommandLine(const CommandLine& command, QIODevice& in, OutputDevice& out, QTextStream& err,
                   const UserLocale& locale);

}  // namespace cli
