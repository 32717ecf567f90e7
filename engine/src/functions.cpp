#include <algorithm>
#include <array>
#include <bit>
#include <cmath>
#include <cstdint>

#include "datetext.h"
#include "numbertext.h"
#include "parser.h"

namespace {
// The calculator's own constants, each the double nearest the decimal written.
constexpr double kP = 3.14159265358979;  // not the double nearest pi
constexpr double kD = 57.2957795130824;  // degrees per radian
constexpr double kMile = 1.609314;       // kilometres
constexpr double kFoot = 30.48;          // centimetres
constexpr double kInch = 2.54;           // centimetres
constexpr double kYard = 0.9144;         // metres

// The steps of one function value. The first step that overflows, divides by zero or leaves
// a library function's domain fails the whole value; the caller then keeps its slot. Only
// the last multiplication or division is written as a plain operator, unchecked.
class Steps {
 public:
  bool Failed() const { return m_failed; }

  double Add(double a, double b) { return Check(a + b); }
  double Sub(double a, double b) { return Check(a - b); }
  double Mul(double a, double b) { return Check(a * b); }
  double Div(double a, double b) { return b == 0 ? Fail() : Check(a / b); }
  double Sqrt(double x) { return std::isfinite(x) && x >= 0 ? Check(std::sqrt(x)) : Fail(); }
  double Ln(double x) { return std::isfinite(x) && x > 0 ? Check(std::log(x)) : Fail(); }
  double Exp(double x) { return std::isfinite(x) ? Check(std::exp(x)) : Fail(); }
  double Atan(double x) { return std::isfinite(x) ? Check(std::atan(x)) : Fail(); }
  double Sin(double x) { return std::isfinite(x) ? Check(std::sin(x)) : Fail(); }
  double Cos(double x) { return std::isfinite(x) ? Check(std::cos(x)) : Fail(); }
  double Tan(double x) { return std::isfinite(x) ? Check(std::tan(x)) : Fail(); }
  // arctangent(1), computed at run time as the formulas have it.
  double RightAngle() { return Mul(Atan(1), 2); }

