#include <algorithm>
#include <array>
#include <bit>
#include <cmath>
#include <cstdint>
#include <cstring>

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
  Kind kind;
  Compute compute;
};

constexpr Function Named(std::u16string_view name, Compute compute) {
  return {name, Kind::Plain, compute};
}

// Grouped by name length and in the order tested; no name is the start of a longer one.
constexpr std::array kLength2 = {
    Function{u"PI", Kind::Pi, nullptr},
    Function{u"pi", Kind::Pi, nullptr},
    Named(u"LN", [](double x, Steps& s) { return s.Ln(x); }),
};

constexpr std::array kLength3 = {
    Function{u"DAY", Kind::Day, nullptr},
    Named(u"SIN", [](double x, Steps& s) { return s.Sin(Rad(x)); }),
    Named(u"COS", [](double x, Steps& s) { return s.Cos(Rad(x)); }),
    Named(u"TAN", [](double x, Steps& s) { return s.Tan(Rad(x)); }),
    Named(u"SEC", [](double x, Steps& s) { return 1 / s.Cos(Rad(x)); }),
    Named(u"LOG", [](double x, Steps& s) { return s.Ln(x) / s.Ln(10); }),
    Named(u"SQR", [](double x, Steps& s) { return s.Sqrt(x); }),
    Named(u"EXP", [](double x, Steps& s) { return s.Exp(x); }),
    Named(u"DEG", [](double x, Steps&) { return x * kD; }),
    Named(u"RAD", [](double x, Steps&) { return x / kD; }),
    Named(u"F-C", [](double x, Steps& s) { return s.Sub(s.Mul(s.Add(x, 40), 5) / 9, 40); }),
    Named(u"C-F",
          [](double x, Steps& s) { return s.Div(9, 5) * s.Add(s.Sub(x, s.Div(200, 9)), 40); }),
    Function{u"SUM", Kind::Sum, nullptr},
    Named(u"KLM", [](double x, Steps&) { return x * kMile; }),
    Named(u"MIL", [](double x, Steps&) { return x / kMile; }),
};

constexpr std::array kLength4 = {
    Named(u"CTAN", [](double x, Steps& s) { return 1 / s.Tan(Rad(x)); }),
    Named(u"CSEC", [](double x, Steps& s) { return 1 / s.Sin(Rad(x)); }),
    Named(u"ASIN", [](double x, Steps& s) { return s.Atan(s.Div(x, ArcRoot(x, s))) * kD; }),
    Named(u"ACOS",
          [](double x, Steps& s) {
            const double sum = s.Add(s.Atan(s.Div(-x, ArcRoot(x, s))), s.RightAngle());
            return s.Div(sum, kP) * 180;
          }),
    Named(u"ATAN", [](double x, Steps& s) { return s.Div(s.Atan(x), kP) * 180; }),
    Named(u"ASEC",
          [](double x, Steps& s) {
            const double y = 1 / x;
            return s.Add(s.Atan(s.Div(-y, ArcRoot(y, s))), s.RightAngle()) * kD;
          }),
    Named(u"HSIN",
          [](double x, Steps& s) {
            const double r = Rad(x);
            return s.Sub(s.Exp(r), s.Exp(-r)) / 2;
          }),
    Named(u"HCOS",
          [](double x, Steps& s) {
            const double r = Rad(x);
            return s.Add(s.Exp(r), s.Exp(-r)) / 2;
          }),
    Named(u"HTAN",
          [](double x, Steps& s) {
            const double r = Rad(x);
            const double difference = s.Sub(s.Exp(r), s.Exp(-r));
            return difference / s.Add(s.Exp(r), s.Exp(-r));
          }),
    Named(u"HSEC",
          [](double x, Steps& s) {
            const double r = Rad(x);
            return 2 / s.Add(s.Exp(r), s.Exp(-r));
          }),
    Named(u"SFUT", [](double x, Steps&) { return x * kFoot; }),
    Named(u"METR", [](double x, Steps&) { return x * kYard; }),
};

