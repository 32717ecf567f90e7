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

// Opening a formula file, whichever road opens it (the read command, a file given at start,
// --report, --pdf, --tsv): the file `name` of the start directory is read into the table,
// cleared only once the file is open, and the table it left is recalculated once from the
// top, so that every result shows. A read that failed part way (Failed) leaves the rows read so
// far, recalculated, with its failure: the window shows them and the message, the modes
// without a window refuse a table read only in part. `dates` are the window's own.
ReadOutcome OpenFormulaFile(TableState& state, const QString& name, DateSettings dates);

// cmdReadFile / F3: picks a formula file with the chooser and opens it (OpenFormulaFile).
ReadOutcome ReadFormulaFile(TableState& state, Dialogs& dialogs, DateSettings dates);

// A formula file named on the command line: its directory becomes the start directory, so
// that saves go beside it and the chooser lists its neighbours. A directory that is missing
// gives `otherwise` instead, as every later save there would fail.
QString StartDirectoryOf(const QString& path, const QString& otherwise);
void TakeStartDirectoryOf(TableState& state, const QString& path);
// Takes the start directory of `path`, then opens the file as the read command opens a chosen
// one (OpenFormulaFile).
ReadOutcome ReadFormulaFileAt(TableState& state, const QString& path, DateSettings dates);
