#include "printtarget.h"

#include <QPrinterInfo>

#include "dialogs.h"
#include "errormessage.h"
#include "filenames.h"

DefaultPrintTarget::DefaultPrintTarget(Dialogs& dialogs, QString startDirectory)
    : m_dialogs(dialogs), m_startDirectory(std::move(startDirectory)) {}

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
  if (!system.isNull()) {
    printer.setOutputFileName({});
    printer.setOutputFormat(QPrinter::NativeFormat);
    printer.setPrinterName(system.printerName());
    return true;
  }
  if (!m_dialogs.Question(ErrorMessage(ErrorCode::NoDefaultPrinter) +
                          QStringLiteral("\r\nДа се запише ли страницата като PDF файл?")))
    return false;
  const QString answer = m_dialogs.InputBox(kSaveNamePrompt, kSaveNameTitle, QString());
  if (answer.isEmpty()) return false;
  const QString name = WithDefaultExtension(answer, QStringLiteral(".PDF"));
  if (!IsPlainFileName(name)) {
    m_dialogs.Message(ErrorMessage(ErrorCode::BadFileName));
    return false;
  }
  printer.setOutputFormat(QPrinter::PdfFormat);
  printer.setOutputFileName(PathInDirectory(m_startDirectory, name));
  return true;
}
