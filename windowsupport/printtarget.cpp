#include "printtarget.h"

#include <QPrinterInfo>
#include <utility>

#include "dialogs.h"
#include "errormessage.h"
#include "filenames.h"
#include "pdffile.h"
#include "safefile.h"
#include "tablestate.h"

DefaultPrintTarget::DefaultPrintTarget(Dialogs& dialogs, const TableState& state)
    : m_dialogs(dialogs), m_state(state) {}

DefaultPrintTarget::~DefaultPrintTarget() = default;

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
  if (const Status refused = PdfFile::Refused(m_state.startDirectory, name); !refused.ok()) {
    m_dialogs.Message(PdfFile::Message(refused.failure(), name));
    return false;
  }
  if (EntryExists(m_state.startDirectory, name) &&
      !m_dialogs.YesNo(QStringLiteral("Файлът „%1“ вече съществува. Да бъде ли заменен?").arg(name),
                       false, nullptr))
    return false;

  // Nothing reaches the directory before the job is complete.
  auto pdf = std::make_unique<PdfFile>();
  if (const Status begun = pdf->Begin(Printer()); !begun.ok()) {
    m_dialogs.Message(PdfFile::Message(begun.failure(), name));
    return false;
  }
  m_pdf = std::move(pdf);
  m_pdfName = name;
  return true;
}

bool DefaultPrintTarget::EndJob(bool printed) {
  if (!m_pdf) return printed;
  const std::unique_ptr<PdfFile> pdf = std::move(m_pdf);
  const QString name = std::exchange(m_pdfName, QString());
  const Result<QByteArray> finished = pdf->Finish(Printer());
  if (!printed) return false;
  if (!finished.ok()) {
    m_dialogs.Message(PdfFile::Message(finished.failure(), name));
    return false;
  }
  if (const Status written = PdfFile::Write(m_state.startDirectory, name, finished.value());
      !written.ok()) {
    m_dialogs.Message(PdfFile::Message(written.failure(), name));
    return false;
  }
  return true;
}
