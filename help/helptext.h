#pragma once

#include <QString>

// The help library's names live in their own namespace: a free function of the same name in
// another library would otherwise let the linker take either one.
namespace help {

inline constexpr int kHelpLineCount = 19;

// The help text of the formula language, composed afresh on every call: 19 lines, each
// ended by CR LF.
QString HelpText();

}  // namespace help
