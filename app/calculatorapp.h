#pragma once

#include "diagramowner.h"
#include "formulacommands.h"
#include "frmcalculator.h"
#include "reportwindow.h"

class Dialogs;
class PrintTarget;
class TableRecovery;
class TableState;

// The main window with the windows it opens: the file commands, the report viewer, the chart
// and the help are connected to its buttons here, so that none of them depends on another.
class CalculatorApp {
 public:
  // With a `recovery`, every change of the table is kept in its recovery file.
  CalculatorApp(TableState& state, Dialogs& dialogs, PrintTarget& printTarget, UserLocale locale,
                TableRecovery* recovery = nullptr);
  CalculatorApp(const CalculatorApp&) = delete;
  CalculatorApp& operator=(const CalculatorApp&) = delete;

  // Once the window is shown: offers the newest table an earlier run left unsaved, unless the
  // program was started to open a file. It is restored, deleted, or, when the question is put
  // off (Esc, the close box), kept for the next start.
  void RecoverUnsavedTable(bool startedWithFile);
  // A formula file given on the command line: opened as the read command opens a chosen file
  // (read and recalculated once, no marks), its directory made the start directory. A file
  // that cannot be opened leaves the empty table and the read's message.
  void OpenStartFile(const QString& path);

  frmCalculator& Window() { return m_window; }
  ReportWindow& Reports() { return m_reports; }
  DiagramOwner& Charts() { return m_charts; }

 private:
  // The window's commands, built before the window; they run only once it exists.
  CalculatorCommands Commands(TableState& state, Dialogs& dialogs, UserLocale locale);
  // After a read: the window shows the table, a failure is reported, the marks go, and the
  // recovery file follows what the table now holds.
  FileOutcome TableRead(const ReadOutcome& read);

  TableState& m_state;
  Dialogs& m_dialogs;
  TableRecovery* m_recovery;
  DateSettings m_dates;  // the window's, for the recalculation of a table read
  // The secondary windows outlive the main window, which closes them when it unloads.
  ReportWindow m_reports;
  DiagramOwner m_charts;
  frmCalculator m_window;
};
