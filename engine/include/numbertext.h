#pragma once

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

// Rounds half to even into a 32-bit signed integer; nothing when the value (or NaN) does not
// fit, so that callers can leave their operand standing instead of converting out of range.
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
