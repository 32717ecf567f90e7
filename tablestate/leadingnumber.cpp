#include "leadingnumber.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>
#include <string>

namespace {

// Whether a number from_chars found out of range lies above it rather than below: the power
// of ten of its first significant digit decides, as no double lies anywhere near 10^0 there.
bool AboveRange(const std::string& number) {
  const size_t e = number.find('e');
  long exponent = 0;
  if (e != std::string::npos) {
    // Saturated: past a million places the answer no longer changes.
    constexpr long kFar = 1000000;
    const bool below = number[e + 1] == '-';
    const auto [end, error] = std::from_chars(number.data() + e + 1 + (number[e + 1] == '+'),
                                              number.data() + number.size(), exponent);
    (void)end;
    exponent = error == std::errc() ? std::clamp(exponent, -kFar, kFar) : below ? -kFar : kFar;
  }
  const std::string mantissa = number.substr(0, e);
  const size_t point = std::min(mantissa.find('.'), mantissa.size());
  const size_t first = mantissa.find_first_of("123456789");
  const long place = first < point ? long(point - first) - 1 : -long(first - point);
  return place + exponent >= 0;
}

}  // namespace

double LeadingNumber(QStringView text) {
  std::string number;
  bool digits = false;
  bool point = false;
  bool exponent = false;
  bool exponentDigits = false;
  for (const QChar c : text) {
    const char16_t u = c.unicode();
    if (u == u' ' || u == u'\t' || u == u'\n') continue;
    const char a = static_cast<char>(u);
    if (u >= u'0' && u <= u'9') {
      (exponent ? exponentDigits : digits) = true;
    } else if ((u == u'+' || u == u'-') &&
               (number.empty() || (exponent && !exponentDigits && (number.back() == 'e')))) {
      // a sign at the very start or right after the exponent letter
    } else if (u == u'.' && !point && !exponent) {
      point = true;
    } else if ((u == u'e' || u == u'E' || u == u'd' || u == u'D') && digits && !exponent) {
      exponent = true;
      number += 'e';
      continue;
    } else {
      break;
    }
    number += a;
  }
  if (!digits) return 0;
  // A dangling exponent ("12e", "12e+") is not part of the number.
  if (exponent && !exponentDigits) number.erase(number.find('e'));
  // from_chars ignores the C locale, which the application sets from the user's.
  const bool negative = number.front() == '-';
  const char* begin = number.data() + (number.front() == '+' || negative ? 1 : 0);
  double value = 0;
  const auto [end, error] = std::from_chars(begin, number.data() + number.size(), value);
  (void)end;
  if (error == std::errc::result_out_of_range)
    value = AboveRange(number) ? std::numeric_limits<double>::infinity() : 0;
  return negative ? -value : value;
}
