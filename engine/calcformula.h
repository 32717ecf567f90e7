#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// Order in which the user's locale writes day, month and year.
enum class DateOrder { DayMonthYear, MonthDayYear, YearMonthDay };

// The user's date settings, handed in by the caller (the engine never asks the system).
struct DateSettings {
  DateOrder order = DateOrder::DayMonthYear;
  char16_t separator = u'.';
};

// Read-only view of the stored results of the 27 row records; slot k is table row k + 1.
class RowResults {
 public:
  virtual ~RowResults() = default;
  virtual double Result(int slot) const = 0;
};

// The token the scanner gives past the end of the prepared text: the terminator, which the
// text itself does not hold. It is not a UTF-16 code unit, so a carriage return typed inside a
// formula stays an ordinary (unknown) character instead of silently ending the formula.
inline constexpr char32_t kEndToken = 0x110000;

// A set of ASCII characters, optionally with the end token, that the current token is tested
// against. Built at compile time so that a test is two mask operations.
class TokenSet {
 public:
  consteval TokenSet(std::u16string_view chars, bool withEnd = false) : m_end(withEnd) {
    for (char16_t c : chars) {
      if (c >= 128) throw "a TokenSet holds ASCII characters only";
      if (c < 64)
        m_low |= std::uint64_t{1} << c;
      else
        m_high |= std::uint64_t{1} << (c - 64);
    }
  }
  constexpr bool Contains(char32_t c) const {
    if (c < 64) return (m_low >> c) & 1;
    if (c < 128) return (m_high >> (c - 64)) & 1;
    return c == kEndToken && m_end;
  }

 private:
  std::uint64_t m_low = 0;
  std::uint64_t m_high = 0;
  bool m_end = false;
};

// What one evaluation works on; every CalcFormula call starts it afresh.
struct ParserState {
  // The prepared formula. Its terminator is implicit: every position past the end reads as
  // kEndToken. It views the caller's text when preparation changed nothing, else a buffer
  // of the evaluator.
  std::u16string_view FormulaText;
  char32_t Token = kEndToken;  // character at TokenPos, or kEndToken past the text
  int TokenPos = 0;            // 1-based position of Token in FormulaText
  int ErrorPos = 0;            // 0, or TokenPos at the last syntax error found
};

// The formula evaluator. Each CalcFormula call resets the parser state, so one object can
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
  int ErrorPos() const { return m_state.ErrorPos; }
  // The state left by the last CalcFormula call; FormulaText is valid while both this
  // object and the text last passed to CalcFormula are.
  const ParserState& State() const { return m_state; }

 private:
  void NextToken();
  bool TokenIn(const TokenSet& set) const { return set.Contains(m_state.Token); }
  void SyntaxError();
  void AbortTooDeep();

  double ParseSum();
  double ParseTerm();
  [[gnu::always_inline]] inline double ParsePower();
  [[gnu::always_inline]] inline double ParseSigned();
  [[gnu::always_inline]] inline double ParsePrimary();
  void ParseChoice(double& slot);
  void CloseParen();
  [[gnu::always_inline]] inline double ReadNumber();

  void CallFunction(double& slot);
  void ReadDay(double& slot);
  std::optional<double> StoredResult(double row) const;

  // Room for a 255-character formula with the "0" put before a leading point; longer texts
  // that preparation changes go to m_long.
  static constexpr std::size_t kInlineLength = 264;

  DateSettings m_dates;
  const RowResults* m_rows = nullptr;
  ParserState m_state;
  int m_depth = 0;
  bool m_aborted = false;
  char16_t m_inline[kInlineLength] = {};
  std::u16string m_long;
};

inline void mdlCalcFunction::NextToken() {
  const int size = static_cast<int>(m_state.FormulaText.size());
  for (;;) {
    ++m_state.TokenPos;
    if (m_state.TokenPos > size) {
      m_state.Token = kEndToken;
      return;
    }
    const char16_t c = m_state.FormulaText[m_state.TokenPos - 1];
    if (c != u' ' && c != u'\u00A0') {
      m_state.Token = c;
      return;
    }
  }
}
