#pragma once

#include <QString>
#include <functional>
#include <optional>

// The environment that decides which display the window would open on.
struct DisplayEnvironment {
  QString platform;          // QT_QPA_PLATFORM; empty: Qt's default (X11, or Wayland)
  QString x11Display;        // DISPLAY
  QString waylandDisplay;    // WAYLAND_DISPLAY: a socket name in the runtime directory, or a path
  QString runtimeDirectory;  // XDG_RUNTIME_DIR

  static DisplayEnvironment FromProcess();
};

// Whether a display answers: an X11 display name, or a Wayland socket path.
struct DisplayProbes {
  std::function<bool(const QString& display)> x11;
  std::function<bool(const QString& socketPath)> wayland;

  static DisplayProbes Real();
};

// Qt aborts with a core dump when its platform finds no display, so the program asks first.
// Nothing when a display answers or the platform needs none (offscreen, VNC, ...); otherwise
// the message for the user, in Bulgarian and English, naming the display that was tried.
std::optional<QString> MissingDisplayMessage(const DisplayEnvironment& environment,
                                             const DisplayProbes& probes);
