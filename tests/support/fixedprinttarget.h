#pragma once

#include "printtarget.h"

// A target that always prints into one printer, e.g. a PDF file.
class FixedPrintTarget final : public PrintTarget {
 public:
  explicit FixedPrintTarget(QPrinter& printer) : m_printer(printer) {}
  QPrinter& Printer() override { return m_printer; }
  bool BeginJob() override { return true; }

 private:
  QPrinter& m_printer;
};