 private:
  double Check(double v) { return std::isfinite(v) ? v : Fail(); }
  double Fail() {
    m_failed = true;
    return 0;
  }
  bool m_failed = false;
};

// Degrees to radians: a step of its own whose result stands even when infinite.
double Rad(double x) {
  return (x * kP) / 180;
}

double ArcRoot(double x, Steps& s) {
  return s.Sqrt(s.Add(s.Mul(-x, x), 1));
}

using Compute = double (*)(double x, Steps& s);

enum class Kind { Pi, Day, Sum, Plain };

struct Function {
  std::u16string_view name;
  Compute compute;  // for Kind::Plain
  Kind kind = Kind::Plain;
};

// By name length, and in the order tested within a length; no name is the start of a longer
// one. After a name is read, only longer names are tried at the new position.
constexpr Function kFunctions[] = {
    {u"PI", nullptr, Kind::Pi},
    {u"pi", nullptr, Kind::Pi},
    {u"LN", [](double x, Steps& s) { return s.Ln(x); }},
    {u"DAY", nullptr, Kind::Day},
    {u"SIN", [](double x, Steps& s) { return s.Sin(Rad(x)); }},
    {u"COS", [](double x, Steps& s) { return s.Cos(Rad(x)); }},
    {u"TAN", [](double x, Steps& s) { return s.Tan(Rad(x)); }},
    {u"SEC", [](double x, Steps& s) { return 1 / s.Cos(Rad(x)); }},
    {u"LOG", [](double x, Steps& s) { return s.Ln(x) / s.Ln(10); }},
    {u"SQR", [](double x, Steps& s) { return s.Sqrt(x); }},
    {u"EXP", [](double x, Steps& s) { return s.Exp(x); }},
    {u"DEG", [](double x, Steps&) { return x * kD; }},
    {u"RAD", [](double x, Steps&) { return x / kD; }},
    {u"F-C", [](double x, Steps& s) { return s.Sub(s.Mul(s.Add(x, 40), 5) / 9, 40); }},
    {u"C-F", [](double x, Steps& s) { return s.Div(9, 5) * s.Add(s.Sub(x, s.Div(200, 9)), 40); }},
    {u"SUM", nullptr, Kind::Sum},
    {u"KLM", [](double x, Steps&) { return x * kMile; }},
    {u"MIL", [](double x, Steps&) { return x / kMile; }},
    {u"CTAN", [](double x, Steps& s) { return 1 / s.Tan(Rad(x)); }},
    {u"CSEC", [](double x, Steps& s) { return 1 / s.Sin(Rad(x)); }},
    {u"ASIN", [](double x, Steps& s) { return s.Atan(s.Div(x, ArcRoot(x, s))) * kD; }},
    {u"ACOS",
     [](double x, Steps& s) {
       return s.Div(s.Add(s.Atan(s.Div(-x, ArcRoot(x, s))), s.RightAngle()), kP) * 180;
     }},
    {u"ATAN", [](double x, Steps& s) { return s.Div(s.Atan(x), kP) * 180; }},
    {u"ASEC",
     [](double x, Steps& s) {
       const double y = 1 / x;
       return s.Add(s.Atan(s.Div(-y, ArcRoot(y, s))), s.RightAngle()) * kD;
     }},
    {u"HSIN", [](double x, Steps& s) { return s.Sub(s.Exp(Rad(x)), s.Exp(-Rad(x))) / 2; }},
    {u"HCOS", [](double x, Steps& s) { return s.Add(s.Exp(Rad(x)), s.Exp(-Rad(x))) / 2; }},
    {u"HTAN",
     [](double x, Steps& s) {
       const double r = Rad(x);
       const double difference = s.Sub(s.Exp(r), s.Exp(-r));
       return difference / s.Add(s.Exp(r), s.Exp(-r));
     }},
    {u"HSEC", [](double x, Steps& s) { return 2 / s.Add(s.Exp(Rad(x)), s.Exp(-Rad(x))); }},
    {u"SFUT", [](double x, Steps&) { return x * kFoot; }},
    {u"METR", [](double x, Steps&) { return x * kYard; }},
    {u"ACTAN", [](double x, Steps& s) { return s.Add(s.Atan(-x), s.RightAngle()) * kD; }},
    {u"ACSEC",
     [](double x, Steps& s) {
       const double y = 1 / x;
       return s.Atan(s.Div(y, ArcRoot(y, s))) * kD;
     }},
    {u"HCTAN",
     [](double x, Steps& s) {
       const double r = Rad(x);
       const double sum = s.Add(s.Exp(r), s.Exp(-r));
       return sum / s.Sub(s.Exp(r), s.Exp(-r));
     }},
    {u"HCSEC", [](double x, Steps& s) { return 2 / s.Sub(s.Exp(Rad(x)), s.Exp(-Rad(x))); }},
    {u"AHSIN",
     [](double x, Steps& s) { return s.Ln(s.Add(x, s.Sqrt(s.Add(s.Mul(x, x), 1)))) * kD; }},
    {u"AHCOS",
     [](double x, Steps& s) { return s.Ln(s.Add(x, s.Sqrt(s.Sub(s.Mul(x, x), 1)))) * kD; }},
    {u"AHTAN",
     [](double x, Steps& s) { return s.Div(s.Ln(s.Div(s.Add(x, 1), s.Sub(1, x))), 2) * kD; }},
    {u"AHSEC", [](double x, Steps& s) { return s.Ln(s.Div(s.Add(ArcRoot(x, s), 1), x)) * kD; }},
    {u"SDUIM", [](double x, Steps&) { return x * kInch; }},
    {u"AHCTAN",
     [](double x, Steps& s) {
       return s.Div(s.Div(s.Ln(s.Div(s.Add(x, 1), s.Sub(x, 1))), 2), kP) * 180;
     }},
    {u"AHCSEC",
     [](double x, Steps& s) {
       const double sign = x > 0 ? 1 : x < 0 ? -1 : 0;
       const double root = s.Sqrt(s.Add(s.Mul(x, x), 1));
       return s.Ln(s.Div(s.Add(s.Mul(sign, root), 1), x)) * kD;
     }},
};
constexpr std::size_t kFunctionCount = std::size(kFunctions);
static_assert(kFunctionCount < 64,
              "a letter's names, and the shift past the last row, fit one 64-bit mask");
static_assert(
    [] {
      for (std::size_t i = 1; i < kFunctionCount; ++i)
        if (kFunctions[i].name.size() < kFunctions[i - 1].name.size()) return false;
      return kFunctionCount > 0;
    }(),
    "the rows are ordered by name length: after a name only later rows are tried");

// For each row, the first row with a longer name: the rows tried after it is read.
constexpr std::array<std::size_t, kFunctionCount> kLongerFrom = [] {
  std::array<std::size_t, kFunctionCount> from{};
  for (std::size_t i = 0; i < kFunctionCount; ++i) {
    from[i] = i + 1;
    while (from[i] < kFunctionCount && kFunctions[from[i]].name.size() == kFunctions[i].name.size())
      ++from[i];
  }
  return from;
}();

// For each token, the table rows (bit i for kFunctions[i]) whose name has it first, and for
// each ASCII character those that have it second.
template <std::size_t Index>
constexpr std::array<std::uint64_t, kTokenCount> RowsByCharacter() {
  std::array<std::uint64_t, kTokenCount> rows{};
  for (std::size_t i = 0; i < kFunctionCount; ++i)
    rows[kFunctions[i].name[Index]] |= std::uint64_t{1} << i;
  return rows;
}
constexpr auto kRowsByFirst = RowsByCharacter<0>();
constexpr auto kRowsBySecond = RowsByCharacter<1>();

// Whether text holds name at `at`, whose first two characters are known to match.
bool NameAt(std::u16string_view text, std::size_t at, std::u16string_view name) {
  if (text.size() - at < name.size()) return false;
  for (std::size_t k = 2; k < name.size(); ++k)
    if (text[at + k] != name[k]) return false;
  return true;
}

}  // namespace

