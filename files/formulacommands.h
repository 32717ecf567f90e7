#pragma once

#include <QByteArray>
#include <QString>

#include "dialogs.h"
#include "status.h"
#include "tablestate.h"

// Writes `bytes` to `path` all or nothing, as WriteFileAtomically does in the path's folder:
// a failed write leaves the file that was there as it was.
Status WriteFile(const QString& path, const QByteArray& bytes);

enum class FileOutcome {
  Untouched,  // nothing was written, or the table was left as it was
  Done,       // the file and the table now hold the same
  Failed,     // reported; the table may differ from every file
};

// cmdSaveFile / F2: asks for a name and writes the explanation and the formulas of records
// 0..25 to that file in the start directory. A name without a full stop gets ".SPR". A
// failure is reported in a message box and never damages the file that was there.
FileOutcome SaveFormulaFile(TableState& state, Dialogs& dialogs);

// What a read did, for the caller to show: the screen is remade from the state whatever the
// outcome, the explanation field takes the state's explanation only when the file held one,
// and a failure is reported once the screen shows what was read. More than a Status: a file
// read in part fails and still changed the table.
struct [[nodiscard]] ReadOutcome {
  FileOutcome outcome = FileOutcome::Untouched;
  bool explanationRead = false;
  Status status;
};

// cmdReadFile / F3: picks a formula file with the chooser and reads it into the table, without
// evaluating. The table is cleared only once the file is open.
ReadOutcome ReadFormulaFile(TableState& state, Dialogs& dialogs);

// The read command's steps after the choice: reads the file `name` of the start directory.
ReadOutcome ReadNamedFormulaFile(TableState& state, const QString& name);

// A formula file named on the command line: its directory becomes the start directory, so
// that saves go beside it and the chooser lists its neighbours.
void TakeStartDirectoryOf(TableState& state, const QString& path);
// Takes the start directory of `path`, then reads the file as the read command reads a
// chosen one.
ReadOutcome ReadFormulaFileAt(TableState& state, const QString& path);
