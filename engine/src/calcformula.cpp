#include <algorithm>

#include "calcformula.h"
#include "numbertext.h"
#include "parser.h"

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
  const std::size_t apostrophe = formula.find(u'\'');
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
