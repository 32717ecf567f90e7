#pragma once

#include <QByteArray>
#include <QString>
#include <functional>
#include <optional>

#include "dialogs.h"
#include "errormessage.h"
#include "tablestate.h"

// Writes `bytes` to `path` all or nothing, as WriteFileAtomically does in the path's folder:
// a failed write leaves the file that was there as it was. Nothing on success, otherwise the
// error to report.
std::optional<ErrorCode> WriteFile(const QString& path, const QByteArray& bytes);

enum class FileOutcome {
  Untouched,  // nothing was written, or the table was left as it was
  Done,       // the file and the table now hold the same
  Failed,     // reported; the table may differ from every file
};

// cmdSaveFile / F2: asks for a name and writes the explanation and the formulas of records
// 0..25 to that file in the start directory. A name without a full stop gets ".SPR". A
// failure is reported in a message box and never damages the file that was there.
FileOutcome SaveFormulaFile(TableState& state, Dialogs& dialogs);

// cmdReadFile / F3: picks a formula file with the chooser and reads it into the table and the
// explanation field, without evaluating. The table is cleared only once the file is open.
FileOutcome ReadFormulaFile(TableState& state, Dialogs& dialogs,
                            const std::function<void()>& makeScreen,
                            const std::function<void(const QString&)>& setExplanationField);

// The read command's steps after the choice: reads the file `name` of the start directory.
FileOutcome ReadNamedFormulaFile(TableState& state, Dialogs& dialogs, const QString& name,
                                 const std::function<void()>& makeScreen,
                                 const std::function<void(const QString&)>& setExplanationField);

// A formula file named on the command line: its directory becomes the start directory, so
// that saves go beside it and the chooser lists its neighbours.
void TakeStartDirectoryOf(TableState& state, const QString& path);
// Takes the start directory of `path`, then reads the file as the read command reads a
// chosen one.
FileOutcome ReadFormulaFileAt(TableState& state, Dialogs& dialogs, const QString& path,
                              const std::function<void()>& makeScreen,
                              const std::function<void(const QString&)>& setExplanationField);
