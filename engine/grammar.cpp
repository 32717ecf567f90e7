#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdint>

#include "numbertext.h"
#include "parser.h"

namespace {

constexpr TokenSet kNumberChars{u"1234567890."};
constexpr TokenSet kUnitLetters{u"dbnuf"};
constexpr TokenSet kSumOperators{u"+-"};
constexpr TokenSet kTermOperators{u"*/%\\~<=>&|"};

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

// Whether x * x is exact: x is normal and its significand, trailing zeros dropped, has at
// most 26 bits, so that the square's has at most 52.
bool SquareIsExact(double x) {
  const auto bits = std::bit_cast<std::uint64_t>(x);
  const auto exponent = (bits >> 52) & 0x7FF;
  if (exponent == 0 || exponent == 0x7FF) return false;
  const std::uint64_t significand = (bits & ((std::uint64_t{1} << 52) - 1)) | std::uint64_t{1}
                                                                                  << 52;
  return significand >> std::countr_zero(significand) < std::uint64_t{1} << 26;
}

// A power that is not a finite real number leaves the base.
double Power(double base, double exponent) {
  // The commonest power, a square that is exactly a normal double, is that product: pow errs
  // by well under a quarter unit before its final rounding, so it returns this very double.
  if (exponent == 2 && SquareIsExact(base)) {
    const double square = base * base;
    if (std::isnormal(square)) return square;
  }
  if (!std::isfinite(base) || !std::isfinite(exponent)) return base;
  const double result = std::pow(base, exponent);
  return std::isfinite(result) ? result : base;
}

double Truth(bool truth) {
  return truth ? -1 : 0;
}

}  // namespace

double Parser::Run() {
  NextToken();
  const double value = ParseSum();
  if (m_state.Token != kEndToken) SyntaxError();
  return value;
}

void Parser::SyntaxError() {
  // After too deep a nesting the position of that failure is kept.
  if (!m_aborted) m_state.ErrorPos = m_state.TokenPos;
}

void Parser::AbortTooDeep() {
  SyntaxError();
  m_aborted = true;
  // Every rule stops at the end token, so the parse unwinds without reading further.
  m_state.TokenPos = std::max(m_state.TokenPos, static_cast<int>(m_state.FormulaText.size()) + 1);
  m_state.Token = kEndToken;
}

// operator := ("*" | "/" | "\" | "~" | "%" | "&" | "|" | "<" | ">" | "=") ["="] | "<>" | "><"
//             | "=<" | "=>"
Operator Parser::ReadOperator() {
  const char16_t first = static_cast<char16_t>(m_state.Token);
  NextToken();
  char16_t second = 0;
  if (m_state.Token == u'=') {
    second = u'=';
    NextToken();
  } else if ((first == u'<' && m_state.Token == u'>') || (first == u'>' && m_state.Token == u'<')) {
    NextToken();
    return Operator::NotEqual;
  } else if (first == u'=' && (m_state.Token == u'<' || m_state.Token == u'>')) {
    second = static_cast<char16_t>(m_state.Token);
    NextToken();
  }
  switch (first) {
    case u'*':
      return second ? Operator::Inert : Operator::Multiply;
    case u'/':
      return second ? Operator::Inert : Operator::Divide;
    case u'\\':
      return second ? Operator::Inert : Operator::IntDivide;
    case u'~':
      return second ? Operator::Inert : Operator::Remainder;
    case u'%':
      return second ? Operator::Inert : Operator::Percent;
    case u'&':
      return second ? Operator::LogicalInert : Operator::BitAnd;
    case u'|':
      return second ? Operator::LogicalInert : Operator::BitOr;
    case u'<':
      return second ? Operator::LessEqual : Operator::Less;
    case u'>':
      return second ? Operator::GreaterEqual : Operator::Greater;
    default:  // '='
      return second == u'<'   ? Operator::LessEqual
             : second == u'>' ? Operator::GreaterEqual
             : second == u'=' ? Operator::LogicalInert
                              : Operator::Equal;
  }
}

// sum := term { ("+" | "-") term }
double Parser::ParseSum() {
  double value = ParseTerm();
  while (TokenIn(kSumOperators)) {
    const bool plus = m_state.Token == u'+';
    NextToken();
    const double right = ParseTerm();
    value = plus ? value + right : value - right;
  }
  return value;
}

