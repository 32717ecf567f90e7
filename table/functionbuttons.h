#pragma once

#include <QStringView>
#include <functional>
#include <optional>
#include <span>

#include "calculatorcommands.h"
#include "icons.h"

class frmCalculator;

// One of the 40 buttons that insert a function name into the current formula.
struct FunctionButton {
  const char* name;     // object name, e.g. "cmdSin"
  QStringView caption;  // empty for the button that shows its icon instead
  QStringView toolTip;
  QStringView text;                   // what the button inserts at the caret
  int gridRow;                        // 0..3
  int gridColumn;                     // 0..9
  std::optional<IconCell> icon = {};  // shown instead of a caption
};

// A command button of the panel, one row each: its object name, tool tip and icon, and what it
// runs, either a command of the window itself or one that the windows above carry out.
struct CommandButton {
  const char* name;
  QStringView toolTip;
  std::optional<IconCell> icon;  // none for the exit button, which has a caption
  void (frmCalculator::*own)() = nullptr;
  std::function<void()> CalculatorCommands::*hook = nullptr;
};

std::span<const FunctionButton> FunctionButtons();
// The nine icon buttons, left to right.
std::span<const CommandButton> CommandButtons();
extern const CommandButton kExitButton;