bool IsFunctionName(std::u16string_view name) {
  for (const Function& f : kFunctions)
    if (f.name == name) return true;
  return false;
}

// function := name | name "(" ["+"] sum ")" | "SUM(" ["+"] sum [":" sum] ")" | "DAY(" date ")"
double Parser::CallFunction() {
  double slot = 0;  // a name alone, or a failing function, reads as nothing
  // After a name only longer ones are tried, at once: a name right after another is read too
  // and its value replaces the first (PISIN(30) is 0.5).
  std::uint64_t rows = NamesAtToken(0);
  while (rows != 0) {
    const auto i = static_cast<std::size_t>(std::countr_zero(rows));
    rows &= rows - 1;
    const Function& f = kFunctions[i];
    if (!NameAt(m_text, m_tokenPos - 1, f.name)) continue;
    m_tokenPos += f.name.size() - 1;
    NextToken();
    if (f.kind == Kind::Pi) {
      slot = kP;
    } else if (m_token != u'(') {
      // a name alone reads as nothing
    } else if (f.kind == Kind::Day) {
      if (const auto day = ReadDay()) slot = *day;
    } else if (f.kind == Kind::Sum) {
      if (const auto sum = ReadSum()) slot = *sum;
    } else {
      NextToken();
      if (m_token == u'+') NextToken();
      const double x = ParseSum();
      Steps steps;
      const double value = f.compute(x, steps);
      if (!steps.Failed()) slot = value;
      CloseParen();
    }
    rows = NamesAtToken(kLongerFrom[i]);
  }
  return slot;
}

// The table rows from `from` on whose first two characters stand at the token.
std::uint64_t Parser::NamesAtToken(std::size_t from) const {
  const std::uint64_t rows = kRowsByFirst[m_token] & (~std::uint64_t{0} << from);
  if (rows == 0) return 0;  // the common case: the token starts no name
  if (m_tokenPos >= m_text.size() || m_text[m_tokenPos] >= 128) return 0;
  return rows & kRowsBySecond[m_text[m_tokenPos]];
}

// SUM(n) reads row n's stored result; SUM(a:b) adds those of rows a to b, in either order.
// A row outside the store adds nothing; a bound beyond 32 bits makes the range read nothing.
std::optional<double> Parser::ReadSum() {
  std::optional<double> slot;
  NextToken();
  if (m_token == u'+') NextToken();
  const double from = ParseSum();
  if (m_token != u':') {
    slot = StoredResult(from);
  } else {
    NextToken();
    const double to = ParseSum();
    const auto a = RoundToInt32(std::fabs(from) - 1);
    const auto b = RoundToInt32(std::fabs(to) - 1);
    if (a && b && m_rows) {
      const int low = std::max(std::min(*a, *b), 0);
      const int high = std::min(std::max(*a, *b), kRecordCount - 1);
      std::optional<double> sum;
      for (int k = low; k <= high; ++k) sum = sum ? *sum + m_rows->Result(k) : m_rows->Result(k);
      slot = sum;
    }
  }
  CloseParen();
  return slot;
}

std::optional<double> Parser::StoredResult(double row) const {
  const auto slot = RoundToInt32(std::fabs(row) - 1);
  if (!slot || *slot < 0 || *slot >= kRecordCount || !m_rows) return std::nullopt;
  return m_rows->Result(*slot);
}

// day := "DAY(" up to ten characters other than blanks ")", a date in the user's order
std::optional<double> Parser::ReadDay() {
  const std::size_t start = m_tokenPos + 1;
  // At most ten characters other than blanks, then ")".
  for (int step = 0; step < 11; ++step) {
    NextToken();
    if (m_token == u')') break;
  }
  if (m_token != u')') {
    SyntaxError();
    return std::nullopt;
  }
  const auto text = m_text.substr(start - 1, m_tokenPos - start);
  const NormalizedDate normalized = NormalizeDate(text, m_dates);
  std::optional<double> day;
  if (normalized.date)
    day = DayNumber(*normalized.date);
  else
    SyntaxError();
  NextToken();
  return day;
}