constexpr std::array kLength5 = {
    Named(u"ACTAN", [](double x, Steps& s) { return s.Add(s.Atan(-x), s.RightAngle()) * kD; }),
    Named(u"ACSEC",
          [](double x, Steps& s) {
            const double y = 1 / x;
            return s.Atan(s.Div(y, ArcRoot(y, s))) * kD;
          }),
    Named(u"HCTAN",
          [](double x, Steps& s) {
            const double r = Rad(x);
            const double sum = s.Add(s.Exp(r), s.Exp(-r));
            return sum / s.Sub(s.Exp(r), s.Exp(-r));
          }),
    Named(u"HCSEC",
          [](double x, Steps& s) {
            const double r = Rad(x);
            return 2 / s.Sub(s.Exp(r), s.Exp(-r));
          }),
    Named(u"AHSIN",
          [](double x, Steps& s) { return s.Ln(s.Add(x, s.Sqrt(s.Add(s.Mul(x, x), 1)))) * kD; }),
    Named(u"AHCOS",
          [](double x, Steps& s) { return s.Ln(s.Add(x, s.Sqrt(s.Sub(s.Mul(x, x), 1)))) * kD; }),
    Named(u"AHTAN",
          [](double x, Steps& s) { return s.Div(s.Ln(s.Div(s.Add(x, 1), s.Sub(1, x))), 2) * kD; }),
    Named(u"AHSEC",
          [](double x, Steps& s) { return s.Ln(s.Div(s.Add(ArcRoot(x, s), 1), x)) * kD; }),
    Named(u"SDUIM", [](double x, Steps&) { return x * kInch; }),
};

constexpr std::array kLength6 = {
    Named(u"AHCTAN",
          [](double x, Steps& s) {
            return s.Div(s.Div(s.Ln(s.Div(s.Add(x, 1), s.Sub(x, 1))), 2), kP) * 180;
          }),
    Named(u"AHCSEC",
          [](double x, Steps& s) {
            const double sign = x > 0 ? 1 : x < 0 ? -1 : 0;
            const double root = s.Sqrt(s.Add(s.Mul(x, x), 1));
            return s.Ln(s.Div(s.Add(s.Mul(sign, root), 1), x)) * kD;
          }),
};

// A name's characters as they lie in memory: the first four in `low`, the rest in `high`, one
// 16-bit code unit each, the first in the lowest bits. Reading a text's key is then two loads.
struct PackedName {
  std::uint64_t low = 0;
  std::uint32_t high = 0;
};

constexpr PackedName KeyOf(std::u16string_view name) {
  PackedName key;
  for (std::size_t i = 0; i < name.size(); ++i) {
    if (i < 4)
      key.low |= std::uint64_t{name[i]} << (16 * i);
    else
      key.high |= std::uint32_t{name[i]} << (16 * (i - 4));
  }
  return key;
}

constexpr std::size_t kLongestName = 6;
constexpr int kSlotBits = 5;

constexpr std::size_t SlotOf(std::uint64_t low, std::uint64_t multiplier) {
  return static_cast<std::size_t>((low * multiplier) >> (64 - kSlotBits));
}

// The names of one length in a table hashed on their first four characters without
// collisions, so that testing a text against the whole group is one multiplication and one
// comparison of each key half.
struct Group {
  std::size_t length;
  std::uint64_t lowMask;   // the key bits of the name's first four characters
  std::uint32_t highMask;  // and of the rest
  std::uint64_t multiplier;
  std::array<std::uint64_t, 1 << kSlotBits> lows;
  std::array<std::uint32_t, 1 << kSlotBits> highs;
  std::array<const Function*, 1 << kSlotBits> functions;  // null in an empty slot

  const Function* Find(PackedName key) const {
    const std::uint64_t low = key.low & lowMask;
    const std::size_t slot = SlotOf(low, multiplier);
    return lows[slot] == low && highs[slot] == (key.high & highMask) ? functions[slot] : nullptr;
  }
};

template <std::size_t N>
consteval Group GroupOf(std::size_t length, const std::array<Function, N>& names) {
  for (std::size_t i = 0; i < N; ++i)
    if (names[i].name.size() != length) throw "name in the wrong group";
  // Odd multipliers from a fixed sequence until one spreads the group's names over the slots.
  for (std::uint64_t i = 1;; ++i) {
    const std::uint64_t multiplier = (i * 0x9E3779B97F4A7C15 + 0xD1B54A32D192ED03) | 1;
    std::array<std::uint64_t, 1 << kSlotBits> lows{};
    std::array<std::uint32_t, 1 << kSlotBits> highs{};
    std::array<const Function*, 1 << kSlotBits> functions{};
    bool clash = false;
    for (std::size_t i = 0; i < N && !clash; ++i) {
      const PackedName key = KeyOf(names[i].name);
      const std::size_t slot = SlotOf(key.low, multiplier);
      clash = functions[slot] != nullptr;
      lows[slot] = key.low;
      highs[slot] = key.high;
      functions[slot] = &names[i];
    }
    if (clash) continue;
    const std::uint64_t lowMask =
        length >= 4 ? ~std::uint64_t{0} : (std::uint64_t{1} << (16 * length)) - 1;
    const auto highMask =
        static_cast<std::uint32_t>(length <= 4 ? 0 : (std::uint64_t{1} << (16 * (length - 4))) - 1);
    return {length, lowMask, highMask, multiplier, lows, highs, functions};
  }
}

