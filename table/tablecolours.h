#pragma once

#include <QColor>

// The main window's colours, for the code that builds it and the code that shows the table.
inline constexpr QColor kGrey(192, 192, 192);
inline constexpr QColor kPanelCyan(192, 255, 255);
inline constexpr QColor kHeaderCyan(128, 255, 255);
inline constexpr QColor kFocusYellow(230, 230, 16);
inline constexpr QColor kDeleteRed(255, 0, 0);
inline constexpr QColor kWhite(255, 255, 255);
// Marked results: calm colours that stay readable on white, and white on the delete red.
inline constexpr QColor kChangedBlue(0, 0, 160);
inline constexpr QColor kDependsOrange(190, 80, 0);
