#pragma once

#include <QKeyCombination>
#include <QString>
#include <optional>
#include <span>

#include "functionbuttons.h"

// A key of the main window that runs a command button's command.
struct Shortcut {
  QKeyCombination key;
  Command command;
};

// Every command key of the main window, in the order they are listed to the user.
std::span<const Shortcut> Shortcuts();

// The command a key runs; only the exact modifiers count (Shift+F2 is not F2). The keypad
// flag is ignored, so Ctrl+Ins and Ctrl+Del work from the keypad too.
std::optional<Command> ShortcutCommand(QKeyCombination key);

// The keys of one command for a button's accessible description ("Клавиши: F3, Ctrl+O");
// empty when the command has none.
QString ShortcutDescription(Command command);

enum class UndoKey { None, Undo, Redo };
// Ctrl+Z undoes; Ctrl+Shift+Z and Ctrl+Y redo.
UndoKey UndoKeyOf(QKeyCombination key);
