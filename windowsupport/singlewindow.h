#pragma once

#include <QPointer>
#include <QWidget>

// At most one window of a kind: made on first use, reused while it is open, and made afresh
// once it has been closed. A closed window deletes itself later; the owner deletes one that
// still waits for that when the run ends first.
template <class Window>
class SingleWindow final {
 public:
  SingleWindow() = default;
  ~SingleWindow() { delete m_window.data(); }
  SingleWindow(const SingleWindow&) = delete;
  SingleWindow& operator=(const SingleWindow&) = delete;

  // The open window, or null: a closed one only waits for its deletion.
  Window* Open() const { return m_window && m_window->isVisible() ? m_window.data() : nullptr; }

  // The open window, or a new one from `make()` when there is none.
  template <class Make>
  Window& OpenOrMake(Make make) {
    if (Window* open = Open()) return *open;
    if (m_window) m_window->deleteLater();
    m_window = make();
    m_window->setAttribute(Qt::WA_DeleteOnClose);
    return *m_window;
  }

  // Closes the window, as its own close button does.
  void Close() {
    if (m_window) m_window->close();
  }

 private:
  QPointer<Window> m_window;
};
