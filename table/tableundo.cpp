#include "tableundo.h"

TableSnapshot TableSnapshot::Of(const TableState& state) {
  return {state.rows, state.explanation, state.roundingDigits};
}

void TableSnapshot::ApplyTo(TableState& state) const {
  state.rows = rows;
  state.explanation = explanation;
  state.roundingDigits = roundingDigits;
}

TableChange::TableChange(TableSnapshot before, TableSnapshot after, int row, Show show,
                         bool alreadyMade, int mergeId)
    : m_before(std::move(before)),
      m_after(std::move(after)),
      m_row(row),
      m_show(std::move(show)),
      m_skipRedo(alreadyMade),
      m_mergeId(mergeId) {}

void TableChange::undo() {
  m_show(m_before, m_row);
}

void TableChange::redo() {
  if (m_skipRedo) {
    m_skipRedo = false;
    return;
  }
  m_show(m_after, m_row);
}

bool TableChange::mergeWith(const QUndoCommand* other) {
  const auto* next = static_cast<const TableChange*>(other);
  m_after = next->m_after;
  m_row = next->m_row;
  // Typing a field back to what it was leaves nothing to undo.
  setObsolete(m_after == m_before);
  return true;
}
