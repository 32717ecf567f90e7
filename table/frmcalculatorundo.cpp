#include <QLineEdit>
#include <QScopeGuard>
#include <QSignalBlocker>

#include "frmcalculator.h"

// The window's part of undo: every change of the table is a step from the state before it to
// the state after it, and showing a step's state is what undo and redo do.

TableSnapshot frmCalculator::Snapshot() const {
  TableSnapshot snapshot = TableSnapshot::Of(m_state);
  snapshot.explanation = m_txtH->text();
  return snapshot;
}

int frmCalculator::FieldMergeId(const QLineEdit* field) const {
  return 2 * m_fieldVisit + (field == m_txtR ? 1 : 0);
}

void frmCalculator::PushChange(TableSnapshot before, int row, int mergeId) {
  TableSnapshot after = Snapshot();
  if (after == before) return;
  m_undo.push(new TableChange(
      std::move(before), std::move(after), row,
      [this](const TableSnapshot& state, int focus) { ShowState(state, focus); }, true, mergeId));
}

void frmCalculator::RecordTableChange(const TableSnapshot& before, int row) {
  PushChange(before, row);
}

void frmCalculator::ApplyTableChange(const TableSnapshot& after, int row) {
  if (after == Snapshot()) return;
  m_undo.push(new TableChange(
      Snapshot(), after, row,
      [this](const TableSnapshot& state, int focus) { ShowState(state, focus); }, false));
}

void frmCalculator::Undo() {
  m_undo.undo();
}

void frmCalculator::Redo() {
  m_undo.redo();
}

void frmCalculator::ShowState(const TableSnapshot& state, int row) {
  m_showingState = true;
  const auto done = qScopeGuard([this] { m_showingState = false; });
  state.ApplyTo(m_state);
  m_shownExplanation = state.explanation;
  {
    const QSignalBlocker blockH(m_txtH);
    const QSignalBlocker blockR(m_txtR);
    if (m_txtH->text() != state.explanation) m_txtH->setText(state.explanation);
    const QString digits = QString::number(state.roundingDigits);
    if (m_txtR->text() != digits) m_txtR->setText(digits);
  }
  MakeScreen();
  ClearMarks();
  // Typing in a field after an undo starts a step of its own.
  ++m_fieldVisit;
  if (row >= 0 && row < kVisibleRows)
    FocusRow(row);
  else if (row == kExplanationStep)
    m_txtH->setFocus();
  else if (row == kRoundingStep)
    m_txtR->setFocus();
  RunCommand(m_commands.tableChanged);
}
