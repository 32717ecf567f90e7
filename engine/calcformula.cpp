#include <algorithm>
#include <bit>
#include <cstring>

#include "calcformula.h"

namespace {

std::u16string_view TrimLeft(std::u16string_view text) {
  while (!text.empty() && text.front() == u' ') text.remove_prefix(1);
  return text;
}

std::u16string_view TrimRight(std::u16string_view text) {
  while (!text.empty() && text.back() == u' ') text.remove_suffix(1);
  return text;
}

// The first apostrophe; memchr's vectorised byte search does the walking on little-endian
// machines, where the code unit 0x0027 is the byte pair 27 00.
std::size_t FindApostrophe(std::u16string_view text) {
  if (text.size() < 32) {
    for (std::size_t i = 0; i < text.size(); ++i)
      if (text[i] == u'\'') return i;
    return std::u16string_view::npos;
  }
  if constexpr (std::endian::native == std::endian::little) {
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
  } else {
    return text.find(u'\'');
  }
}

}  // namespace

mdlCalcFunction::mdlCalcFunction(DateSettings dates, const RowResults* rows)
    : m_dates(dates), m_rows(rows) {}

double mdlCalcFunction::CalcFormula(std::u16string_view formula) {
  m_state = ParserState{};
  m_depth = 0;
  m_aborted = false;
  if (formula.size() > kMaxFormulaLength) {
    m_state.ErrorPos = 1;
    return 0;
  }

  // A comment starts at the first apostrophe, unless that apostrophe opens the text: then
  // it is part of the formula (and an error there).
  std::u16string_view body;
  const std::size_t apostrophe = FindApostrophe(formula);
  if (apostrophe != std::u16string_view::npos && apostrophe >= 1)
    body = TrimRight(formula.substr(0, apostrophe));
  else
    body = TrimRight(TrimLeft(formula));
  if (body.empty()) return 0;

  // A leading "=" becomes a blank so that positions stay those of the typed text.
  const bool equalsFirst = body.front() == u'=';
  if (equalsFirst && TrimLeft(body.substr(1)).empty()) return 0;
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
    m_state.FormulaText = std::u16string_view(text, length);
  } else {
    m_state.FormulaText = body;  // nothing to change: no copy
  }

  NextToken();
  const double value = ParseSum();
  if (m_state.Token != kEndToken) SyntaxError();
  return value;
}

void mdlCalcFunction::SyntaxError() {
  // After too deep a nesting the position of that failure is kept.
  if (!m_aborted) m_state.ErrorPos = m_state.TokenPos;
}

void mdlCalcFunction::AbortTooDeep() {
  SyntaxError();
  m_aborted = true;
  // Every rule stops at the end token, so the parse unwinds without reading further.
  m_state.TokenPos = std::max(m_state.TokenPos, static_cast<int>(m_state.FormulaText.size()) + 1);
  m_state.Token = kEndToken;
}
