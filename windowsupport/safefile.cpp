#include "safefile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QRandomGenerator>
#include <cerrno>

#include "filenames.h"

namespace {

// Closes a descriptor however the function that opened it ends.
class Descriptor {
 public:
  explicit Descriptor(int fd) : m_fd(fd) {}
  ~Descriptor() {
    if (m_fd >= 0) ::close(m_fd);
  }
  Descriptor(const Descriptor&) = delete;
  Descriptor& operator=(const Descriptor&) = delete;
  int Get() const { return m_fd; }
  bool Valid() const { return m_fd >= 0; }
  void Release() { m_fd = -1; }
  // Closes now, so that a failure of the close itself can be seen; 0 or an errno value.
  int Close() {
    const int fd = m_fd;
    m_fd = -1;
    return ::close(fd) == 0 ? 0 : errno;
  }

 private:
  int m_fd;
};

QByteArray Native(const QString& path) {
  return QFile::encodeName(path);
}

int OpenTemporary(int directory, QByteArray& name) {
  for (int attempt = 0; attempt < 100; ++attempt) {
    name =
        ".verodazava-" + QByteArray::number(QRandomGenerator::global()->generate64(), 36) + ".tmp";
    // O_EXCL with O_NOFOLLOW: a name planted in the meantime, link or not, is never opened.
    const int fd = ::openat(directory, name.constData(),
                            O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
    if (fd >= 0 || errno != EEXIST) return fd;
  }
  errno = EEXIST;
  return -1;
}

int WriteAll(int fd, const QByteArray& bytes) {
  const char* data = bytes.constData();
  qsizetype left = bytes.size();
  while (left > 0) {
    const ssize_t written = ::write(fd, data, static_cast<size_t>(left));
    if (written < 0) {
      if (errno == EINTR) continue;
      return errno;
    }
    data += written;
    left -= written;
  }
  return 0;
}

// Writes into the open temporary file and makes it durable; 0 or an errno value.
int FillTemporary(Descriptor& file, const struct stat* old, const QByteArray& bytes) {
  if (old && ::fchmod(file.Get(), old->st_mode & 07777) != 0) return errno;
  if (const int error = WriteAll(file.Get(), bytes)) return error;
  // A file system may report a full disk only when the data reaches it.
  if (::fsync(file.Get()) != 0) return errno;
  return file.Close();
}

}  // namespace

ErrorCode ErrorCodeFor(int error) {
  switch (error) {
    case ENOSPC:
    case EDQUOT:
    case EFBIG:
      return ErrorCode::DiskFull;
    case EACCES:
    case EPERM:
    case EROFS:
      return ErrorCode::PermissionDenied;
    case ENOENT:
    case ENOTDIR:
      return ErrorCode::PathNotFound;
    case ENAMETOOLONG:
    case EINVAL:
    case EILSEQ:
      return ErrorCode::BadFileName;
    default:
      return ErrorCode::PathFileAccess;
  }
}

std::optional<ErrorCode> WriteFileAtomically(const QString& directory, const QString& name,
                                             const QByteArray& bytes) {
  if (!IsPlainFileName(name)) return ErrorCode::BadFileName;
  const Descriptor dir(::open(Native(directory).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (!dir.Valid()) return ErrorCodeFor(errno);
  const QByteArray target = Native(name);

  // What stands at the name now: a too long name is refused before writing, and so is
  // anything a rename must not replace (a directory, a device, a FIFO, a socket).
  struct stat old {};
  bool keepMode = false;
  if (::fstatat(dir.Get(), target.constData(), &old, AT_SYMLINK_NOFOLLOW) == 0) {
    if (!S_ISREG(old.st_mode) && !S_ISLNK(old.st_mode)) return ErrorCode::PathFileAccess;
    keepMode = S_ISREG(old.st_mode);
    // A file its owner made read-only is not replaced behind the owner's back.
    if (keepMode && ::faccessat(dir.Get(), target.constData(), W_OK, AT_EACCESS) != 0)
      return ErrorCodeFor(errno);
  } else if (errno != ENOENT) {
    return ErrorCodeFor(errno);
  }

  QByteArray temporary;
  Descriptor file(OpenTemporary(dir.Get(), temporary));
  if (!file.Valid()) return ErrorCodeFor(errno);
  int error = FillTemporary(file, keepMode ? &old : nullptr, bytes);
  // rename replaces a link at the name by the file; it never writes through it.
  if (!error && ::renameat(dir.Get(), temporary.constData(), dir.Get(), target.constData()) != 0)
    error = errno;
  if (error) {
    ::unlinkat(dir.Get(), temporary.constData(), 0);
    return ErrorCodeFor(error);
  }
  // The new name lasts across a crash only once the directory is synced; the file itself is
  // complete either way, so a failure here is not the user's concern.
  ::fsync(dir.Get());
  return std::nullopt;
}

bool EntryExists(const QString& directory, const QString& name) {
  struct stat entry {};
  return ::lstat(Native(PathInDirectory(directory, name)).constData(), &entry) == 0;
}

std::variant<std::unique_ptr<QFile>, ErrorCode> OpenOrdinaryFile(const QString& directory,
                                                                 const QString& name) {
  if (!IsPlainFileName(name)) return ErrorCode::FileNotFound;
  // Non-blocking, so that a pipe without a writer cannot hold the program.
  Descriptor fd(::open(Native(PathInDirectory(directory, name)).constData(),
                       O_RDONLY | O_NONBLOCK | O_CLOEXEC));
  if (!fd.Valid()) return errno == ENOENT ? ErrorCode::FileNotFound : ErrorCodeFor(errno);
  struct stat opened {};
  if (::fstat(fd.Get(), &opened) != 0) return ErrorCodeFor(errno);
  if (!S_ISREG(opened.st_mode)) return ErrorCode::PathFileAccess;
  auto file = std::make_unique<QFile>();
  if (!file->open(fd.Get(), QIODevice::ReadOnly, QFileDevice::AutoCloseHandle))
    return ErrorCode::PathFileAccess;
  // The QFile closes it from now on.
  fd.Release();
  return file;
}
