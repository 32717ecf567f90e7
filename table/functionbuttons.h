#pragma once

#include <QStringView>
#include <span>

// One of the 40 buttons that insert a function name into the current formula.
struct FunctionButton {
  const char* name;     // object name, e.g. "cmdSin"
  QStringView caption;  // empty for the button that shows an icon instead
  QStringView toolTip;
  QStringView text;  // what the button inserts at the caret
  int gridRow;       // 0..3
  int gridColumn;    // 0..9
};

// What a command button of the panel does.
enum class Command {
  ReadFile,
  NewTable,
  SaveFile,
  InsertRow,
  DeleteRow,
  Recalculate,
  Diagram,
  Print,
  Help,
  Exit
};

// A command button of the panel: its object name, tool tip and action.
struct CommandButton {
  const char* name;
  QStringView toolTip;
  Command command;
};

std::span<const FunctionButton> FunctionButtons();
// The nine icon buttons, left to right.
std::span<const CommandButton> CommandButtons();
extern const CommandButton kExitButton;
