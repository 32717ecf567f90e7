#include "resultformat.h"

#include <QStringList>
#include <algorithm>
#include <charconv>
#include <cmath>
#include <string>

namespace {

// The 15 significant digits of a finite magnitude and its decimal exponent (d.ddd × 10^exp).
struct Decimal15 {
  std::string digits = "000000000000000";
  int exponent = 0;
};

Decimal15 ToDecimal15(double magnitude) {
  Decimal15 out;
  if (magnitude == 0) return out;
  char buffer[32];
  const auto end =
      std::to_chars(buffer, buffer + sizeof buffer, magnitude, std::chars_format::scientific, 14)
          .ptr;
  const std::string text(buffer, end);  // d.dddddddddddddde+XX
  const size_t e = text.find('e');
  out.digits = text.substr(0, 1) + text.substr(2, e - 2);
  out.exponent = std::stoi(text.substr(e + 1));
  return out;
}

// Keeps the first `kept` digits, rounding half away from zero on the next one; true when
// the rounding carried into a new leading digit (999 -> 1000).
bool RoundTo(std::string& number, size_t kept) {
  if (number.size() < kept + 1) number.append(kept + 1 - number.size(), '0');
  const bool roundUp = number[kept] >= '5';
  number.resize(kept);
  if (!roundUp) return false;
  size_t i = kept;
  while (i > 0 && number[i - 1] == '9') number[--i] = '0';
  if (i > 0) {
    ++number[i - 1];
    return false;
  }
  number.insert(0, 1, '1');
  return true;
}

QString NotFinite(double value) {
  if (std::isnan(value)) return QStringLiteral("не е число");
  return value > 0 ? QStringLiteral("∞") : QStringLiteral("-∞");
}

}  // namespace

QString FormatResult(double value, int digits, QChar decimalPoint) {
  if (!std::isfinite(value)) return NotFinite(value);
  digits = std::clamp(digits, 0, 15);

  const Decimal15 decimal = ToDecimal15(std::fabs(value));
  std::string number = decimal.digits;
  int integerDigits = value == 0 ? 1 : decimal.exponent + 1;
  if (integerDigits <= 0) {
    number.insert(0, static_cast<size_t>(1 - integerDigits), '0');
    integerDigits = 1;
  }
  if (RoundTo(number, static_cast<size_t>(integerDigits + digits))) ++integerDigits;
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

QString FormatResultExponent(double value, int decimals, QChar decimalPoint) {
  if (!std::isfinite(value)) return NotFinite(value);
  decimals = std::clamp(decimals, 0, 14);
  const Decimal15 decimal = ToDecimal15(std::fabs(value));
  std::string number = decimal.digits;
  int exponent = decimal.exponent;
  if (RoundTo(number, static_cast<size_t>(decimals + 1))) {
    number.pop_back();
    ++exponent;
  }
  QString out;
  if (value < 0) out += u'-';
  out += QLatin1Char(number[0]);
  if (decimals > 0) {
    out += decimalPoint;
    out += QString::fromLatin1(number.data() + 1, decimals);
  }
  out += exponent < 0 ? QStringLiteral("E-") : QStringLiteral("E+");
  out += QString::number(std::abs(exponent)).rightJustified(2, u'0');
  return out;
}

FittedResult FitResult(double value, int digits, QChar decimalPoint, const ResultRoom& room) {
  FittedResult result;
  if (room.blankZero && value == 0) return result;
  digits = std::clamp(digits, 0, 15);
  result.full = FormatResult(value, digits, decimalPoint);
  result.text = result.full;
  if (!room.fits || room.fits(result.full) || !std::isfinite(value)) return result;
  result.shortened = true;
  if (room.cutsDecimals) {
    // Characters come off the end, never off the whole part.
    const qsizetype point = digits > 0 ? result.full.indexOf(decimalPoint) : result.full.size();
    for (qsizetype kept = result.full.size() - 1; kept >= point; --kept) {
      result.text = result.full.left(kept);
      if (room.fits(result.text)) return result;
    }
  } else {
    for (int fewer = digits - 1; fewer >= 0; --fewer) {
      result.text = FormatResult(value, fewer, decimalPoint);
      if (room.fits(result.text)) return result;
    }
  }
  for (int decimals = std::min(digits, 14); decimals >= 0; --decimals) {
    result.text = FormatResultExponent(value, decimals, decimalPoint);
    if (room.fits(result.text)) return result;
  }
  return result;  // the shortest true form, even if the place clips it
}

QString ResultToolTip(const QString& fullTextIfShortened, const QStringList& moreLines) {
  QStringList lines;
  if (!fullTextIfShortened.isEmpty()) lines.append(fullTextIfShortened);
  lines.append(moreLines);
  return lines.join(u'\n');
}
