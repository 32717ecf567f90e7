#include "displaycheck.h"

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>
#include <xcb/xcb.h>
#include <QDir>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonObject>
#include <QLibrary>
#include <QLibraryInfo>
#include <QPluginLoader>
#include <QStaticPlugin>
#include <QStringList>

#include <algorithm>
#include <cstring>

namespace {

bool IsWaylandPlatform(const QString& name) {
  return name.startsWith(QStringLiteral("wayland"));
}

bool X11Answers(const QString& display) {
  const QByteArray name = display.toLocal8Bit();
  xcb_connection_t* connection = xcb_connect(name.constData(), nullptr);
  const bool answers = xcb_connection_has_error(connection) == 0;
  xcb_disconnect(connection);
  return answers;
}

bool WaylandAnswers(const QString& socketPath) {
  const QByteArray path = socketPath.toLocal8Bit();
  sockaddr_un address{};
  if (path.isEmpty() || static_cast<size_t>(path.size()) >= sizeof address.sun_path) return false;
  address.sun_family = AF_UNIX;
  std::memcpy(address.sun_path, path.constData(), static_cast<size_t>(path.size()));
  const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (fd < 0) return false;
  const bool answers =
      ::connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0;
  ::close(fd);
  return answers;
}

constexpr QLatin1StringView kPlatformInterface(
    "org.qt-project.Qt.QPA.QPlatformIntegrationFactoryInterface.5.3");

void AddKeys(const QJsonObject& metaData, QStringList& keys) {
  if (metaData.value(QLatin1StringView("IID")).toString() != kPlatformInterface) return;
  const QJsonArray names = metaData.value(QLatin1StringView("MetaData"))
                               .toObject()
                               .value(QLatin1StringView("Keys"))
                               .toArray();
  for (const QJsonValue& name : names) keys.append(name.toString().toLower());
}

// The names of a QT_QPA_PLATFORM value ("wayland;xcb"), each without its options ("vnc:size=…").
QStringList PlatformNames(const QString& platform) {
  QStringList names;
  for (const QString& entry : platform.split(u';', Qt::SkipEmptyParts))
    names.append(entry.section(u':', 0, 0).trimmed());
  names.removeAll(QString());
  return names;
}

QString WaylandSocketPath(const DisplayEnvironment& environment) {
  if (environment.waylandDisplay.startsWith(u'/')) return environment.waylandDisplay;
  if (environment.runtimeDirectory.isEmpty()) return {};
  return environment.runtimeDirectory + u'/' + environment.waylandDisplay;
}

}  // namespace

DisplayEnvironment DisplayEnvironment::FromProcess() {
  return {qEnvironmentVariable("QT_QPA_PLATFORM"), qEnvironmentVariable("DISPLAY"),
          qEnvironmentVariable("WAYLAND_DISPLAY"), qEnvironmentVariable("XDG_RUNTIME_DIR")};
}

DisplayProbes DisplayProbes::Real() {
  return {X11Answers, WaylandAnswers};
}

std::optional<QString> MissingDisplayMessage(const DisplayEnvironment& environment,
                                             const DisplayProbes& probes) {
  const QStringList platforms = PlatformNames(environment.platform);
  for (const QString& platform : platforms)
    if (platform != QStringLiteral("xcb") && !IsWaylandPlatform(platform)) return std::nullopt;
  const bool x11 = platforms.isEmpty() || platforms.contains(QStringLiteral("xcb"));
  const bool wayland =
      platforms.isEmpty() || std::any_of(platforms.begin(), platforms.end(), IsWaylandPlatform);

  QStringList tried;
  if (wayland && !environment.waylandDisplay.isEmpty()) {
    if (probes.wayland(WaylandSocketPath(environment))) return std::nullopt;
    tried.append(environment.waylandDisplay);
  }
  if (x11 && !environment.x11Display.isEmpty()) {
    if (probes.x11(environment.x11Display)) return std::nullopt;
    tried.append(environment.x11Display);
  }

  if (tried.isEmpty())
    return QStringLiteral(
        "verodazava: не е зададен графичен дисплей (DISPLAY и WAYLAND_DISPLAY са празни).\n"
        "verodazava: no display is set (DISPLAY and WAYLAND_DISPLAY are empty).\n"
        "Без дисплей работят --eval, --report и --pdf (вижте verodazava --help).\n");
  const QString bulgarian = QStringLiteral("„") + tried.join(QStringLiteral("“, „")) + u'“';
  const QString english = u'"' + tried.join(QStringLiteral("\", \"")) + u'"';
  return QStringLiteral(
             "verodazava: няма връзка с графичния дисплей %1.\n"
             "verodazava: cannot connect to display %2.\n"
             "Без дисплей работят --eval, --report и --pdf (вижте verodazava --help).\n")
      .arg(bulgarian, english);
}

QStringList PlatformPluginFolders(const QString& pluginPathOption) {
  QStringList folders;
  const QString direct = pluginPathOption.isEmpty()
                             ? qEnvironmentVariable("QT_QPA_PLATFORM_PLUGIN_PATH")
                             : pluginPathOption;
  if (!direct.isEmpty()) folders.append(direct);
  QStringList roots = qEnvironmentVariable("QT_PLUGIN_PATH").split(u':', Qt::SkipEmptyParts);
  roots.append(QLibraryInfo::path(QLibraryInfo::PluginsPath));
  roots.append(QFileInfo(QStringLiteral("/proc/self/exe")).canonicalPath());
  for (const QString& root : roots) folders.append(root + QStringLiteral("/platforms"));
  return folders;
}

QStringList AvailablePlatforms(const QStringList& folders) {
  QStringList keys;
  for (const QStaticPlugin& plugin : QPluginLoader::staticPlugins())
    AddKeys(plugin.metaData(), keys);
  for (const QString& folder : folders) {
    const QDir dir(folder);
    for (const QString& file : dir.entryList(QDir::Files))
      if (QLibrary::isLibrary(file)) AddKeys(QPluginLoader(dir.filePath(file)).metaData(), keys);
  }
  keys.removeDuplicates();
  keys.sort();
  return keys;
}

std::optional<QString> UnknownPlatformMessage(const QString& platform,
                                              const QStringList& available) {
  const QStringList names = PlatformNames(platform);
  if (names.isEmpty()) return std::nullopt;
  for (const QString& name : names)
    if (available.contains(name.toLower())) return std::nullopt;
  const QString list = available.join(QStringLiteral(", "));
  return QStringLiteral(
             "verodazava: непозната графична платформа „%1“; налични са: %2.\n"
             "verodazava: unknown Qt platform \"%1\"; available: %2.\n")
      .arg(names.join(u';'), list);
}
