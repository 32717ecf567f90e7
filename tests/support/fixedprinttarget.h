#pragma once

#include "printtarget.h"

// A target that always prints into one printer, e.g. a PDF file; or, made refusing, a printer
// dialog the user gives up on.
class FixedPrintTarget final : public PrintTarget {
 public:
  explicit FixedPrintTarget(QPrinter& printer, bool refusing = false)
      : m_printer(printer), m_refusing(refusing) {}
  QPrinter& Printer() override { return m_printer; }
  bool BeginJob() override { return !m_refusing; }

 private:
  QPrinter& m_printer;
  bool m_refusing;
};
