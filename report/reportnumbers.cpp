#include "reportnumbers.h"

#include <charconv>
#include <cmath>
#include <string>

#include "numbertext.h"

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
  double value = 0;
  const char* begin = number.data() + (number.front() == '+' ? 1 : 0);
  const auto [end, error] = std::from_chars(begin, number.data() + number.size(), value);
  (void)end;
  return error == std::errc() && std::isfinite(value) ? value : 0;
}

std::optional<int> RoundToShort(double value) {
  const auto rounded = RoundToInt32(value);
  if (!rounded || *rounded < -32768 || *rounded > 32767) return std::nullopt;
  return *rounded;
}
