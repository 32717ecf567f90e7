#pragma once

#include <QPrinter>
#include <memory>

class Dialogs;

// Where the print commands send their jobs. The printer object lives for the whole run, so
// its orientation and font settings carry from one job to the next, as with a system printer.
class PrintTarget {
 public:
  virtual ~PrintTarget() = default;
  virtual QPrinter& Printer() = 0;
  // Called before every job; false when there is nowhere to print (the user gave up).
  virtual bool BeginJob() = 0;
};

// The system's default printer. When there is none, the user is offered a PDF file in the
// start directory instead, named with the rules of the formula save prompt.
class DefaultPrintTarget final : public PrintTarget {
 public:
  DefaultPrintTarget(Dialogs& dialogs, QString startDirectory);
  ~DefaultPrintTarget() override;
  QPrinter& Printer() override;
  bool BeginJob() override;

 private:
  Dialogs& m_dialogs;
  QString m_startDirectory;
  std::unique_ptr<QPrinter> m_printer;
};
