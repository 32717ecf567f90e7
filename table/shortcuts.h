#pragma once

#include <QKeyCombination>
#include <QString>

#include "functionbuttons.h"

// The command button whose key this is, of the panel's buttons and the exit button; only the
// exact modifiers count (Shift+F2 is not F2). The keypad flag is ignored, so Ctrl+Ins and
// Ctrl+Del work from the keypad too.
const CommandButton* ShortcutButton(QKeyCombination key);

// A button's keys for its accessible description ("Клавиши: F3, Ctrl+O"); empty when it has
// none.
QString ShortcutDescription(const CommandButton& button);

enum class UndoKey { None, Undo, Redo };
// Ctrl+Z undoes; Ctrl+Shift+Z and Ctrl+Y redo.
UndoKey UndoKeyOf(QKeyCombination key);
