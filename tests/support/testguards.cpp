#include "testguards.h"

#include <QApplication>
#include <QDialog>
#include <QWidget>

ModalGuard::ModalGuard(int patienceMs, QObject* parent)
    : QObject(parent), m_patienceMs(patienceMs) {
  connect(&m_timer, &QTimer::timeout, this, &ModalGuard::Check);
  m_timer.start(20);
}

QStringList ModalGuard::TakeSeen() {
  QStringList seen;
  seen.swap(m_seen);
  return seen;
}

void ModalGuard::Check() {
  QWidget* modal = QApplication::activeModalWidget();
  if (!modal) return;
  if (modal != m_waiting) {
    m_waiting = modal;
    m_since.start();
  }
  if (m_since.elapsed() < m_patienceMs) return;
  m_seen.append(modal->windowTitle());
  if (auto* dialog = qobject_cast<QDialog*>(modal))
    dialog->reject();
  else
    modal->close();
}
