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

Status PdfFile::Refused(const QString& directory, const QString& name) {
  if (IsFormulaFileName(name)) return ErrorCode::FormulaFileName;
  // Judged before the drawing, by the writer's own rule.
  return CheckWritable(directory, name);
}

QString PdfFile::Message(ErrorCode failure, const QString& name) {
  if (failure != ErrorCode::FormulaFileName) return ErrorMessage(failure);
  return QStringLiteral(
             "Името „%1“ е запазено за файлове с формули (.SPR). Изберете друго име за PDF "
             "файла.")
      .arg(name);
}

Status PdfFile::Begin(QPrinter& printer) {
  if (m_memory >= 0) ::close(std::exchange(m_memory, -1));
  m_memory = ::memfd_create("verodazava-pdf", MFD_CLOEXEC);
  if (m_memory < 0) return ErrorCodeFor(errno);
  printer.setOutputFormat(QPrinter::PdfFormat);
  printer.setOutputFileName(QStringLiteral("/proc/self/fd/%1").arg(m_memory));
  return {};
}

Result<QByteArray> PdfFile::Finish(QPrinter& printer) {
  printer.setOutputFileName({});
  const int memory = std::exchange(m_memory, -1);
  if (memory < 0) return ErrorCode::PathFileAccess;
  QFile drawn;
  if (!drawn.open(memory, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
    ::close(memory);
    return ErrorCode::PathFileAccess;
  }
  drawn.seek(0);
  const QByteArray pdf = drawn.readAll();
  if (drawn.error() != QFileDevice::NoError) return ErrorCode::PathFileAccess;
  // A document cut short by a failed write lacks its end-of-file marker.
  if (!pdf.right(8).contains("%%EOF")) return ErrorCode::DiskFull;
  return pdf;
}

Status PdfFile::Write(const QString& directory, const QString& name, const QByteArray& pdf) {
  if (const Status refused = Refused(directory, name); !refused.ok()) return refused;
  return WriteFileAtomically(directory, name, pdf);
}
