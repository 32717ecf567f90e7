#include <algorithm>

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
  const std::size_t apostrophe = formula.find(u'\'');
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

  const std::size_t length = body.size() + (pointFirst ? 1 : 0) + 1;
  char16_t* text = m_inline;
  if (length > kInlineLength) {
    m_long.resize(length);
    text = m_long.data();
  }
  char16_t* out = text;
  if (pointFirst) *out++ = u'0';
  out = std::copy(body.begin(), body.end(), out);
  *out = u'\r';
  if (equalsFirst) text[0] = u' ';
  m_state.FormulaText = std::u16string_view(text, length);

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
  m_state.TokenPos = std::max(m_state.TokenPos, static_cast<int>(m_state.FormulaText.size()));
  m_state.Token = kEndToken;
}
