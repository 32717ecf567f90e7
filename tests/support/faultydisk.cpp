#include "faultydisk.h"

#include <fcntl.h>
#include <sys/mount.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/un.h>
#include <unistd.h>

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QTest>
#include <cerrno>
#include <cstring>

ScopedTmpfs::ScopedTmpfs(const QString& directory, int kilobytes)
    : m_directory(QFile::encodeName(directory)) {
  if (::geteuid() != 0) {
    m_why = QStringLiteral("mounting a small file system needs root");
    return;
  }
  const QByteArray options = "size=" + QByteArray::number(kilobytes) + "k,mode=0755";
  m_mounted = ::mount("tmpfs", m_directory.constData(), "tmpfs", 0, options.constData()) == 0;
  if (!m_mounted)
    m_why = QStringLiteral("mount failed: ") + QString::fromLocal8Bit(std::strerror(errno));
}

ScopedTmpfs::~ScopedTmpfs() {
  if (m_mounted) ::umount2(m_directory.constData(), MNT_DETACH);
}

bool ScopedTmpfs::FillUp() {
  const QByteArray path = m_directory + "/filler";
  const int fd = ::open(path.constData(), O_WRONLY | O_CREAT | O_CLOEXEC, 0600);
  if (fd < 0) return false;
  const QByteArray block(4096, 'f');
  while (::write(fd, block.constData(), static_cast<size_t>(block.size())) >= 0) {
  }
  const int error = errno;
  // Single bytes too, so that not even the tail of a block is left.
  while (::write(fd, "f", 1) == 1) {
  }
  ::close(fd);
  return error == ENOSPC;
}

bool ScopedTmpfs::MakeReadOnly() {
  return ::mount("tmpfs", m_directory.constData(), "tmpfs", MS_REMOUNT | MS_RDONLY, nullptr) == 0;
}

QStringList DirectoryEntries(const QString& directory) {
  return QDir(directory).entryList(
      QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
}

unsigned EntryKind(const QString& path) {
  struct stat entry {};
  return ::lstat(QFile::encodeName(path).constData(), &entry) == 0 ? entry.st_mode & S_IFMT : 0;
}

unsigned Permissions(const QString& path) {
  struct stat entry {};
  return ::stat(QFile::encodeName(path).constData(), &entry) == 0 ? entry.st_mode & 07777 : 0;
}

bool PlantEntry(const QString& kind, const QString& path) {
  const QByteArray name = QFile::encodeName(path);
  if (kind == u"fifo") return ::mkfifo(name.constData(), 0666) == 0;
  if (kind == u"device") return ::mknod(name.constData(), S_IFCHR | 0666, makedev(1, 3)) == 0;
  sockaddr_un address{};
  address.sun_family = AF_UNIX;
  if (kind != u"socket" || size_t(name.size()) >= sizeof address.sun_path) return false;
  std::memcpy(address.sun_path, name.constData(), size_t(name.size()));
  const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
  const bool bound = ::bind(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0;
  ::close(fd);
  return bound;
}

QByteArray ReadAll(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

void WriteAll(const QString& path, const QByteArray& bytes) {
  QFile file(path);
  QVERIFY(file.open(QIODevice::WriteOnly));
  QCOMPARE(file.write(bytes), bytes.size());
}

void MakeOld(const QString& path) {
  QFile file(path);
  QVERIFY(file.open(QIODevice::ReadWrite));
  QVERIFY(file.setFileTime(QDateTime::currentDateTime().addSecs(-3600),
                           QFileDevice::FileModificationTime));
}
