#pragma once

#include <array>
#include <chrono>
#include <optional>
#include <string_view>

#include "calcformula.h"

// A short text held in place, so that DAY never touches the heap.
class ShortText {
 public:
  static constexpr int kCapacity = 40;

  ShortText() = default;
  // Keeps at most kCapacity code units of text.
  explicit ShortText(std::u16string_view text) { Append(text); }

  std::u16string_view View() const { return {m_chars.data(), static_cast<std::size_t>(m_size)}; }
  void Append(char16_t c) {
    if (m_size < kCapacity) m_chars[m_size++] = c;
  }
  void Append(std::u16string_view text) {
    for (char16_t c : text) Append(c);
  }

 private:
  std::array<char16_t, kCapacity> m_chars{};
  int m_size = 0;
};

// The outcome of NormalizeDate: its text, and the date it read (in the user's order) when the
// text named a real day.
struct NormalizedDate {
  ShortText text;
  std::optional<std::chrono::year_month_day> date;
};

// Turns what the user wrote between DAY's brackets into day, month and year (two, two and four
// digits) joined by the user's separator: 1/2/2003 becomes 01.02.2003 in a day-first locale.
// Returns ten spaces when the text does not start with a non-zero number, an empty text when it
// holds fewer than two separators, and the partly normalised text when it is not a date.
NormalizedDate NormalizeDate(std::u16string_view text, DateSettings settings);

// Writes value with width characters (at most ShortText::kCapacity), zero-padded on the left,
// with decimals digits after a point (0 to 20). A value too wide for width gives the first
// width characters of "Препълва" followed by spaces.
ShortText PadNumber(double value, int width, int decimals);

// Reads three numbers split by the separator (runs of it count once) in the user's order.
// One- and two-digit years are 1930 to 2029; the date must be a real day in years 100 to 9999.
std::optional<std::chrono::year_month_day> ReadDate(std::u16string_view text,
                                                    DateSettings settings);

// Days since 30 December 1899 (day 0).
int DayNumber(std::chrono::year_month_day date);
