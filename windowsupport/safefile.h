#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>
#include <memory>

#include "errormessage.h"
#include "status.h"

// The one way files of the user are written and read. Everything happens inside one directory
// named by path, the file by a plain name within it.

// The failure an errno value stands for, as the user is told it.
ErrorCode ErrorCodeFor(int error);

// Who may read a file the writer makes.
enum class FileAccess {
  Shared,   // a new file as the umask allows; a replaced file keeps its permissions
  Private,  // the owner alone (0600), whatever stood there: a user's unsaved figures
};

// Writes `bytes` as the file `name` in `directory`, all or nothing: as an unnamed file linked
// in only once complete (or, where the file system has none, a hidden temporary file beside
// it), every write checked, synced, then put in place of the name. Only an ordinary file or a
// symbolic link is ever replaced: a link is replaced by the file and its target never touched,
// but a link to a folder, a device, a pipe or a socket is refused like the thing itself, as
// NotAFile. An existing file without write permission is refused. On failure the old file is
// as it was and no temporary file is left. After a success the writer's own temporary files
// that a killed run left in the directory are removed.
// A name that is no plain file name is refused as a bad name.
Status WriteFileAtomically(const QString& directory, const QString& name, const QByteArray& bytes,
                           FileAccess access = FileAccess::Shared);

// What WriteFileAtomically would refuse before writing a byte, for callers that have work to
// do before the write (drawing a PDF): success when the name may be written.
Status CheckWritable(const QString& directory, const QString& name);

// Removes the temporary files that a killed writer left in `directory`: only the writer's own
// names, only ordinary files of this user, and only those older than any write takes.
void RemoveStaleTemporaries(const QString& directory);

// Removes the file or link `name` in `directory`; nothing there is fine, anything else is
// left as it is and refused as NotAFile.
Status RemoveOrdinaryFile(const QString& directory, const QString& name);

// Makes the folder at the absolute `path` with its missing parents for this user alone (0700);
// a folder already there that belongs to this user and is open to others is narrowed to 0700.
Status MakePrivateFolder(const QString& path);

// Whether anything stands at `name` in `directory`, a dangling link included.
bool EntryExists(const QString& directory, const QString& name);

// Whether the opener follows a symbolic link at the name: a user's own files may be links,
// the program's state files never are.
enum class Links { Follow, Refuse };

// Opens the file `name` in `directory` for reading without ever blocking: a pipe, a device or
// a directory under the name (and with Links::Refuse a symbolic link) is refused, checked on
// the opened descriptor itself. A name that is no plain file name is not found.
Result<std::unique_ptr<QFile>> OpenOrdinaryFile(const QString& directory, const QString& name,
                                                Links links = Links::Follow);
