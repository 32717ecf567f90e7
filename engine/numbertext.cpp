#include "numbertext.h"

#include <charconv>
#include <cmath>
#include <string>
#include <system_error>

namespace {

// Powers of ten that a double holds exactly.
constexpr double kExactPowersOfTen[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                        1e8,  1e9,  1e10, 1e11, 1e12, 1e13, 1e14, 1e15,
                                        1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};
constexpr std::uint64_t kExactMantissaLimit = std::uint64_t{1} << 53;

bool IsGroupingSpace(char16_t c) {
  return c == u' ' || c == u'\u00A0';
}

double ConvertDigits(const char* first, const char* last) {
  double value = 0;
  const auto [end, error] = std::from_chars(first, last, value, std::chars_format::fixed);
  // Out of range (a number text of hundreds of digits) is refused like any other bad text.
  if (error != std::errc{} || end != last) return 0;
  return value;
}

// Long or very precise number texts: the general correctly rounded conversion.
double ReadSlowly(std::u16string_view text) {
  char small[320];
  std::string large;
  char* digits = small;
  if (text.size() + 2 > sizeof small) {
    large.resize(text.size() + 2);
    digits = large.data();
  }
  char* out = digits;
  *out++ = '0';  // so that a leading point still has a digit before it
  for (char16_t c : text)
    if (!IsGroupingSpace(c)) *out++ = static_cast<char>(c);
  if (out[-1] == '.') --out;
  return ConvertDigits(digits, out);
}

}  // namespace

double ReadNumberText(std::u16string_view text) {
  std::uint64_t mantissa = 0;
  int significant = 0;
  int decimals = 0;
  bool point = false;
  bool digit = false;
  for (char16_t c : text) {
    if (IsGroupingSpace(c)) continue;
    if (c == u'.') {
      if (point) return 0;
      point = true;
      continue;
    }
    if (c < u'0' || c > u'9') return 0;
    digit = true;
    if (point) ++decimals;
    if (mantissa == 0 && c == u'0') continue;  // leading zeros carry no precision
    if (++significant <= 19) mantissa = mantissa * 10 + static_cast<unsigned>(c - u'0');
  }
  if (!digit) return 0;
  // Both operands exact, so the one division is correctly rounded.
  if (significant <= 19 && mantissa <= kExactMantissaLimit && decimals <= 22)
    return static_cast<double>(mantissa) / kExactPowersOfTen[decimals];
  return ReadSlowly(text);
}

std::optional<std::int32_t> RoundToInt32(double value) {
  if (!(value > -2147483649.0 && value < 2147483648.0)) return std::nullopt;
  // Explicit half to even, independent of the floating-point rounding mode.
  double rounded = std::floor(value);
  const double fraction = value - rounded;  // exact for magnitudes below 2^52
  if (fraction > 0.5 || (fraction == 0.5 && std::fmod(rounded, 2.0) != 0)) rounded += 1;
  if (rounded < -2147483648.0 || rounded > 2147483647.0) return std::nullopt;
  return static_cast<std::int32_t>(rounded);
}
