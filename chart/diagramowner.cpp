#include "diagramowner.h"

DiagramOwner::DiagramOwner(Dialogs& dialogs, PrintTarget& target)
    : m_dialogs(dialogs), m_target(target) {}

DiagramOwner::~DiagramOwner() {
  delete m_window.data();
}

Diagram* DiagramOwner::Window() const {
  // A closed window waits for its deferred deletion; it is no longer the open one.
  return m_window && m_window->isVisible() ? m_window.data() : nullptr;
}

void DiagramOwner::Open(const TableState& state, QWidget* parent) {
  if (Diagram* open = Window()) {
    open->raise();
    open->activateWindow();
    return;
  }
  if (m_window) m_window->deleteLater();
  m_window = new Diagram(state, m_dialogs, m_target, parent);
  m_window->setAttribute(Qt::WA_DeleteOnClose);
  m_window->show();
}

void DiagramOwner::Close() {
  // The closed window waits for its deferred deletion; should the run end first, the
  // destructor still deletes it.
  if (m_window) m_window->close();
}