constexpr std::array kGroups = {GroupOf(2, kLength2), GroupOf(3, kLength3), GroupOf(4, kLength4),
                                GroupOf(5, kLength5), GroupOf(6, kLength6)};

// For each ASCII character, the groups (bit g for kGroups[g]) that hold a name starting with it.
constexpr std::array<std::uint8_t, 128> kGroupsByFirst = [] {
  std::array<std::uint8_t, 128> table{};
  const auto add = [&table](std::size_t g, const auto& names) {
    for (const Function& f : names) table[f.name[0]] |= static_cast<std::uint8_t>(1u << g);
  };
  add(0, kLength2);
  add(1, kLength3);
  add(2, kLength4);
  add(3, kLength5);
  add(4, kLength6);
  return table;
}();

// The groups from `from` on that may hold a name starting with `token`.
unsigned GroupsFrom(char32_t token, unsigned from) {
  return token < 128 ? kGroupsByFirst[token] & (~0u << from) : 0;
}

// The key of the characters of `text` from `at`, as many as the longest name. Past the end of
// the text a character keys as U+FFFF, which no name holds, so that a name is found by
// comparing the key's low characters alone.
[[gnu::always_inline]] inline PackedName PackName(std::u16string_view text, std::size_t at) {
  static_assert(kLongestName == 6, "four code units and two are loaded");
  PackedName key;
  if (std::endian::native == std::endian::little && at + kLongestName <= text.size()) {
    std::memcpy(&key.low, text.data() + at, sizeof key.low);
    std::memcpy(&key.high, text.data() + at + 4, sizeof key.high);
    return key;
  }
  for (std::size_t i = 0; i < kLongestName; ++i) {
    const char16_t c = at + i < text.size() ? text[at + i] : u'\xFFFF';
    if (i < 4)
      key.low |= std::uint64_t{c} << (16 * i);
    else
      key.high |= std::uint32_t{c} << (16 * (i - 4));
  }
  return key;
}

}  // namespace

// function := name | name "(" ["+"] sum ")" | "DAY(" date text ")"
void Parser::CallFunction(double& slot) {
  // Each group is tried in turn at the current position, so a name right after another is
  // read too and its value replaces the first (PISIN(30) is 0.5). Of the groups after the
  // last one tried, only those with a name of the token's first letter can match.
  unsigned groups = GroupsFrom(m_state.Token, 0);
  if (groups == 0) return;
  PackedName key = PackName(m_state.FormulaText, static_cast<std::size_t>(m_state.TokenPos - 1));
  do {
    const auto g = static_cast<unsigned>(std::countr_zero(groups));
    groups &= groups - 1;
    const Group& group = kGroups[g];
    const Function* found = group.Find(key);
    if (!found) continue;
    m_state.TokenPos += static_cast<int>(group.length) - 1;
    NextToken();
    if (found->kind == Kind::Pi) {
      slot = kP;
    } else if (m_state.Token != u'(') {
      // a name alone reads as nothing
    } else if (found->kind == Kind::Day) {
      ReadDay(slot);
    } else {
      NextToken();
      if (m_state.Token == u'+') NextToken();
      const double x = ParseArgument();
      if (found->kind == Kind::Sum) {
        // A row number outside the store yields nothing, like a faulting function.
        if (const auto stored = StoredResult(x)) slot = *stored;
      } else {
        Steps steps;
        const double value = found->compute(x, steps);
        if (!steps.Failed()) slot = value;
      }
      CloseParen();
    }
    // The next groups are tried at the new position.
    groups = GroupsFrom(m_state.Token, g + 1);
    if (groups) key = PackName(m_state.FormulaText, static_cast<std::size_t>(m_state.TokenPos - 1));
  } while (groups != 0);
}

std::optional<double> Parser::StoredResult(double row) const {
  const auto slot = RoundToInt32(std::fabs(row) - 1);
  if (!slot || *slot < 0 || *slot >= kRecordCount || !m_rows) return std::nullopt;
  return m_rows->Result(*slot);
}

void Parser::ReadDay(double& slot) {
  const int start = m_state.TokenPos + 1;
  // At most ten characters other than blanks, then ")".
  for (int step = 0; step < 11; ++step) {
    NextToken();
    if (m_state.Token == u')') break;
  }
  if (m_state.Token != u')') {
    SyntaxError();
    return;
  }
  const auto text = m_state.FormulaText.substr(static_cast<std::size_t>(start - 1),
                                               static_cast<std::size_t>(m_state.TokenPos - start));
  const NormalizedDate normalized = NormalizeDate(text, m_dates);
  if (normalized.date)
    slot = DayNumber(*normalized.date);
  else
    SyntaxError();
  NextToken();
}
