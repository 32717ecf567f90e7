#include "printtarget.h"

#include <sys/mman.h>
#include <unistd.h>

#include <QFile>
#include <QPrinterInfo>
#include <cerrno>
#include <utility>

#include "dialogs.h"
#include "errormessage.h"
#include "filenames.h"
#include "safefile.h"

DefaultPrintTarget::DefaultPrintTarget(Dialogs& dialogs, QString startDirectory)
    : m_dialogs(dialogs), m_startDirectory(std::move(startDirectory)) {}

DefaultPrintTarget::~DefaultPrintTarget() {
  if (m_pdfMemory >= 0) ::close(m_pdfMemory);
}

QPrinter& DefaultPrintTarget::Printer() {
  if (!m_printer)
    m_printer =
        std::make_unique<QPrinter>(QPrinterInfo::defaultPrinter(), QPrinter::HighResolution);
  return *m_printer;
}

bool DefaultPrintTarget::BeginJob() {
  QPrinter& printer = Printer();
  const QPrinterInfo system = QPrinterInfo::defaultPrinter();
  if (system.isNull()) return BeginPdf();
  printer.setOutputFileName({});
  printer.setOutputFormat(QPrinter::NativeFormat);
  printer.setPrinterName(system.printerName());
  return true;
}

bool DefaultPrintTarget::BeginPdf() {
  if (!m_dialogs.Question(ErrorMessage(ErrorCode::NoDefaultPrinter) +
                          QStringLiteral("\r\nДа се запише ли страницата като PDF файл?")))
    return false;
  const QString answer =
      m_dialogs.InputBox(kSaveNamePrompt.toString(), kSaveNameTitle.toString(), QString());
  if (answer.isEmpty()) return false;
  const QString name = WithDefaultExtension(answer, QStringLiteral(".PDF"));
  if (!IsPlainFileName(name)) {
    m_dialogs.Message(ErrorMessage(ErrorCode::BadFileName));
    return false;
  }
  if (IsFormulaFileName(name)) {
    m_dialogs.Message(
        QStringLiteral("Името „%1“ е запазено за файлове с формули (.SPR). Изберете друго "
                       "име за PDF файла.")
            .arg(name));
    return false;
  }
  if (EntryExists(m_startDirectory, name) &&
      !m_dialogs.YesNo(QStringLiteral("Файлът „%1“ вече съществува. Да бъде ли заменен?").arg(name),
                       false, nullptr))
    return false;

  // Nothing reaches the directory before the job is complete: the printer draws into memory.
  m_pdfMemory = ::memfd_create("verodazava-pdf", MFD_CLOEXEC);
  if (m_pdfMemory < 0) {
    m_dialogs.Message(ErrorMessage(ErrorCodeFor(errno)));
    return false;
  }
  m_pdfName = name;
  QPrinter& printer = Printer();
  printer.setOutputFormat(QPrinter::PdfFormat);
  printer.setOutputFileName(QStringLiteral("/proc/self/fd/%1").arg(m_pdfMemory));
  return true;
}

bool DefaultPrintTarget::EndJob(bool printed) {
  if (m_pdfMemory < 0) return printed;
  const int memory = std::exchange(m_pdfMemory, -1);
  const QString name = std::exchange(m_pdfName, QString());
  Printer().setOutputFileName({});
  QFile drawn;
  const bool opened = drawn.open(memory, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle);
  if (!opened) ::close(memory);
  if (!printed) return false;
  const QByteArray pdf = opened ? drawn.readAll() : QByteArray();
  if (!opened || drawn.error() != QFileDevice::NoError) {
    m_dialogs.Message(ErrorMessage(ErrorCode::PathFileAccess));
    return false;
  }
  if (const auto failure = WriteFileAtomically(m_startDirectory, name, pdf)) {
    m_dialogs.Message(ErrorMessage(*failure));
    return false;
  }
  return true;
}
