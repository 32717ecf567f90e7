#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// Order in which the user's locale writes day, month and year.
enum class DateOrder { DayMonthYear, MonthDayYear, YearMonthDay };

// The user's date settings, handed in by the caller (the engine never asks the system).
struct DateSettings {
  DateOrder order = DateOrder::DayMonthYear;
  char16_t separator = u'.';
};

// The row records of a table: rows 1..25, the hidden overflow row and one more.
inline constexpr int kRecordCount = 27;

// Read-only view of the stored results of the kRecordCount row records; slot k is table
// row k + 1.
class RowResults {
 public:
  virtual ~RowResults() = default;
  virtual double Result(int slot) const = 0;
};

// The formula evaluator. Each CalcFormula call starts a fresh parse, so one object can
// evaluate any number of formulas one after another.
class mdlCalcFunction {
 public:
  // Deeper nesting than a 255-character formula can hold is reported as an error instead of
  // exhausting the stack.
  static constexpr int kMaxDepth = 512;
  // Longer texts are refused outright (ErrorPos 1) so that positions stay far inside int.
  static constexpr std::size_t kMaxFormulaLength = std::size_t{1} << 28;

  explicit mdlCalcFunction(DateSettings dates = {}, const RowResults* rows = nullptr);

  void SetRows(const RowResults* rows) { m_rows = rows; }

  // Evaluates one formula; ErrorPos() then tells where parsing stopped (0: no error). The
  // value of what was read is returned even when ErrorPos() is set.
  double CalcFormula(std::u16string_view formula);
  // 0, or the 1-based position in PreparedText() where the last formula's syntax error is.
  int ErrorPos() const { return m_errorPos; }
  // The text the last CalcFormula call parsed: comment cut, blanks trimmed, a leading "="
  // blanked and a leading point read as "0.". Valid while both this object and the text
  // last passed to CalcFormula are.
  std::u16string_view PreparedText() const { return m_prepared; }

 private:
  // Room for a 255-character formula with the "0" put before a leading point; longer texts
  // that preparation changes go to m_long.
  static constexpr std::size_t kInlineLength = 264;

  DateSettings m_dates;
  const RowResults* m_rows = nullptr;
  int m_errorPos = 0;
  std::u16string_view m_prepared;
  char16_t m_inline[kInlineLength] = {};
  std::u16string m_long;
};
