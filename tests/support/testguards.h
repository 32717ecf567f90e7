#pragma once

#include <QApplication>
#include <QLocale>
#include <QObject>
#include <QPointer>
#include <QStringList>
#include <QTimer>
#include <QWidget>

// Watches for modal dialogs that a test did not route through the dialog seam: each one is
// recorded and rejected, so the test fails instead of hanging.
class ModalGuard : public QObject {
  Q_OBJECT
 public:
  ModalGuard();
  // Titles of the unexpected dialogs seen since the last call; the list is then emptied.
  QStringList TakeSeen();

 private:
  void Check();
  QTimer m_timer;
  QStringList m_seen;
};

// Hands the next real modal dialog, once the event loop has opened it, to `answer` as a Box;
// a dialog of another kind is left to the ModalGuard.
template <class Box = QWidget, class Answer>
void AnswerNextModal(Answer answer) {
  QTimer::singleShot(0, [answer] {
    if (auto* box = qobject_cast<Box*>(QApplication::activeModalWidget())) answer(box);
  });
}
