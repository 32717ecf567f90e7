#include "resultformat.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <string>

QString FormatResult(double value, int digits, QChar decimalPoint) {
  if (std::isnan(value)) return QStringLiteral("не е число");
  if (std::isinf(value)) return value > 0 ? QStringLiteral("∞") : QStringLiteral("-∞");
  digits = std::clamp(digits, 0, 15);

  // The 15 significant digits of the magnitude and the count of its integer digits.
  std::string number = "0";
  int integerDigits = 1;
  const double magnitude = std::fabs(value);
  if (magnitude != 0) {
    char buffer[32];
    const auto end =
        std::to_chars(buffer, buffer + sizeof buffer, magnitude, std::chars_format::scientific, 14)
            .ptr;
    const std::string text(buffer, end);  // d.dddddddddddddde+XX
    const size_t e = text.find('e');
    number = text.substr(0, 1) + text.substr(2, e - 2);
    integerDigits = std::stoi(text.substr(e + 1)) + 1;
  }
  if (integerDigits <= 0) {
    number.insert(0, static_cast<size_t>(1 - integerDigits), '0');
    integerDigits = 1;
  }
  const size_t kept = static_cast<size_t>(integerDigits + digits);
  if (number.size() < kept + 1) number.append(kept + 1 - number.size(), '0');

  // Half away from zero: the magnitude rounds up when the first dropped digit is 5 or more.
  const bool roundUp = number[kept] >= '5';
  number.resize(kept);
  if (roundUp) {
    size_t i = kept;
    while (i > 0 && number[i - 1] == '9') number[--i] = '0';
    if (i == 0) {
      number.insert(0, 1, '1');
      ++integerDigits;
    } else {
      ++number[i - 1];
    }
  }
  size_t lead = 0;
  while (lead + 1 < static_cast<size_t>(integerDigits) && number[lead] == '0') ++lead;

  QString out;
  // A value that rounds to zero shows no sign.
  if (value < 0 && number.find_first_not_of('0') != std::string::npos) out += u'-';
  out += QString::fromLatin1(number.data() + lead, integerDigits - static_cast<int>(lead));
  if (digits > 0) {
    out += decimalPoint;
    out += QString::fromLatin1(number.data() + integerDigits, digits);
  }
  return out;
}

QString ShownResult(double value, int digits, QChar decimalPoint) {
  return value != 0 ? FormatResult(value, digits, decimalPoint) + u' ' : QString();
}
