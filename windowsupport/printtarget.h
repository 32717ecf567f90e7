#pragma once

#include <QPrinter>
#include <memory>

#include "pdffile.h"

class Dialogs;
class TableState;

// Where the print commands send their jobs. The printer object lives for the whole run, so
// its orientation and font settings carry from one job to the next, as with a system printer.
class PrintTarget {
 public:
  virtual ~PrintTarget() = default;
  virtual QPrinter& Printer() = 0;
  // Called before every job; false when there is nowhere to print (the user gave up).
  virtual bool BeginJob() = 0;
  // Called after every job that BeginJob allowed, with whether the printer took it all. A
  // target that keeps the output itself reports its own failure; true when the job is kept.
  virtual bool EndJob(bool printed) { return printed; }
};

// The system's default printer. When there is none, the user is offered a PDF file in the
// table's start directory as it is at the time of the job, named with the rules of the
// formula save prompt. An existing file is replaced only when the user agrees, a formula file
// (".SPR") or anything that is not an ordinary file never. The PDF is written by PdfFile once the
// job is complete.
class DefaultPrintTarget final : public PrintTarget {
 public:
  DefaultPrintTarget(Dialogs& dialogs, const TableState& state);
  ~DefaultPrintTarget() override;
  QPrinter& Printer() override;
  bool BeginJob() override;
  bool EndJob(bool printed) override;

 private:
  bool BeginPdf();

  Dialogs& m_dialogs;
  const TableState& m_state;
  std::unique_ptr<QPrinter> m_printer;
  // The PDF job under way: the name it is to get, the document being drawn.
  QString m_pdfName;
  std::unique_ptr<PdfFile> m_pdf;
};
