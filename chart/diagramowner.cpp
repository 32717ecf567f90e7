#include "diagramowner.h"

DiagramOwner::DiagramOwner(Dialogs& dialogs, PrintTarget& target)
    : m_dialogs(dialogs), m_target(target) {}

void DiagramOwner::Open(const TableState& state, QWidget* parent) {
  if (Diagram* open = Window()) {
    open->raise();
    open->activateWindow();
    return;
  }
  m_window.OpenOrMake([&] { return new Diagram(state, m_dialogs, m_target, parent); }).show();
}

void DiagramOwner::Close() {
  m_window.Close();
}
