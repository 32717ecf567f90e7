#include "reportwindow.h"

ReportWindow::ReportWindow(Dialogs& dialogs, PrintTarget& target, QObject* parent)
    : QObject(parent), m_dialogs(dialogs), m_target(target) {}

void ReportWindow::ShowReport(const QString& text) {
  m_viewer.OpenOrMake([this] { return new frmShowSpravki(m_dialogs, m_target); }).ShowReport(text);
}

void ReportWindow::Close() {
  m_viewer.Close();
}