// term := power { ("*" | "/" | "\" | "~") power | "%" | (comparison | "&" | "|") term }
double Parser::ParseTerm() {
  // Every nesting passes through here, so this one counter bounds the recursion.
  struct DepthGuard {
    int& depth;
    ~DepthGuard() { --depth; }
  } guard{++m_depth};
  if (m_depth > mdlCalcFunction::kMaxDepth) {
    AbortTooDeep();
    return 0;
  }

  double value = ParsePower();
  while (TokenIn(kTermOperators)) {
    switch (ReadOperator()) {
      case Operator::Multiply:
        value = value * ParsePower();
        break;
      case Operator::Divide: {
        const double divisor = ParsePower();
        value = divisor == 0 ? 0 : value / divisor;
        break;
      }
      case Operator::IntDivide: {
        const double divisor = ParsePower();
        value = divisor == 0 ? 0 : IntegerDivision(value, divisor, false);
        break;
      }
      case Operator::Remainder: {
        const double divisor = ParsePower();
        value = divisor == 0 ? 0 : IntegerDivision(value, divisor, true);
        break;
      }
      case Operator::Percent:
        value = value / 100;
        break;
      case Operator::Inert:
        break;
      case Operator::Less:
        value = Truth(value < ParseTerm());
        break;
      case Operator::Greater:
        value = Truth(value > ParseTerm());
        break;
      case Operator::Equal:
        value = Truth(value == ParseTerm());
        break;
      case Operator::LessEqual:
        value = Truth(value <= ParseTerm());
        break;
      case Operator::GreaterEqual:
        value = Truth(value >= ParseTerm());
        break;
      case Operator::NotEqual:
        value = Truth(value != ParseTerm());
        break;
      case Operator::BitAnd:
        value = Bitwise(value, ParseTerm(), true);
        break;
      case Operator::BitOr:
        value = Bitwise(value, ParseTerm(), false);
        break;
      case Operator::LogicalInert:
        ParseTerm();  // read, and the value stands
        break;
    }
  }
  return value;
}

// power := signed { "^" signed }
double Parser::ParsePower() {
  double value = ParseSigned();
  while (m_state.Token == u'^') {
    NextToken();
    value = Power(value, ParseSigned());
  }
  return value;
}

// signed := [ "-" ] primary
double Parser::ParseSigned() {
  if (m_state.Token == u'-') {
    NextToken();
    return -ParsePrimary();
  }
  return ParsePrimary();
}

// primary := number [unit letter] | "(" ["+"] sum ")" | choice | function
double Parser::ParsePrimary() {
  double value = 0;
  if (TokenIn(kNumberChars)) {
    value = ReadNumber();
  } else if (m_state.Token == u'(') {
    NextToken();
    if (m_state.Token == u'+') NextToken();
    value = ParseSum();
    CloseParen();
  } else if (m_state.Token == u'[') {
    ParseChoice(value);
  } else {
    CallFunction(value);
  }
  return value;
}

double Parser::ReadNumber() {
  // The run is read in one pass instead of token by token; the blanks that the scanner would
  // skip inside it belong to the number text.
  const std::u16string_view text = m_state.FormulaText;
  const auto begin = static_cast<std::size_t>(m_state.TokenPos - 1);
  const NumberRun run = ScanNumberRun(text, begin);
  m_state.TokenPos = static_cast<int>(run.end) + 1;
  m_state.Token = run.end >= text.size() ? kEndToken : text[run.end];
  const double value = run.fast ? run.value : ReadNumberText(text.substr(begin, run.end - begin));
  if (TokenIn(kUnitLetters)) NextToken();  // 5d is 5
  return value;
}

// choice := "[" ["+"] term "," sum ["," sum] "]"; only -1 chooses the first branch.
void Parser::ParseChoice(double& slot) {
  NextToken();
  if (m_state.Token == u'+') NextToken();
  const bool first = ParseTerm() == -1;
  double result = 0;
  if (m_state.Token != u',') {
    SyntaxError();
  } else {
    NextToken();
    const double then = ParseSum();
    if (first) result = then;
    if (m_state.Token == u',') {
      NextToken();
      const double otherwise = ParseSum();
      if (!first) result = otherwise;
    }
  }
  if (m_state.Token == u']')
    NextToken();
  else
    SyntaxError();
  slot = result;
}
