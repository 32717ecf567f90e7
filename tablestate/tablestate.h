#pragma once

#include <QString>
#include <QStringView>
#include <array>

#include "calcformula.h"

inline constexpr int kVisibleRows = 25;    // records 0..24 are the table rows 1..25
inline constexpr int kHiddenRecord = 25;   // overflow row: insert fills it, delete clears it
inline constexpr int kFormulaWidth = 255;  // fixed width of a stored formula text
inline constexpr int kLabelWidth = 8;

// One row of the table. The formula text always has kFormulaWidth characters: a stored text
// padded with blanks, or kFormulaWidth NUL characters while the record is cleared.
struct RowRecord {
  QString label = QString(kLabelWidth, QChar(0));
  QString formula = QString(kFormulaWidth, QChar(0));
  double result = 0;

  // Back to the start state: NUL formula and label, result 0.
  void Clear();
  // Stores a text as one line (FormulaLine): its first kFormulaWidth characters, padded with
  // blanks. Every road into a row comes through here, so no row holds a control character.
  void SetFormula(QStringView text);
  // Stores the empty text (kFormulaWidth blanks) and result 0.
  void Empty();
  bool IsCleared() const { return formula.startsWith(QChar(0)); }
  // The formula with leading and trailing blanks (U+0020 only) removed; NULs are kept.
  QString Trimmed() const;
  // What a text box shows for the stored formula: trimmed, up to the first NUL.
  QString DisplayText() const;

  bool operator==(const RowRecord&) const = default;
};

// Blanks (U+0020 only) removed at both ends, as the stored texts are trimmed.
QString TrimBlanks(QStringView text);

// The state of the table that the main window owns and hands to the other windows.
class TableState final : public RowResults {
 public:
  // A state with no start directory: enough for what never writes a file (the batch modes,
  // tests). The program's own state is made with the one app/ works out at start.
  TableState() = default;
  explicit TableState(QString startDirectory) : startDirectory(std::move(startDirectory)) {}

  std::array<RowRecord, kRecordCount> rows;
  // Mirror of the explanation field txtH. The two part on saving only: an empty text, or one
  // starting with a control character, becomes " " here and in the file while the field keeps
  // what the user typed; so the report titles from the field, the file and the chart from here.
  QString explanation;
  QString lastFileName;    // the formula file last saved or read
  QString startDirectory;  // where saves, reads and the PDF offer start
  int roundingDigits = 4;  // 0..15 decimals shown for results

  // Every record cleared; explanation, rounding and file name stay.
  void ClearRows();
  // No formula in records 0..25 and no explanation: nothing a user would miss.
  bool IsEmpty() const;

  double Result(int slot) const override;
};

// UTF-16 view of a QString for the engine.
inline std::u16string_view ToU16(QStringView text) {
  return {reinterpret_cast<const char16_t*>(text.utf16()), static_cast<size_t>(text.size())};
}
