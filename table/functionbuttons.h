#pragma once

#include <QKeyCombination>
#include <QStringView>
#include <array>
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

// A command button of the panel, one row each: its object name, tool tip and icon, what it
// runs (a command of the window itself or one that the windows above carry out), the keys
// that run it too, and its spoken name where the tool tip would not tell it from another.
struct CommandButton {
  const char* name;
  QStringView toolTip;
  std::optional<IconCell> icon;  // none for the exit button, which has a caption
  void (frmCalculator::*own)() = nullptr;
  std::function<void()> CalculatorCommands::*hook = nullptr;
  std::array<QKeyCombination, 2> keys = {};  // Qt::Key_unknown: no key
  QStringView accessibleName = {};           // empty: the tool tip
};

std::span<const FunctionButton> FunctionButtons();
// The nine icon buttons, left to right.
std::span<const CommandButton> CommandButtons();
extern const CommandButton kExitButton;
