#include "reportwindow.h"

ReportWindow::ReportWindow(Dialogs& dialogs, PrintTarget& target, QObject* parent)
    : QObject(parent), m_dialogs(dialogs), m_target(target) {}

ReportWindow::~ReportWindow() {
  delete m_viewer.data();
}

void ReportWindow::ShowReport(const QString& text) {
  if (!m_viewer) {
    m_viewer = new frmShowSpravki(m_dialogs, m_target);
    // A closed viewer deletes itself later; from now on it is no longer the open one.
    connect(m_viewer, &frmShowSpravki::closed, this, [this, viewer = m_viewer.data()] {
      if (m_viewer == viewer) m_viewer = nullptr;
    });
  }
  m_viewer->ShowReport(text);
}

void ReportWindow::Close() {
  if (m_viewer) m_viewer->close();
}
