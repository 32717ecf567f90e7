#include <cmath>
#include <cstdint>

#include "calcformula.h"
#include "numbertext.h"

namespace {

constexpr TokenSet kNumberChars{u"1234567890."};
constexpr TokenSet kUnitLetters{u"dbnuf"};
constexpr TokenSet kSumOperators{u"+-"};
constexpr TokenSet kTermOperators{u"*/%\\~<=>&|"};
constexpr TokenSet kLogicalOperators{u"<=>&|"};
constexpr TokenSet kParenFollowers{u"%+-*/\\<=>&|),]^~", true};

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

double Compare(char16_t first, char16_t second, double left, double right) {
  bool truth = false;
  if (second == 0) {
    switch (first) {
      case u'<':
        truth = left < right;
        break;
      case u'>':
        truth = left > right;
        break;
      default:
        truth = left == right;
        break;
    }
  } else if ((first == u'<' && second == u'=') || (first == u'=' && second == u'<')) {
    truth = left <= right;
  } else if ((first == u'>' && second == u'=') || (first == u'=' && second == u'>')) {
    truth = left >= right;
  } else {
    truth = left != right;  // "<>"
  }
  return truth ? -1 : 0;
}

}  // namespace

// sum := term { ("+" | "-") term }
double mdlCalcFunction::ParseSum() {
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
double mdlCalcFunction::ParseTerm() {
  // Every nesting passes through here, so this one counter bounds the recursion.
  struct DepthGuard {
    int& depth;
    ~DepthGuard() { --depth; }
  } guard{++m_depth};
  if (m_depth > kMaxDepth) {
    AbortTooDeep();
    return 0;
  }

  double value = ParsePower();
  while (TokenIn(kTermOperators)) {
    const bool logical = TokenIn(kLogicalOperators);
    char16_t first = static_cast<char16_t>(m_state.Token);
    char16_t second = 0;
    NextToken();
    if (m_state.Token == u'=') {
      second = u'=';
      NextToken();
    }
    if (second == 0 &&
        ((first == u'<' && m_state.Token == u'>') || (first == u'>' && m_state.Token == u'<'))) {
      first = u'<';
      second = u'>';
      NextToken();
    }
    if (first == u'=' && second == 0 && (m_state.Token == u'<' || m_state.Token == u'>')) {
      second = static_cast<char16_t>(m_state.Token);
      NextToken();
    }
    const double right = logical ? ParseTerm() : 0;

    if (logical) {
      if (first == u'&' || first == u'|') {
        // "&=" and "|=" spell nothing: the value stands.
        if (second == 0) value = Bitwise(value, right, first == u'&');
      } else if (!(first == u'=' && second == u'=')) {
        value = Compare(first, second, value, right);
      }
      continue;
    }
    if (second != 0) continue;  // "*=", "/=" and the like apply nothing
    switch (first) {
      case u'*':
        value = value * ParsePower();
        break;
      case u'/': {
        const double divisor = ParsePower();
        value = divisor == 0 ? 0 : value / divisor;
        break;
      }
      case u'\\':
      case u'~': {
        const double divisor = ParsePower();
        value = divisor == 0 ? 0 : IntegerDivision(value, divisor, first == u'~');
        break;
      }
      default:  // '%'
        value = value / 100;
        break;
    }
  }
  return value;
}

// power := signed { "^" signed }
double mdlCalcFunction::ParsePower() {
  double value = ParseSigned();
  while (m_state.Token == u'^') {
    NextToken();
    value = Power(value, ParseSigned());
  }
  return value;
}

// signed := [ "-" ] primary
double mdlCalcFunction::ParseSigned() {
  if (m_state.Token == u'-') {
    NextToken();
    return -ParsePrimary();
  }
  return ParsePrimary();
}

// primary := number [unit letter] | "(" ["+"] sum ")" | choice | function
double mdlCalcFunction::ParsePrimary() {
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

double mdlCalcFunction::ReadNumber() {
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

void mdlCalcFunction::CloseParen() {
  if (m_state.Token != u')') {
    SyntaxError();
    return;
  }
  NextToken();
  if (!TokenIn(kParenFollowers)) SyntaxError();
}

// choice := "[" ["+"] term "," sum ["," sum] "]"; only -1 chooses the first branch.
void mdlCalcFunction::ParseChoice(double& slot) {
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
