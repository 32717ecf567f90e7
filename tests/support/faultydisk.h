#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

// A small tmpfs mounted over a directory for the life of a test, so that a full disk and a
// read-only file system are the real thing. Mounting needs root; Mounted() says whether it
// worked and Why() why not, for the test's skip message.
class ScopedTmpfs {
 public:
  ScopedTmpfs(const QString& directory, int kilobytes);
  ~ScopedTmpfs();
  ScopedTmpfs(const ScopedTmpfs&) = delete;
  ScopedTmpfs& operator=(const ScopedTmpfs&) = delete;

  bool Mounted() const { return m_mounted; }
  QString Why() const { return m_why; }
  // Takes every block that is left; true when the file system then reports itself full.
  bool FillUp();
  // Remounts read-only: every write is then refused, root's included.
  bool MakeReadOnly();

 private:
  QByteArray m_directory;
  bool m_mounted = false;
  QString m_why;
};

// What stands at a path, not following a link: its file type bits (S_IFIFO, ...), 0 for none.
unsigned EntryKind(const QString& path);
// Its permission bits (07777) as stat gives them, 0 when there is nothing.
unsigned Permissions(const QString& path);

// Makes a special entry at `path`: "fifo", "socket" (bound, then its listener closed) or
// "device" (root only; the numbers of /dev/null, so a write that got through harms nothing).
bool PlantEntry(const QString& kind, const QString& path);

// Files and entries of a directory, hidden ones included, sorted.
QStringList DirectoryEntries(const QString& directory);

// A file's bytes, "<missing>" when it cannot be read (so it never equals what a test expects).
QByteArray ReadAll(const QString& path);
// Writes a file; fails the running test when it cannot.
void WriteAll(const QString& path, const QByteArray& bytes);
// Dates a file's last change an hour back, as if left by a run the day before.
void MakeOld(const QString& path);
