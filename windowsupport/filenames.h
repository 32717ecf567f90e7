#pragma once

#include <QString>

// The name rules of the save prompts: a name without a full stop gets `extension`
// (".SPR", ".PDF"); one with a full stop anywhere is used exactly as typed.
QString WithDefaultExtension(const QString& name, const QString& extension);

// Files are only ever written inside the start directory: a name that holds a directory
// separator, or is "." or "..", is refused.
bool IsPlainFileName(const QString& name);

// A name ending in ".SPR" (in any case) belongs to the formula files: no other output may
// take it, so a slip of the name never turns a table into a PDF.
bool IsFormulaFileName(const QString& name);

// The start directory and the name joined with "/".
QString PathInDirectory(const QString& directory, const QString& name);

// The save prompt, shared by the formula files and the PDF offer of the print commands.
inline constexpr QStringView kSaveNamePrompt = u"Въведете име на файла.";
inline constexpr QStringView kSaveNameTitle = u"Запис на справка";
