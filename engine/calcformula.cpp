#include <algorithm>
#include <bit>
#include <cstdint>
#include <cstring>
#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "calcformula.h"
#include "numbertext.h"
#include "parser.h"

namespace {

// The first apostrophe. Short texts are read four code units at a time: a lane of the
// 64-bit word that equals the apostrophe becomes zero, and the lowest zero lane (the first
// character on little-endian machines) is exact. Long ones leave the walking to memchr's
// vectorised byte search, where the code unit 0x0027 is the byte pair 27 00.
std::size_t FindApostrophe(std::u16string_view text) {
  if constexpr (std::endian::native != std::endian::little) {
    return text.find(u'\'');
#if defined(__SSE2__)
  } else if (text.size() < 32) {
    // Eight code units per compare.
    const __m128i apostrophes = _mm_set1_epi16(u'\'');
    std::size_t i = 0;
    for (; i + 8 <= text.size(); i += 8) {
      const __m128i units = _mm_loadu_si128(reinterpret_cast<const __m128i*>(text.data() + i));
      if (const int hits = _mm_movemask_epi8(_mm_cmpeq_epi16(units, apostrophes)))
        return i + static_cast<std::size_t>(std::countr_zero(static_cast<unsigned>(hits))) / 2;
    }
    for (; i < text.size(); ++i)
      if (text[i] == u'\'') return i;
    return std::u16string_view::npos;
#endif
  } else if (text.size() < 32) {
    constexpr std::uint64_t kOnes = 0x0001000100010001;
    constexpr std::uint64_t kHighs = 0x8000800080008000;
    constexpr std::uint64_t kApostrophes = 0x0027002700270027;
    std::size_t i = 0;
    for (; i + 4 <= text.size(); i += 4) {
      std::uint64_t word;
      std::memcpy(&word, text.data() + i, sizeof word);
      word ^= kApostrophes;
      if (const std::uint64_t zero = (word - kOnes) & ~word & kHighs)
        return i + static_cast<std::size_t>(std::countr_zero(zero)) / 16;
    }
    for (; i < text.size(); ++i)
      if (text[i] == u'\'') return i;
    return std::u16string_view::npos;
  } else {
    const auto* bytes = reinterpret_cast<const unsigned char*>(text.data());
    const std::size_t size = text.size() * 2;
    std::size_t from = 0;
    while (from < size) {
      const void* hit = std::memchr(bytes + from, '\'', size - from);
      if (!hit) return std::u16string_view::npos;
      const auto at = static_cast<std::size_t>(static_cast<const unsigned char*>(hit) - bytes);
      if (at % 2 == 0 && bytes[at + 1] == 0) return at / 2;
      from = at + 1;
    }
    return std::u16string_view::npos;
  }
}

}  // namespace

mdlCalcFunction::mdlCalcFunction(DateSettings dates, const RowResults* rows)
    : m_dates(dates), m_rows(rows) {}

double mdlCalcFunction::CalcFormula(std::u16string_view formula) {
  m_errorPos = 0;
  m_prepared = {};
  if (formula.size() > kMaxFormulaLength) {
    m_errorPos = 1;
    return 0;
  }

  // A comment starts at the first apostrophe, unless that apostrophe opens the text: then
  // it is part of the formula (and an error there).
  std::u16string_view body;
  const std::size_t apostrophe = FindApostrophe(formula);
  if (apostrophe != std::u16string_view::npos && apostrophe >= 1)
    body = TrimRightBlanks(formula.substr(0, apostrophe));
  else
    body = TrimBlanks(formula);
  if (body.empty()) return 0;

  // A leading "=" becomes a blank so that positions stay those of the typed text.
  const bool equalsFirst = body.front() == u'=';
  if (equalsFirst && TrimLeftBlanks(body.substr(1)).empty()) return 0;
  // A leading point reads as "0.", and every position after it moves up by one.
  const bool pointFirst = body.front() == u'.';

  if (equalsFirst || pointFirst) {
    const std::size_t length = body.size() + (pointFirst ? 1 : 0);
    char16_t* text = m_inline;
    if (length > kInlineLength) {
      m_long.resize(length);
      text = m_long.data();
    }
    char16_t* out = text;
    if (pointFirst) *out++ = u'0';
    std::copy(body.begin(), body.end(), out);
    if (equalsFirst) text[0] = u' ';
    m_prepared = std::u16string_view(text, length);
  } else {
    m_prepared = body;  // nothing to change: no copy
  }

  Parser parser(m_prepared, m_dates, m_rows);
  const double value = parser.Run();
  m_errorPos = parser.ErrorPos();
  return value;
}
