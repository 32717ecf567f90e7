#include "numbertext.h"

#include <charconv>
#include <string>
#include <system_error>

namespace {

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
    if (!IsBlank(c)) *out++ = static_cast<char>(c);
  if (out[-1] == '.') --out;
  return ConvertDigits(digits, out);
}

}  // namespace

double ReadNumberText(std::u16string_view text) {
  const NumberRun run = ScanNumberRun(text, 0);
  if (run.end != text.size()) return 0;  // a character that no number holds
  return run.fast ? run.value : ReadSlowly(text);
}
