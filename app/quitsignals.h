#pragma once

#include <memory>

class QSocketNotifier;

// SIGTERM (the session ends, `kill`), SIGHUP (the terminal it runs in closes) and SIGINT
// (Ctrl+C there) end the program as Esc does instead of killing it on the spot: the event
// loop ends, and what is written at the end (the table kept for recovery) is written. The
// handler only writes the signal's number into a pipe, which the event loop reads.
class QuitOnSignals {
 public:
  // Once the application object exists.
  QuitOnSignals();
  ~QuitOnSignals();
  QuitOnSignals(const QuitOnSignals&) = delete;
  QuitOnSignals& operator=(const QuitOnSignals&) = delete;

  // The signal that ended the event loop; 0 while none has come.
  static int Received();
  // After everything is written: the process ends as the signal received would have ended it,
  // so that whoever sent it sees it did. Returns when no signal came.
  static void EndAsReceived();

 private:
  std::unique_ptr<QSocketNotifier> m_notifier;
};
