#include "calculatorapp.h"

#include "formulacommands.h"
#include "frmhelp.h"
#include "reporttext.h"
#include "tablerecovery.h"

namespace {

const QString kRecoveryQuestion =
    QStringLiteral("Таблицата от последната работа не е записана. Да се възстанови ли?");

// The question names what each answer does; putting it off keeps the table for the next start.
QString RecoveryQuestion(int moreLeft) {
  if (moreLeft == 0) return kRecoveryQuestion;
  return kRecoveryQuestion + u'\n' +
         (moreLeft == 1 ? QStringLiteral("Пази се още една незаписана таблица; тя ще бъде "
                                         "предложена при следващото стартиране.")
                        : QStringLiteral("Пазят се още %1 незаписани таблици; те ще бъдат "
                                         "предлагани при следващите стартирания.")
                              .arg(moreLeft));
}

}  // namespace

CalculatorApp::CalculatorApp(TableState& state, Dialogs& dialogs, PrintTarget& printTarget,
                             UserLocale locale, TableRecovery* recovery)
    : m_state(state),
      m_dialogs(dialogs),
      m_recovery(recovery),
      m_dates(locale.dates),
      m_reports(dialogs, printTarget),
      m_charts(dialogs, printTarget),
      m_window(state, dialogs, locale, Commands(state, dialogs, locale)) {}

CalculatorCommands CalculatorApp::Commands(TableState& state, Dialogs& dialogs, UserLocale locale) {
  CalculatorCommands commands;
  commands.saveFile = [this, &state, &dialogs] {
    if (SaveFormulaFile(state, dialogs) == FileOutcome::Done && m_recovery) m_recovery->Remove();
  };
  commands.readFile = [this, &state, &dialogs] {
    // The read replaces the table without a question; undo brings the old one back.
    const TableSnapshot before = m_window.Snapshot();
    TableRead(ReadFormulaFile(state, dialogs, m_dates));
    m_window.RecordTableChange(before, 0);
  };
  commands.openFile = [this](const QString& path) {
    const TableSnapshot before = m_window.Snapshot();
    OpenStartFile(path);
    m_window.RecordTableChange(before, 0);
  };
  commands.print = [this, &state, locale] {
    m_reports.ShowReport(
        ComposeTableReport(state, m_window.ExplanationFieldText(), locale.decimalPoint));
  };
  commands.diagram = [this, &state] { m_charts.Open(state); };
  commands.help = [this] { help::ShowHelp(&m_window); };
  commands.closeWindows = [this] {
    m_charts.Close();
    m_reports.Close();
  };
  if (m_recovery) {
    commands.tableChanged = [this] { m_recovery->Keep(m_state); };
    commands.emptyTableCleared = [this] { m_recovery->Remove(); };
  }
  return commands;
}

void CalculatorApp::RecoverUnsavedTable(bool startedWithFile) {
  if (!m_recovery) return;
  const std::optional<RecoveredTable> found = m_recovery->Claim(!startedWithFile);
  if (!found) return;
  switch (m_dialogs.FirstSecondOrLater(RecoveryQuestion(found->moreLeft),
                                       QStringLiteral("Възстанови"), QStringLiteral("Изтрий"),
                                       QStringLiteral("По-късно"), &m_window)) {
    case Dialogs::Choice::First:
      break;
    case Dialogs::Choice::Second:
      m_recovery->Remove();
      return;
    case Dialogs::Choice::Later:
      m_recovery->Postpone();
      return;
  }
  ApplyFormulaFile(found->file, m_state);
  m_state.lastFileName = found->lastFileName;
  m_window.SetExplanationField(m_state.explanation);
  m_window.RecalculateRestored();
}

void CalculatorApp::OpenStartFile(const QString& path) {
  TableRead(ReadFormulaFileAt(m_state, path, m_dates));
}

FileOutcome CalculatorApp::TableRead(const ReadOutcome& read) {
  if (read.explanationRead) m_window.SetExplanationField(m_state.explanation);
  m_window.MakeScreen();
  if (!read.status.ok()) m_dialogs.Message(ErrorMessage(read.status.failure()));
  if (read.outcome == FileOutcome::Untouched) return read.outcome;
  // Every result is new, none changed by a recalculation the user asked for: no marks.
  m_window.ClearMarks();
  if (!m_recovery) return read.outcome;
  if (read.outcome == FileOutcome::Done)
    m_recovery->Remove();
  else
    m_recovery->Write(m_state);
  return read.outcome;
}
