#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>

// The characters the scanner skips between tokens and inside numbers: the blank and the
// no-break space.
constexpr bool IsBlank(char16_t c) {
  return c == u' ' || c == u'\u00A0';
}

// Blanks (U+0020 only) removed at the start, at the end, or at both ends: stored formula
// texts are padded with them.
constexpr std::u16string_view TrimLeftBlanks(std::u16string_view text) {
  while (!text.empty() && text.front() == u' ') text.remove_prefix(1);
  return text;
}
constexpr std::u16string_view TrimRightBlanks(std::u16string_view text) {
  while (!text.empty() && text.back() == u' ') text.remove_suffix(1);
  return text;
}
constexpr std::u16string_view TrimBlanks(std::u16string_view text) {
  return TrimRightBlanks(TrimLeftBlanks(text));
}

// Reads a number as the scanner collected it: digits with at most one decimal point, with
// spaces and no-break spaces anywhere between them (digit grouping: "1 000 000" is a million).
// Any other text, or a value beyond the range of a double, reads as 0. The result is always
// the correctly rounded double, whatever the locale.
double ReadNumberText(std::u16string_view text);

// Rounds half to even into a 32-bit signed integer; nothing when the value (or NaN) does not
// fit, so that callers can leave their operand standing instead of converting out of range.
// Inline: returned through memory, the optional stalls on store forwarding.
inline std::optional<std::int32_t> RoundToInt32(double value) {
  if (!(value > -2147483649.0 && value < 2147483648.0)) return std::nullopt;
  // Explicit half to even, independent of the floating-point rounding mode. In this range
  // the conversions are exact and defined.
  auto floor = static_cast<std::int64_t>(value);  // toward zero
  if (static_cast<double>(floor) > value) --floor;
  const double fraction = value - static_cast<double>(floor);
  if (fraction > 0.5 || (fraction == 0.5 && (floor & 1))) ++floor;
  if (floor < INT32_MIN || floor > INT32_MAX) return std::nullopt;
  return static_cast<std::int32_t>(floor);
}

// One pass over a number run starting at text[begin]: where it ends, and its value when the
// exact fast path applies (up to 2^53 as integer mantissa and up to 22 decimals: one correctly
// rounded division). Otherwise fast is false and ReadNumberText gives the value.
struct NumberRun {
  std::size_t end = 0;
  double value = 0;
  bool fast = true;
};

inline constexpr double kExactPowersOfTen[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                               1e8,  1e9,  1e10, 1e11, 1e12, 1e13, 1e14, 1e15,
                                               1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};

// The commonest number: digits with at most one point, at most fifteen characters (so that the
// mantissa stays below 2^53 and one division rounds correctly). `end` is where the characters
// read stop; it stays at `begin` when there is no digit.
struct PlainNumber {
  std::size_t end = 0;
  double value = 0;
};

inline PlainNumber ReadPlainNumber(std::u16string_view text, std::size_t begin) {
  const std::size_t limit = std::min(text.size(), begin + 15);
  std::size_t i = begin;
  std::uint64_t mantissa = 0;
  unsigned d;
  for (; i < limit && (d = static_cast<unsigned>(text[i]) - u'0') <= 9; ++i)
    mantissa = mantissa * 10 + d;
  std::size_t decimals = 0;
  if (i < limit && text[i] == u'.') {
    const std::size_t point = i;
    for (++i; i < limit && (d = static_cast<unsigned>(text[i]) - u'0') <= 9; ++i)
      mantissa = mantissa * 10 + d;
    decimals = i - point - 1;
    if (decimals == 0 && point == begin) return {begin, 0};  // a point alone
  }
  const double whole = static_cast<double>(mantissa);
  return {i, decimals == 0 ? whole : whole / kExactPowersOfTen[decimals]};
}

inline NumberRun ScanNumberRun(std::u16string_view text, std::size_t begin) {
  const auto digitAt = [&](std::size_t i) { return static_cast<unsigned>(text[i]) - u'0'; };
  const auto blankAt = [&](std::size_t i) { return IsBlank(text[i]); };
  const std::size_t size = text.size();
  // Most numbers are plain and followed by an operator or the end.
  if (const PlainNumber plain = ReadPlainNumber(text, begin);
      plain.end != begin && (plain.end == size || (digitAt(plain.end) > 9 &&
                                                   text[plain.end] != u'.' && !blankAt(plain.end))))
    return {plain.end, plain.value, true};
  std::size_t i = begin;
  bool digit = false;
  // Leading zeros carry no precision.
  for (; i < size && (text[i] == u'0' || blankAt(i)); ++i) digit |= text[i] == u'0';
  std::uint64_t mantissa = 0;
  int significant = 0;  // past 19 the mantissa wraps, and the fast path is left below
  for (; i < size; ++i) {
    const unsigned d = digitAt(i);
    if (d <= 9) {
      mantissa = mantissa * 10 + d;
      ++significant;
    } else if (!blankAt(i)) {
      break;
    }
  }
  int decimals = 0;
  bool second_point = false;
  if (i < size && text[i] == u'.') {
    for (++i; i < size; ++i) {
      const unsigned d = digitAt(i);
      if (d <= 9) {
        ++decimals;
        if (significant != 0 || d != 0) {
          mantissa = mantissa * 10 + d;
          ++significant;
        }
      } else if (text[i] == u'.') {
        second_point = true;
      } else if (!blankAt(i)) {
        break;
      }
    }
  }
  NumberRun run;
  run.end = i;
  if (second_point || (!digit && significant == 0 && decimals == 0)) return run;  // reads as 0
  if (significant > 19 || mantissa > (std::uint64_t{1} << 53) || decimals > 22) {
    run.fast = false;
    return run;
  }
  const double whole = static_cast<double>(mantissa);
  run.value = decimals == 0 ? whole : whole / kExactPowersOfTen[decimals];
  return run;
}
