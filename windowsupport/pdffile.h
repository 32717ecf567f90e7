#pragma once

#include <QByteArray>
#include <QString>
#include <optional>
#include <variant>

class QPrinter;

// The one way a report becomes a PDF file, for the window's offer and for the command line.
// The printer draws into a memory file; only a complete document leaves it, written out with
// the formula files' all-or-nothing writer (or handed to the caller for standard output).
// Failures come back as the message the user is shown.
class PdfFile {
 public:
  PdfFile() = default;
  ~PdfFile();
  PdfFile(const PdfFile&) = delete;
  PdfFile& operator=(const PdfFile&) = delete;

  // Why a PDF may not be written as `name` in `directory`: the name belongs to the formula
  // files (".SPR"), or the writer would refuse what stands there (a folder, a device, a FIFO,
  // a socket, or a link to one). Nothing when it may.
  static std::optional<QString> Refused(const QString& directory, const QString& name);

  // Points `printer` at a fresh memory file for the next job.
  std::optional<QString> Begin(QPrinter& printer);
  // After the printer's job: the finished document, or the failure when it is unreadable or
  // does not end as a PDF ends (the PDF writer reports no failed write of its own).
  std::variant<QByteArray, QString> Finish(QPrinter& printer);

  // Writes a finished document as `name` in `directory`, all or nothing, after the checks of
  // Refused.
  static std::optional<QString> Write(const QString& directory, const QString& name,
                                      const QByteArray& pdf);

 private:
  static std::optional<QString> RefusedName(const QString& name);

  int m_memory = -1;
};
