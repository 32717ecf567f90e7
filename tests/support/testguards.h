#pragma once

#include <QApplication>
#include <QElapsedTimer>
#include <QLocale>
#include <QObject>
#include <QPointer>
#include <QStringList>
#include <QTimer>
#include <QWidget>

// Watches for modal dialogs that a test did not route through the dialog seam: each one is
// recorded and rejected, so the test fails instead of hanging. A test that answers real
// dialogs itself gives them `patienceMs` to be answered before the guard steps in.
class ModalGuard : public QObject {
  Q_OBJECT
 public:
  explicit ModalGuard(int patienceMs = 0, QObject* parent = nullptr);
  // Titles of the unexpected dialogs seen since the last call; the list is then emptied.
  QStringList TakeSeen();

 private:
  void Check();
  QTimer m_timer;
  QStringList m_seen;
  int m_patienceMs;
  QPointer<QWidget> m_waiting;  // the modal dialog open since m_since
  QElapsedTimer m_since;
};

// Hands the next real modal dialog, once the event loop has opened it, to `answer` as a Box;
// a dialog of another kind is left to the ModalGuard.
template <class Box = QWidget, class Answer>
void AnswerNextModal(Answer answer) {
  QTimer::singleShot(0, [answer] {
    if (auto* box = qobject_cast<Box*>(QApplication::activeModalWidget())) answer(box);
  });
}
