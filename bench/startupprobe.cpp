// Linked into the start-up programs: ends the process as soon as its first window has been
// exposed and painted, so that a profiler counts the start and nothing after it.
#include <QCoreApplication>
#include <QEvent>
#include <QTimer>
#include <QWindow>
#include <cstdio>
#include <cstdlib>

namespace {

class ShownProbe final : public QObject {
 public:
  using QObject::QObject;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::Expose && !m_seen) {
      auto* window = qobject_cast<QWindow*>(watched);
      if (window && window->isExposed()) {
        m_seen = true;
        // The expose is painted while it is handled; the timer fires after that.
        QTimer::singleShot(0, [] {
          std::fflush(nullptr);
          std::_Exit(0);
        });
      }
    }
    return false;
  }

 private:
  bool m_seen = false;
};

void InstallProbe() {
  QCoreApplication::instance()->installEventFilter(new ShownProbe(QCoreApplication::instance()));
}

}  // namespace

Q_COREAPP_STARTUP_FUNCTION(InstallProbe)
