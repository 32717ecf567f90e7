#pragma once

#include <QString>
#include <functional>

#include "dialogs.h"
#include "tablestate.h"

// cmdSaveFile / F2: asks for a name and writes the explanation and the formulas of records
// 0..25 to that file in the start directory. A name without a full stop gets ".SPR". A
// failure is reported in a message box and never damages the file that was there.
void SaveFormulaFile(TableState& state, Dialogs& dialogs);

// cmdReadFile / F3: picks a formula file with the chooser and reads it into the table and the
// explanation field, without evaluating. The table is cleared only once the file is open.
void ReadFormulaFile(TableState& state, Dialogs& dialogs, const std::function<void()>& makeScreen,
                     const std::function<void(const QString&)>& setExplanationField);

// The read command's steps after the choice: reads the file `name` of the start directory.
// False when it could not be read (the message has been shown).
bool ReadNamedFormulaFile(TableState& state, Dialogs& dialogs, const QString& name,
                          const std::function<void()>& makeScreen,
                          const std::function<void(const QString&)>& setExplanationField);

// A formula file named on the command line: its directory becomes the start directory, so
// that saves go beside it and the chooser lists its neighbours; then it is read as the read
// command reads a chosen file.
bool ReadFormulaFileAt(TableState& state, Dialogs& dialogs, const QString& path,
                       const std::function<void()>& makeScreen,
                       const std::function<void(const QString&)>& setExplanationField);
