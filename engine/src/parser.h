#pragma once

// The parser behind mdlCalcFunction; only the engine's own files include this.

#include <cstdint>
#include <optional>
#include <string_view>

#include "calcformula.h"
#include "numbertext.h"

// Whether name is a function name (or PI) exactly as the formula language spells it.
bool IsFunctionName(std::u16string_view name);

// The scanner's tokens: an ASCII character is itself; any other code unit is kOtherToken, which no
// rule accepts, and past the prepared text comes kEndToken, which the text cannot hold (so a
// carriage return typed inside a formula is an unknown character, not the end).
inline constexpr char16_t kEndToken = 128;
inline constexpr char16_t kOtherToken = 129;
inline constexpr std::size_t kTokenCount = 130;

// A set of tokens, looked up in one step; built at compile time from ASCII characters.
class TokenSet {
 public:
  consteval TokenSet(std::u16string_view chars, bool withEnd = false) {
    for (const char16_t c : chars) {
      if (c >= 128) throw "a TokenSet holds ASCII characters only";
      m_in[c] = true;
    }
    m_in[kEndToken] = withEnd;
  }
  constexpr bool Contains(char16_t token) const { return m_in[token]; }

 private:
  bool m_in[kTokenCount] = {};
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
    std::size_t at = m_tokenPos;  // the character after the token
    while (at < m_text.size() && IsBlank(m_text[at])) ++at;
    m_tokenPos = at + 1;
    m_token = at >= m_text.size() ? kEndToken : m_text[at] < 128 ? m_text[at] : kOtherToken;
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
  double ParseChoice();
  inline void CloseParen();
  double CallFunction();
  std::uint64_t NamesAtToken(std::size_t from) const;
  std::optional<double> ReadSum();
  std::optional<double> ReadDay();
  std::optional<double> StoredResult(double row) const;

  // The prepared formula; every position past its end reads as kEndToken.
  std::u16string_view m_text;
  const DateSettings& m_dates;
  const RowResults* m_rows;
  char16_t m_token = kEndToken;  // the token at m_tokenPos
  std::size_t m_tokenPos = 0;    // 1-based position of m_token in m_text
  int m_errorPos = 0;            // 0, or m_tokenPos at the last syntax error found
  int m_depth = 0;
  bool m_aborted = false;
};

// close := ")" follower, where follower is one of % + - * / \ < = > & | ) ] , ^ ~ or the end
inline void Parser::CloseParen() {
  static constexpr TokenSet kFollowers{u"%+-*/\\<=>&|),]^~", true};
  if (m_token != u')') {
    SyntaxError();
    return;
  }
  NextToken();
  if (!TokenIn(kFollowers)) SyntaxError();
}
