#pragma once

// The parser behind mdlCalcFunction; only the engine's own files include this.

#include <cstdint>
#include <optional>
#include <string_view>

#include "calcformula.h"
#include "numbertext.h"

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

// The characters that may follow a closing parenthesis.
inline constexpr TokenSet kParenFollowers{u"%+-*/\\<=>&|),]^~", true};

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

// The operators between the powers of a term, as ReadOperator() reads them.
enum class Operator {
  Multiply,      // *
  Divide,        // /
  IntDivide,     // \ (backslash)
  Remainder,     // ~
  Percent,       // %
  Less,          // <
  Greater,       // >
  Equal,         // =
  LessEqual,     // <= =<
  GreaterEqual,  // >= =>
  NotEqual,      // <> ><
  BitAnd,        // &
  BitOr,         // |
  Inert,         // *= /= \= ~= %=: applies nothing and takes no operand
  LogicalInert,  // == &= |=: takes its operand, and the value stands
};

// One evaluation of one prepared text: the recursive descent of the formula grammar.
class Parser {
 public:
  Parser(std::u16string_view text, const DateSettings& dates, const RowResults* rows)
      : m_dates(dates), m_rows(rows) {
    m_state.FormulaText = text;
  }

  // The value of the whole text; ErrorPos() then tells where parsing stopped.
  double Run();
  int ErrorPos() const { return m_state.ErrorPos; }

 private:
  void NextToken();
  Operator ReadOperator();
  bool TokenIn(const TokenSet& set) const { return set.Contains(m_state.Token); }
  void SyntaxError();
  void AbortTooDeep();

  double ParseSum();
  inline double ParseArgument();
  double ParseTerm();
  [[gnu::always_inline]] inline double ParsePower();
  [[gnu::always_inline]] inline double ParseSigned();
  [[gnu::always_inline]] inline double ParsePrimary();
  void ParseChoice(double& slot);
  inline void CloseParen();
  [[gnu::always_inline]] inline double ReadNumber();

  void CallFunction(double& slot);
  void ReadDay(double& slot);
  std::optional<double> StoredResult(double row) const;

  const DateSettings& m_dates;
  const RowResults* m_rows;
  ParserState m_state;
  int m_depth = 0;
  bool m_aborted = false;
};

inline void Parser::NextToken() {
  const int size = static_cast<int>(m_state.FormulaText.size());
  for (;;) {
    ++m_state.TokenPos;
    if (m_state.TokenPos > size) {
      m_state.Token = kEndToken;
      return;
    }
    const char16_t c = m_state.FormulaText[m_state.TokenPos - 1];
    if (!IsBlank(c)) {
      m_state.Token = c;
      return;
    }
  }
}

// A function's argument: a sum, most often a plain number right before ")", which is then read
// without descending through every level (they would return it unchanged).
inline double Parser::ParseArgument() {
  if (m_depth < mdlCalcFunction::kMaxDepth) {
    const std::u16string_view text = m_state.FormulaText;
    const auto begin = static_cast<std::size_t>(m_state.TokenPos - 1);
    const PlainNumber number = ReadPlainNumber(text, begin);
    if (number.end != begin && number.end < text.size() && text[number.end] == u')') {
      m_state.TokenPos = static_cast<int>(number.end) + 1;
      m_state.Token = u')';
      return number.value;
    }
  }
  return ParseSum();
}

inline void Parser::CloseParen() {
  if (m_state.Token != u')') {
    SyntaxError();
    return;
  }
  NextToken();
  if (!TokenIn(kParenFollowers)) SyntaxError();
}
