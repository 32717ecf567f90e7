#include "safefile.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <QRandomGenerator>
#include <cerrno>
#include <ctime>

#include "filenames.h"

namespace {

// Temporary files are ".verodazava-" + up to 13 base-36 digits + ".tmp".
constexpr QByteArrayView kTemporaryPrefix = ".verodazava-";
constexpr QByteArrayView kTemporarySuffix = ".tmp";
constexpr qsizetype kMaxTemporaryDigits = 13;
// A writer at work holds its temporary file for the length of one write and sync; one much
// older was left by a run that was killed.
constexpr time_t kStaleTemporarySeconds = 10 * 60;

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

int OpenDirectory(const QString& directory) {
  return ::open(Native(directory).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
}

QByteArray TemporaryName() {
  QByteArray name = kTemporaryPrefix.toByteArray();
  name.append(QByteArray::number(QRandomGenerator::global()->generate64(), 36));
  return name.append(kTemporarySuffix);
}

bool IsTemporaryName(QByteArrayView name) {
  if (!name.startsWith(kTemporaryPrefix) || !name.endsWith(kTemporarySuffix)) return false;
  const QByteArrayView digits = name.sliced(
      kTemporaryPrefix.size(), name.size() - kTemporaryPrefix.size() - kTemporarySuffix.size());
  if (digits.isEmpty() || digits.size() > kMaxTemporaryDigits) return false;
  for (char c : digits)
    if (!((c >= '0' && c <= '9') || (c >= 'a' && c <= 'z'))) return false;
  return true;
}

// Repeats `attempt` under fresh temporary names while the name is taken; the fd or -1.
template <typename Attempt>
int UnderFreshName(QByteArray& name, Attempt attempt) {
  for (int tries = 0; tries < 100; ++tries) {
    name = TemporaryName();
    const int result = attempt(name);
    if (result >= 0 || errno != EEXIST) return result;
  }
  errno = EEXIST;
  return -1;
}

int OpenNamedTemporary(int directory, QByteArray& name, mode_t mode) {
  // O_EXCL with O_NOFOLLOW: a name planted in the meantime, link or not, is never opened.
  return UnderFreshName(name, [&](const QByteArray& candidate) {
    return ::openat(directory, candidate.constData(),
                    O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, mode);
  });
}

// Gives the unnamed file `fd` the name `name` in `directory`: 0 or -1 with errno.
int LinkUnnamed(int fd, int directory, const QByteArray& name) {
  const QByteArray self = "/proc/self/fd/" + QByteArray::number(fd);
  return ::linkat(AT_FDCWD, self.constData(), directory, name.constData(), AT_SYMLINK_FOLLOW);
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

// Sets the permissions, writes and makes the data durable; 0 or an errno value.
int Fill(int fd, std::optional<mode_t> mode, const QByteArray& bytes) {
  if (mode && ::fchmod(fd, *mode) != 0) return errno;
  if (const int error = WriteAll(fd, bytes)) return error;
  // A file system may report a full disk only when the data reaches it.
  return ::fsync(fd) == 0 ? 0 : errno;
}

// Puts the complete temporary file in place of the name, or removes it; 0 or an errno value.
// rename replaces a link at the name by the file; it never writes through it.
int Publish(int directory, const QByteArray& temporary, const QByteArray& target, int error) {
  if (!error && ::renameat(directory, temporary.constData(), directory, target.constData()) != 0)
    error = errno;
  if (error) ::unlinkat(directory, temporary.constData(), 0);
  return error;
}

// What stands at a name the writer is to use.
struct Standing {
  bool exists = false;
  std::optional<mode_t> mode;  // the permissions of an ordinary file there
};

Result<Standing> Inspect(int directory, const QByteArray& name) {
  struct stat entry {};
  if (::fstatat(directory, name.constData(), &entry, AT_SYMLINK_NOFOLLOW) != 0) {
    if (errno == ENOENT) return Standing{};
    return ErrorCodeFor(errno);
  }
  if (S_ISLNK(entry.st_mode)) {
    // The link goes, so what it leads to must be something a file may stand in for.
    struct stat target {};
    if (::fstatat(directory, name.constData(), &target, 0) == 0 && !S_ISREG(target.st_mode))
      return ErrorCode::NotAFile;
    return Standing{true, std::nullopt};
  }
  if (!S_ISREG(entry.st_mode)) return ErrorCode::NotAFile;
  // A file its owner made read-only is not replaced behind the owner's back.
  if (::faccessat(directory, name.constData(), W_OK, AT_EACCESS) != 0) return ErrorCodeFor(errno);
  return Standing{true, entry.st_mode & 07777};
}

// The file written without a name, linked in complete: a kill before the link leaves nothing,
// and one after it at most a moment's temporary name while an old file is replaced. Nothing
// when this file system, or a system without /proc, has no unnamed files.
std::optional<int> WriteUnnamed(int directory, const QByteArray& target, bool replacing,
                                std::optional<mode_t> mode, mode_t createMode,
                                const QByteArray& bytes) {
  Descriptor file(::openat(directory, ".", O_TMPFILE | O_WRONLY | O_CLOEXEC, createMode));
  if (!file.Valid()) return std::nullopt;
  if (const int error = Fill(file.Get(), mode, bytes)) return error;
  if (!replacing) {
    // Nothing to replace: the name appears with the complete file or not at all.
    if (LinkUnnamed(file.Get(), directory, target) == 0) return file.Close();
    return errno == EEXIST ? EEXIST : std::optional<int>();
  }
  QByteArray temporary;
  if (UnderFreshName(temporary, [&](const QByteArray& candidate) {
        return LinkUnnamed(file.Get(), directory, candidate);
      }) != 0)
    return errno == EEXIST ? EEXIST : std::optional<int>();
  return Publish(directory, temporary, target, file.Close());
}

int WriteNamed(int directory, const QByteArray& target, std::optional<mode_t> mode,
               mode_t createMode, const QByteArray& bytes) {
  QByteArray temporary;
  Descriptor file(OpenNamedTemporary(directory, temporary, createMode));
  if (!file.Valid()) return errno;
  int error = Fill(file.Get(), mode, bytes);
  if (!error) error = file.Close();
  return Publish(directory, temporary, target, error);
}

void RemoveStaleTemporaries(int directory) {
  // The listing gets a descriptor of its own, which closedir closes.
  DIR* listing = ::fdopendir(::openat(directory, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (!listing) return;
  const time_t now = ::time(nullptr);
  while (const dirent* entry = ::readdir(listing)) {
    if (!IsTemporaryName(entry->d_name)) continue;
    struct stat file {};
    if (::fstatat(directory, entry->d_name, &file, AT_SYMLINK_NOFOLLOW) == 0 &&
        S_ISREG(file.st_mode) && file.st_uid == ::geteuid() &&
        now - file.st_mtime > kStaleTemporarySeconds)
      ::unlinkat(directory, entry->d_name, 0);
  }
  ::closedir(listing);
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

Status WriteFileAtomically(const QString& directory, const QString& name, const QByteArray& bytes,
                           FileAccess access) {
  if (!IsPlainFileName(name)) return ErrorCode::BadFileName;
  const Descriptor dir(OpenDirectory(directory));
  if (!dir.Valid()) return ErrorCodeFor(errno);
  const QByteArray target = Native(name);

  // What stands at the name is judged before a byte is written: a too long name too.
  const Result<Standing> standing = Inspect(dir.Get(), target);
  if (!standing.ok()) return standing.failure();
  const Standing& now = standing.value();
  const bool isPrivate = access == FileAccess::Private;
  const std::optional<mode_t> mode = isPrivate ? std::optional<mode_t>(0600) : now.mode;
  const mode_t createMode = isPrivate ? 0600 : 0666;

  std::optional<int> error = WriteUnnamed(dir.Get(), target, now.exists, mode, createMode, bytes);
  if (!error) error = WriteNamed(dir.Get(), target, mode, createMode, bytes);
  if (*error) return ErrorCodeFor(*error);
  // The new name lasts across a crash only once the directory is synced; the file itself is
  // complete either way, so a failure here is not the user's concern.
  ::fsync(dir.Get());
  RemoveStaleTemporaries(dir.Get());
  return {};
}

Status CheckWritable(const QString& directory, const QString& name) {
  if (!IsPlainFileName(name)) return ErrorCode::BadFileName;
  const Descriptor dir(OpenDirectory(directory));
  if (!dir.Valid()) return ErrorCodeFor(errno);
  return Inspect(dir.Get(), Native(name)).status();
}

void RemoveStaleTemporaries(const QString& directory) {
  const Descriptor dir(OpenDirectory(directory));
  if (dir.Valid()) RemoveStaleTemporaries(dir.Get());
}

Status RemoveOrdinaryFile(const QString& directory, const QString& name) {
  if (!IsPlainFileName(name)) return ErrorCode::BadFileName;
  const Descriptor dir(OpenDirectory(directory));
  if (!dir.Valid()) return errno == ENOENT ? Status() : Status(ErrorCodeFor(errno));
  const QByteArray native = Native(name);
  struct stat entry {};
  if (::fstatat(dir.Get(), native.constData(), &entry, AT_SYMLINK_NOFOLLOW) != 0)
    return errno == ENOENT ? Status() : Status(ErrorCodeFor(errno));
  if (!S_ISREG(entry.st_mode) && !S_ISLNK(entry.st_mode)) return ErrorCode::NotAFile;
  if (::unlinkat(dir.Get(), native.constData(), 0) != 0 && errno != ENOENT)
    return ErrorCodeFor(errno);
  return {};
}

Status MakePrivateFolder(const QString& path) {
  const QByteArray native = Native(QDir::cleanPath(path));
  // Each missing folder on the way is made for this user alone, as the XDG rules ask.
  for (qsizetype end = 1; end <= native.size(); ++end) {
    if (end < native.size() && native[end] != '/') continue;
    if (::mkdir(native.left(end).constData(), 0700) != 0 && errno != EEXIST)
      return ErrorCodeFor(errno);
  }
  const Descriptor dir(::open(native.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (!dir.Valid()) return ErrorCodeFor(errno);
  struct stat folder {};
  if (::fstat(dir.Get(), &folder) != 0) return ErrorCodeFor(errno);
  // Made by an earlier version open to everyone: narrowed, as it holds unsaved figures.
  if (folder.st_uid == ::geteuid() && (folder.st_mode & 077) != 0 &&
      ::fchmod(dir.Get(), folder.st_mode & 0700) != 0)
    return ErrorCodeFor(errno);
  return {};
}

bool EntryExists(const QString& directory, const QString& name) {
  struct stat entry {};
  return ::lstat(Native(PathInDirectory(directory, name)).constData(), &entry) == 0;
}

Result<std::unique_ptr<QFile>> OpenOrdinaryFile(const QString& directory, const QString& name,
                                                Links links) {
  if (!IsPlainFileName(name)) return ErrorCode::FileNotFound;
  // Non-blocking, so that a pipe without a writer cannot hold the program.
  const int flags = O_RDONLY | O_NONBLOCK | O_CLOEXEC | (links == Links::Refuse ? O_NOFOLLOW : 0);
  Descriptor fd(::open(Native(PathInDirectory(directory, name)).constData(), flags));
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
