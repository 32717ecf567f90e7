#pragma once

#include "diagram.h"
#include "singlewindow.h"

// Keeps the one chart window of the run: created on first use, destroyed when it closes.
class DiagramOwner final {
 public:
  DiagramOwner(Dialogs& dialogs, PrintTarget& target);

  // cmdDiagram: a new window with the current results, or the open one brought forward
  // unchanged.
  void Open(const TableState& state, QWidget* parent = nullptr);
  // Closes the window if it is open (the main window unloads).
  void Close();
  // The open window, or nullptr.
  Diagram* Window() const { return m_window.Open(); }

 private:
  Dialogs& m_dialogs;
  PrintTarget& m_target;
  SingleWindow<Diagram> m_window;
};
