#pragma once

// The parser behind mdlCalcFunction; only the engine's own files include this.

#include <cstdint>
#include <optional>
#include <string_view>

#include "calcformula.h"
#include "numbertext.h"

// Whether name is a function name (or PI) exactly as the formula language spells it.
bool IsFunctionName(std::u16string_view name);

// The token the scanner gives past the end of the prepared text: the terminator, which the
// text itself does not hold. It is not a UTF-16 code unit, so a carriage return typed inside a
// formula stays an ordinary (unknown) character instead of ending the formula.
inline constexpr char32_t kEndToken = 0x110000;

// A set of ASCII characters, optionally with the end token, that the token is tested against.
class TokenSet {
 public:
  consteval TokenSet(std::u16string_view chars, bool withEnd = false) : m_end(withEnd) {
    for (const char16_t c : chars) {
      if (c >= 128) throw "a TokenSet holds ASCII characters only";
      (c < 64 ? m_low : m_high) |= std::uint64_t{1} << (c % 64);
    }
  }
  constexpr bool Contains(char32_t c) const {
    if (c < 128) return ((c < 64 ? m_low : m_high) >> (c % 64)) & 1;
    return c == kEndToken && m_end;
  }

 private:
  std::uint64_t m_low = 0;
  std::uint64_t m_high = 0;
  bool m_end = false;
};

// One evaluation of one prepared text: the recursive descent of the formula grammar, computing
// as it reads.
class Parser {
 public:
  Parser(std::u16string_view text, const DateSettings& dates, const RowResults* rows)
      : m_text(text), m_dates(dates), m_rows(rows) {}

  // The value of the whole text; ErrorPos() then tells where parsing stopped.
  double Run();
  int ErrorPos() const { return m_errorPos; }

 private:
  // The scanner: the next character that is not a blank, or the end.
  void NextToken() {
    const auto size = static_cast<int>(m_text.size());
    do {
      if (++m_tokenPos > size) {
        m_token = kEndToken;
        return;
      }
      m_token = m_text[static_cast<std::size_t>(m_tokenPos - 1)];
    } while (IsBlank(static_cast<char16_t>(m_token)));
  }
  bool TokenIn(const TokenSet& set) const { return set.Contains(m_token); }
  void SyntaxError();
  void AbortTooDeep();

  double ParseSum();
  double ParseTerm();
  double ApplyOperator(double value);
  double ParsePower();
  double ParseSigned();
  double ParsePrimary();
  void ParseChoice(double& slot);
  void CloseParen();
  void CallFunction(double& slot);
  void ReadSum(double& slot);
  void ReadDay(double& slot);
  std::optional<double> StoredResult(double row) const;

  // The prepared formula; every position past its end reads as kEndToken.
  std::u16string_view m_text;
  const DateSettings& m_dates;
  const RowResults* m_rows;
  char32_t m_token = kEndToken;  // the character at m_tokenPos, or kEndToken past the text
  int m_tokenPos = 0;            // 1-based position of m_token in m_text
  int m_errorPos = 0;            // 0, or m_tokenPos at the last syntax error found
  int m_depth = 0;
  bool m_aborted = false;
};
