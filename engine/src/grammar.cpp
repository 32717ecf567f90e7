#include <algorithm>
#include <cmath>
#include <cstdint>

#include "numberscan.h"
#include "numbertext.h"
#include "parser.h"

namespace {

constexpr TokenSet kNumberChars{u"1234567890."};
constexpr TokenSet kUnitLetters{u"dbnuf"};
constexpr TokenSet kSumOperators{u"+-"};
constexpr TokenSet kTermOperators{u"*/%\\~<=>&|"};
constexpr TokenSet kLogicalOperators{u"<=>&|"};

// \ and ~ on the rounded operands; operands beyond 32 bits or a divisor that rounds to 0 leave
// the left value standing.
double IntegerDivision(double left, double right, bool remainder) {
  const auto a = RoundToInt32(left);
  const auto b = RoundToInt32(right);
  if (!a || !b || *b == 0) return left;
  // 64-bit, so that -2147483648 \ -1 has a value too.
  const std::int64_t x = *a, y = *b;
  return static_cast<double>(remainder ? x % y : x / y);
}

double Bitwise(double left, double right, bool both) {
  const auto a = RoundToInt32(left);
  const auto b = RoundToInt32(right);
  if (!a || !b) return left;
  return static_cast<double>(both ? (*a & *b) : (*a | *b));
}

// A power that is not a finite real number leaves the base.
double Power(double base, double exponent) {
  if (!std::isfinite(base) || !std::isfinite(exponent)) return base;
  const double result = std::pow(base, exponent);
  return std::isfinite(result) ? result : base;
}

double Truth(bool truth) {
  return truth ? -1 : 0;
}

// A comparison or logical operator, spelt first + second (second 0 for one character), applied
// to its operands. "==", "&=" and "|=" apply nothing: the left value stands.
double Logical(char16_t first, char16_t second, double a, double b) {
  switch (first) {
    case u'&':
      return second ? a : Bitwise(a, b, true);
    case u'|':
      return second ? a : Bitwise(a, b, false);
    case u'<':
      return Truth(second == u'=' ? a <= b : second == u'>' ? a != b : a < b);
    case u'>':
      return Truth(second == u'=' ? a >= b : second == u'<' ? a != b : a > b);
    default:  // '='
      if (second == u'=') return a;
      return Truth(second == u'<' ? a <= b : second == u'>' ? a >= b : a == b);
  }
}

}  // namespace

// formula := sum end
double Parser::Run() {
  NextToken();
  const double value = ParseSum();
  if (m_token != kEndToken) SyntaxError();
  return value;
}

void Parser::SyntaxError() {
  // After too deep a nesting the position of that failure is kept.
  if (!m_aborted) m_errorPos = static_cast<int>(m_tokenPos);
}

void Parser::AbortTooDeep() {
  SyntaxError();
  m_aborted = true;
  // Every rule stops at the end token, so the parse unwinds without reading further.
  m_tokenPos = std::max(m_tokenPos, m_text.size() + 1);
  m_token = kEndToken;
}

// Term, power and signed are inline: a plain number then costs one call below its sum.

// sum := term { ("+" | "-") term }
double Parser::ParseSum() {
  double value = ParseTerm();
  while (TokenIn(kSumOperators)) {
    const bool plus = m_token == u'+';
    NextToken();
    const double right = ParseTerm();
    value = plus ? value + right : value - right;
  }
  return value;
}

// term := power { operator }
inline double Parser::ParseTerm() {
  // Every nesting passes through here, so this one counter bounds the recursion.
  if (++m_depth > mdlCalcFunction::kMaxDepth) {
    AbortTooDeep();
    --m_depth;
    return 0;
  }
  double value = ParsePower();
  while (TokenIn(kTermOperators)) value = ApplyOperator(value);
  --m_depth;
  return value;
}

// operator := ("*" | "/" | "\" | "~") power | "%" | ("*" | "/" | "\" | "~" | "%") "="
//           | logical term, logical := "<" | ">" | "=" | "&" | "|" | "<=" | ">=" | "=<" | "=>"
//           | "<>" | "><" | "==" | "&=" | "|="
double Parser::ApplyOperator(double value) {
  const auto first = static_cast<char16_t>(m_token);
  NextToken();
  char16_t second = 0;
  if (m_token == u'=' || (first == u'<' && m_token == u'>') || (first == u'>' && m_token == u'<') ||
      (first == u'=' && (m_token == u'<' || m_token == u'>')))
    second = static_cast<char16_t>(m_token);
  if (second) NextToken();
  // The right operand of a logical operator is the whole rest of the chain.
  if (kLogicalOperators.Contains(first)) return Logical(first, second, value, ParseTerm());
  // "*=", "/=" ...: nothing is applied and the text after it is left to the levels above.
  if (second) return value;
  if (first == u'%') return value / 100;
  const double right = ParsePower();
  if (first == u'*') return value * right;
  if (right == 0) return 0;  // tested before \ and ~ round the divisor
  if (first == u'/') return value / right;
  return IntegerDivision(value, right, first == u'~');
}

// power := signed { "^" signed }
inline double Parser::ParsePower() {
  double value = ParseSigned();
  while (m_token == u'^') {
    NextToken();
    value = Power(value, ParseSigned());
  }
  return value;
}

// signed := [ "-" ] primary
inline double Parser::ParseSigned() {
  const bool minus = m_token == u'-';
  if (minus) NextToken();
  const double value = ParsePrimary();
  return minus ? -value : value;
}

// primary := number [unit letter] | "(" ["+"] sum ")" | choice | function
double Parser::ParsePrimary() {
  if (TokenIn(kNumberChars)) {
    // number := { digit | "." } with blanks anywhere in it
    const NumberRun number = ReadNumber(m_text, m_tokenPos - 1);
    m_tokenPos = number.end;
    NextToken();
    if (TokenIn(kUnitLetters)) NextToken();  // 5d is 5
    return number.value;
  }
  if (m_token == u'(') {
    NextToken();
    if (m_token == u'+') NextToken();
    const double value = ParseSum();
    CloseParen();
    return value;
  }
  if (m_token == u'[') return ParseChoice();
  return CallFunction();
}

// choice := "[" ["+"] term "," sum ["," sum] "]"; only -1 chooses the first branch.
double Parser::ParseChoice() {
  NextToken();
  if (m_token == u'+') NextToken();
  const bool first = ParseTerm() == -1;
  double result = 0;
  if (m_token != u',') {
    SyntaxError();
  } else {
    NextToken();
    const double then = ParseSum();
    if (first) result = then;
    if (m_token == u',') {
      NextToken();
      const double otherwise = ParseSum();
      if (!first) result = otherwise;
    }
  }
  if (m_token == u']')
    NextToken();
  else
    SyntaxError();
  return result;
}
