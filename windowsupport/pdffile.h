#pragma once

#include <QByteArray>
#include <QString>

#include "status.h"

class QPrinter;

// The one way a report becomes a PDF file, for the window's offer and for the command line.
// The printer draws into a memory file; only a complete document leaves it, written out with
// the formula files' all-or-nothing writer (or handed to the caller for standard output).
// Failures come back as values; the caller shows them with Message.
class PdfFile {
 public:
  PdfFile() = default;
  ~PdfFile();
  PdfFile(const PdfFile&) = delete;
  PdfFile& operator=(const PdfFile&) = delete;

  // Whether a PDF may be written as `name` in `directory`: not when the name belongs to the
  // formula files (".SPR", FormulaFileName), nor when the writer would refuse what stands
  // there (a folder, a device, a FIFO, a socket, or a link to one).
  static Status Refused(const QString& directory, const QString& name);

  // Points `printer` at a fresh memory file for the next job.
  Status Begin(QPrinter& printer);
  // After the printer's job: the finished document, or the failure when it is unreadable or
  // does not end as a PDF ends (the PDF writer reports no failed write of its own).
  Result<QByteArray> Finish(QPrinter& printer);

  // Writes a finished document as `name` in `directory`, all or nothing, after the checks of
  // Refused.
  static Status Write(const QString& directory, const QString& name, const QByteArray& pdf);

  // What the user is told of `failure`, a step's for the PDF file `name`.
  static QString Message(ErrorCode failure, const QString& name);

  int m_memory = -1;
};
