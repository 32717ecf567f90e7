#pragma once

#include <QLocale>
#include <QObject>
#include <QStringList>
#include <QTimer>

// Pins QLocale's default for the life of a test and restores the one before.
class ScopedLocale {
 public:
  explicit ScopedLocale(const QLocale& locale) : m_previous(QLocale()) {
    QLocale::setDefault(locale);
  }
  ~ScopedLocale() { QLocale::setDefault(m_previous); }
  ScopedLocale(const ScopedLocale&) = delete;
  ScopedLocale& operator=(const ScopedLocale&) = delete;

 private:
  QLocale m_previous;
};

// Watches for modal dialogs that a test did not route through the dialog seam: each one is
// recorded and rejected, so the test fails instead of hanging.
class ModalGuard : public QObject {
  Q_OBJECT
 public:
  explicit ModalGuard(QObject* parent = nullptr);
  // Titles of the unexpected dialogs seen since the last call; the list is then emptied.
  QStringList TakeSeen();

 private:
  void Check();
  QTimer m_timer;
  QStringList m_seen;
};
