#pragma once

#include <QString>

inline constexpr int kHelpLineCount = 19;

// The help text of the formula language, composed afresh on every call: 19 lines, each
// ended by CR LF.
QString HelpText();
