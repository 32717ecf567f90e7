#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>
#include <memory>
#include <optional>
#include <variant>

#include "errormessage.h"

// The one way files of the user are written and read. Everything happens inside one directory
// named by path, the file by a plain name within it.

// The failure an errno value stands for, as the user is told it.
ErrorCode ErrorCodeFor(int error);

// Writes `bytes` as the file `name` in `directory`, all or nothing: into a hidden temporary
// file beside it (never through a link), every write checked, synced, then renamed over the
// name. A symbolic link at the name is replaced by the file; its target is never touched. An
// existing file keeps its permissions; one without write permission is refused. On failure
// the old file is as it was and the temporary file is gone.
// A name that is no plain file name is refused as a bad name.
std::optional<ErrorCode> WriteFileAtomically(const QString& directory, const QString& name,
                                             const QByteArray& bytes);

// Whether anything stands at `name` in `directory`, a dangling link included.
bool EntryExists(const QString& directory, const QString& name);

// Opens the file `name` in `directory` for reading without ever blocking: a pipe, a device or
// a directory swapped in under the name is refused, checked on the opened descriptor itself.
// A name that is no plain file name is not found.
std::variant<std::unique_ptr<QFile>, ErrorCode> OpenOrdinaryFile(const QString& directory,
                                                                 const QString& name);
