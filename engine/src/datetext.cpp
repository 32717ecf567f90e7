#include "datetext.h"

#include <algorithm>
#include <charconv>
#include <cmath>

#include "numbertext.h"

namespace {

constexpr std::u16string_view kOverflowText = u"Препълва                             ";
static_assert(kOverflowText.size() == 37);

bool IsDigit(char16_t c) {
  return c >= u'0' && c <= u'9';
}

// Whether the text starts (after blanks and a sign) with a number other than 0.
bool StartsWithNonZeroNumber(std::u16string_view text) {
  std::size_t i = 0;
  while (i < text.size() && text[i] == u' ') ++i;
  if (i < text.size() && (text[i] == u'+' || text[i] == u'-')) ++i;
  bool point = false;
  for (; i < text.size(); ++i) {
    if (text[i] == u'.' && !point) {
      point = true;
    } else if (IsDigit(text[i])) {
      if (text[i] != u'0') return true;
    } else {
      break;
    }
  }
  return false;
}

// Integer part of the number at the start of text (optional minus, then digits).
double LeadingWholeNumber(std::u16string_view text) {
  std::size_t i = 0;
  const bool negative = !text.empty() && text[0] == u'-';
  if (negative) ++i;
  double value = 0;
  for (; i < text.size() && IsDigit(text[i]); ++i) value = value * 10 + (text[i] - u'0');
  return negative ? -value : value;
}

}  // namespace

NormalizedDate NormalizeDate(std::u16string_view text, DateSettings settings) {
  NormalizedDate result;
  if (!StartsWithNonZeroNumber(text)) {
    result.text = ShortText(u"          ");
    return result;
  }
  const char16_t separator = settings.separator;
  const std::u16string_view trimmed = TrimBlanks(text).substr(0, 10);
  ShortText work;
  int separators = 0;
  for (char16_t c : trimmed) {
    const char16_t kept = IsDigit(c) ? c : separator;
    separators += kept == separator;
    work.Append(kept);
  }
  if (separators < 2) return result;
  std::u16string_view normalized = work.View();
  while (!normalized.empty() && normalized.back() == separator) normalized.remove_suffix(1);

  result.text = ShortText(normalized);
  result.date = ReadDate(normalized, settings);
  if (!result.date) return result;

  // Day first whatever the user's order; DAY uses the date read above, never this text, so a
  // month-first locale does not swap day and month on the way back.
  ShortText out;
  out.Append(PadNumber(static_cast<unsigned>(result.date->day()), 2, 0).View());
  out.Append(separator);
  out.Append(PadNumber(static_cast<unsigned>(result.date->month()), 2, 0).View());
  out.Append(separator);
  out.Append(PadNumber(static_cast<int>(result.date->year()), 4, 0).View());
  result.text = out;
  return result;
}

ShortText PadNumber(double value, int width, int decimals) {
  width = std::clamp(width, 0, ShortText::kCapacity);
  decimals = std::clamp(decimals, 0, 20);
  ShortText result;
  if (value == 0) {
    for (int i = 0; i < width; ++i) result.Append(u'0');
    return result;
  }
  if (!std::isfinite(value)) return ShortText(kOverflowText.substr(0, width));

  // Twenty zeros, then the value; the last width characters are kept.
  char padded[20 + 400];
  std::fill_n(padded, 20, '0');
  const auto [end, error] =
      std::to_chars(padded + 20, padded + sizeof padded, value, std::chars_format::fixed, decimals);
  if (error != std::errc{}) return ShortText(kOverflowText.substr(0, width));
  const auto length = static_cast<int>(end - padded);
  for (const char* p = end - std::min(width, length); p != end; ++p)
    result.Append(static_cast<char16_t>(*p));

  // The width cut off leading digits.
  if (LeadingWholeNumber(result.View()) < std::trunc(value))
    return ShortText(kOverflowText.substr(0, width));
  return result;
}

std::optional<std::chrono::year_month_day> ReadDate(std::u16string_view text,
                                                    DateSettings settings) {
  int parts[3] = {};
  int digits[3] = {};
  int count = 0;
  std::size_t i = 0;
  if (text.empty() || !IsDigit(text[0])) return std::nullopt;
  while (i < text.size()) {
    if (count == 3) return std::nullopt;
    int value = 0;
    int length = 0;
    for (; i < text.size() && IsDigit(text[i]); ++i, ++length) {
      if (length == 4) return std::nullopt;
      value = value * 10 + (text[i] - u'0');
    }
    parts[count] = value;
    digits[count] = length;
    ++count;
    bool split = false;
    for (; i < text.size() && text[i] == settings.separator; ++i) split = true;
    if (i < text.size() && !split) return std::nullopt;  // a character that is not a separator
  }
  if (count != 3) return std::nullopt;

  int day = 0, month = 0, year = 0, yearDigits = 0;
  switch (settings.order) {
    case DateOrder::DayMonthYear:
      day = parts[0], month = parts[1], year = parts[2], yearDigits = digits[2];
      break;
    case DateOrder::MonthDayYear:
      month = parts[0], day = parts[1], year = parts[2], yearDigits = digits[2];
      break;
    case DateOrder::YearMonthDay:
      year = parts[0], month = parts[1], day = parts[2], yearDigits = digits[0];
      break;
  }
  if (yearDigits <= 2) year += year < 30 ? 2000 : 1900;
  if (year < 100 || year > 9999 || month < 1 || month > 12 || day < 1 || day > 31)
    return std::nullopt;
  const std::chrono::year_month_day date{std::chrono::year{year},
                                         std::chrono::month{static_cast<unsigned>(month)},
                                         std::chrono::day{static_cast<unsigned>(day)}};
  if (!date.ok()) return std::nullopt;
  return date;
}

int DayNumber(std::chrono::year_month_day date) {
  using namespace std::chrono;
  constexpr sys_days kDayZero = year{1899} / December / 30;
  return static_cast<int>((sys_days{date} - kDayZero).count());
}
