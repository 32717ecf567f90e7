#pragma once

#include "diagramowner.h"
#include "frmcalculator.h"
#include "reportwindow.h"

class Dialogs;
class PrintTarget;
class TableState;

// The main window with the windows it opens: the file commands, the report viewer, the chart
// and the help are connected to its buttons here, so that none of them depends on another.
class CalculatorApp {
 public:
  CalculatorApp(TableState& state, Dialogs& dialogs, PrintTarget& printTarget, UserLocale locale);
  CalculatorApp(const CalculatorApp&) = delete;
  CalculatorApp& operator=(const CalculatorApp&) = delete;

  frmCalculator& Window() { return m_window; }
  ReportWindow& Reports() { return m_reports; }
  DiagramOwner& Charts() { return m_charts; }

 private:
  // The secondary windows outlive the main window, which closes them when it unloads.
  ReportWindow m_reports;
  DiagramOwner m_charts;
  frmCalculator m_window;
};
