#include <charconv>
#include <string>
#include <system_error>

#include "numberscan.h"
#include "numbertext.h"

double ReadSlowly(std::u16string_view run) {
  char small[320];
  std::string large;
  char* digits = small;
  if (run.size() + 2 > sizeof small) {
    large.resize(run.size() + 2);
    digits = large.data();
  }
  char* out = digits;
  *out++ = '0';  // so that a leading point still has a digit before it
  for (const char16_t c : run)
    if (!IsBlank(c)) *out++ = static_cast<char>(c);
  if (out[-1] == '.') --out;  // "5." is 5
  double value = 0;
  const auto [end, error] = std::from_chars(digits, out, value, std::chars_format::fixed);
  // Out of range (hundreds of digits) is refused like any other bad text.
  return error == std::errc{} && end == out ? value : 0;
}
