#pragma once

// The number reader of the scanner; only the engine's own files include this.

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "numbertext.h"

// The number that starts at text[begin]: digits and points, with blanks anywhere between
// them as the scanner skips them (digit grouping: "1 000 000" is a million). `end` is where the
// run stops. Two points, no digit, or a value beyond the range of a double read as 0; otherwise
// the value is the correctly rounded double, whatever the locale.
struct NumberRun {
  std::size_t end = 0;
  double value = 0;
};

// The run's text as std::from_chars reads it: correctly rounded, any length.
double ReadSlowly(std::u16string_view run);

inline constexpr double kPowersOfTen[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                          1e8,  1e9,  1e10, 1e11, 1e12, 1e13, 1e14, 1e15,
                                          1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};

// The one number reader. While the digits fit a double's 53 bits and there are at most 22
// decimals, digits / 10^decimals is one correctly rounded division of two exact doubles, so it
// is the value std::from_chars gives, without copying the text; longer numbers go to it.
inline NumberRun ReadNumber(std::u16string_view text, std::size_t begin) {
  std::uint64_t mantissa = 0;  // wraps past 19 digits, and is then not used
  int digits = 0;
  int decimals = 0;
  int points = 0;
  std::size_t i = begin;
  for (; i < text.size(); ++i) {
    const unsigned digit = static_cast<unsigned>(text[i]) - u'0';
    if (digit <= 9) {
      mantissa = mantissa * 10 + digit;
      ++digits;
      decimals += points;
    } else if (text[i] == u'.') {
      ++points;
    } else if (!IsBlank(text[i])) {
      break;
    }
  }
  if (points > 1 || digits == 0) return {i, 0};
  if (digits > 19 || mantissa > (std::uint64_t{1} << 53) || decimals > 22)
    return {i, ReadSlowly(text.substr(begin, i - begin))};
  return {i, static_cast<double>(mantissa) / kPowersOfTen[decimals]};
}
