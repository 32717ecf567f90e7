#include "pdffile.h"

#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QFile>
#include <QPrinter>
#include <cerrno>
#include <utility>

#include "errormessage.h"
#include "filenames.h"
#include "safefile.h"

PdfFile::~PdfFile() {
  if (m_memory >= 0) ::close(m_memory);
}

std::optional<QString> PdfFile::RefusedName(const QString& name) {
  if (!IsFormulaFileName(name)) return std::nullopt;
  return QStringLiteral(
             "Името „%1“ е запазено за файлове с формули (.SPR). Изберете друго име за PDF "
             "файла.")
      .arg(name);
}

std::optional<QString> PdfFile::Refused(const QString& directory, const QString& name) {
  if (auto refused = RefusedName(name)) return refused;
  // Judged before the drawing, by the writer's own rule.
  if (const auto failure = CheckWritable(directory, name)) return ErrorMessage(*failure);
  return std::nullopt;
}

std::optional<QString> PdfFile::Begin(QPrinter& printer) {
  if (m_memory >= 0) ::close(std::exchange(m_memory, -1));
  m_memory = ::memfd_create("verodazava-pdf", MFD_CLOEXEC);
  if (m_memory < 0) return ErrorMessage(ErrorCodeFor(errno));
  printer.setOutputFormat(QPrinter::PdfFormat);
  printer.setOutputFileName(QStringLiteral("/proc/self/fd/%1").arg(m_memory));
  return std::nullopt;
}

std::variant<QByteArray, QString> PdfFile::Finish(QPrinter& printer) {
  printer.setOutputFileName({});
  const int memory = std::exchange(m_memory, -1);
  if (memory < 0) return ErrorMessage(ErrorCode::PathFileAccess);
  QFile drawn;
  if (!drawn.open(memory, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
    ::close(memory);
    return ErrorMessage(ErrorCode::PathFileAccess);
  }
  drawn.seek(0);
  const QByteArray pdf = drawn.readAll();
  if (drawn.error() != QFileDevice::NoError) return ErrorMessage(ErrorCode::PathFileAccess);
  // A document cut short by a failed write lacks its end-of-file marker.
  if (!pdf.right(8).contains("%%EOF")) return ErrorMessage(ErrorCode::DiskFull);
  return pdf;
}

std::optional<QString> PdfFile::Write(const QString& directory, const QString& name,
                                      const QByteArray& pdf) {
  if (auto refused = Refused(directory, name)) return refused;
  if (const auto failure = WriteFileAtomically(directory, name, pdf)) return ErrorMessage(*failure);
  return std::nullopt;
}
