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

// The folders Qt looks in for its platform plugins, before the application object exists:
// the -platformpluginpath option or QT_QPA_PLATFORM_PLUGIN_PATH, then "platforms" under
// QT_PLUGIN_PATH, Qt's plugin folder and the program's own folder.
QStringList PlatformPluginFolders(const QString& pluginPathOption);

// The platform names the plugins in `folders` (and those linked in) answer to, in lower case.
QStringList AvailablePlatforms(const QStringList& folders);

// Qt aborts with its own English text on a platform it cannot load, so the program asks first.
// Nothing when `platform` (QT_QPA_PLATFORM's list, or -platform) is empty or names at least
// one available platform; otherwise the message for the user, in Bulgarian and English.
std::optional<QString> UnknownPlatformMessage(const QString& platform,
                                              const QStringList& available);
