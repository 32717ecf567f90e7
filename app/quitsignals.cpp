#include "quitsignals.h"

#include <fcntl.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QSocketNotifier>
#include <array>
#include <cerrno>
#include <csignal>

namespace {

constexpr std::array kSignals{SIGTERM, SIGHUP, SIGINT};

int g_pipe[2] = {-1, -1};
int g_received = 0;

void Handle(int signal) {
  const int saved = errno;
  const unsigned char number = static_cast<unsigned char>(signal);
  // Async-signal-safe; a full pipe already holds a signal that ends the loop.
  [[maybe_unused]] const ssize_t written = ::write(g_pipe[1], &number, 1);
  errno = saved;
}

}  // namespace

QuitOnSignals::QuitOnSignals() {
  if (g_pipe[0] < 0 && ::pipe2(g_pipe, O_CLOEXEC | O_NONBLOCK) != 0) return;
  m_notifier = std::make_unique<QSocketNotifier>(g_pipe[0], QSocketNotifier::Read);
  QObject::connect(m_notifier.get(), &QSocketNotifier::activated, [] {
    unsigned char number = 0;
    while (::read(g_pipe[0], &number, 1) == 1)
      if (g_received == 0) g_received = number;
    // Every event loop ends, a modal dialog's too: its question is answered as by Esc.
    if (g_received != 0) QCoreApplication::exit(128 + g_received);
  });
  struct sigaction action {};
  action.sa_handler = Handle;
  sigemptyset(&action.sa_mask);
  action.sa_flags = SA_RESTART;
  for (const int signal : kSignals) {
    // A signal ignored from the start stays ignored: nohup means the hang-up is no reason.
    struct sigaction before {};
    if (::sigaction(signal, nullptr, &before) == 0 && before.sa_handler == SIG_IGN) continue;
    ::sigaction(signal, &action, nullptr);
  }
}

QuitOnSignals::~QuitOnSignals() = default;

int QuitOnSignals::Received() {
  return g_received;
}

void QuitOnSignals::EndAsReceived() {
  if (g_received == 0) return;
  std::signal(g_received, SIG_DFL);
  std::raise(g_received);
}
