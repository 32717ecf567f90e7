#include "calculatorapp.h"

#include "formulacommands.h"
#include "frmhelp.h"
#include "reporttext.h"

CalculatorApp::CalculatorApp(TableState& state, Dialogs& dialogs, PrintTarget& printTarget,
                             UserLocale locale)
    : m_reports(dialogs, printTarget),
      m_charts(dialogs, printTarget),
      m_window(state, dialogs, locale),
      m_state(state),
      m_dialogs(dialogs) {
  CalculatorCommands commands;
  commands.saveFile = [&state, &dialogs] { SaveFormulaFile(state, dialogs); };
  commands.readFile = [this, &state, &dialogs] {
    ReadFormulaFile(
        state, dialogs, [this] { m_window.MakeScreen(); },
        [this](const QString& text) { m_window.SetExplanationField(text); });
  };
  commands.print = [this, &state, locale] {
    m_reports.ShowReport(ComposeTableReport(state, state.roundingDigits,
                                            m_window.ExplanationFieldText(), locale.decimalPoint));
  };
  commands.diagram = [this, &state] { m_charts.Open(state); };
  commands.help = [this] { ShowHelp(&m_window); };
  commands.closeWindows = [this] {
    m_charts.Close();
    m_reports.Close();
  };
  m_window.SetCommands(std::move(commands));
}

void CalculatorApp::OpenStartFile(const QString& path) {
  if (ReadFormulaFileAt(
          m_state, m_dialogs, path, [this] { m_window.MakeScreen(); },
          [this](const QString& text) { m_window.SetExplanationField(text); }))
    m_window.Recalculate();
}
