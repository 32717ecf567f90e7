#include "formulaerror.h"

#include <algorithm>

#include "numbertext.h"
#include "parser.h"

namespace {

bool IsDigit(char16_t c) {
  return c >= u'0' && c <= u'9';
}

bool IsLetter(char16_t c) {
  return (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z') || (c >= u'\u0400' && c <= u'\u04FF');
}

// A letter, or a "-" between letters (F-C).
bool InName(std::u16string_view text, std::size_t i) {
  if (IsLetter(text[i])) return true;
  return text[i] == u'-' && i > 0 && i + 1 < text.size() && IsLetter(text[i - 1]) &&
         IsLetter(text[i + 1]);
}

// A comma between digits that is no separator of a conditional bracket: the innermost open
// bracket is a parenthesis, or there is none. DAY's date text is skipped.
bool HasDecimalComma(std::u16string_view text) {
  std::u16string open;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char16_t c = text[i];
    if (text.substr(i).starts_with(u"DAY(")) {
      i = text.find(u')', i);
      if (i == std::u16string_view::npos) return false;
    } else if (c == u'(' || c == u'[') {
      open += c;
    } else if ((c == u')' || c == u']') && !open.empty()) {
      open.pop_back();
    } else if (c == u',' && (open.empty() || open.back() == u'(') && i > 0 && i + 1 < text.size() &&
               IsDigit(text[i - 1]) && IsDigit(text[i + 1])) {
      return true;
    }
  }
  return false;
}

}  // namespace

FormulaErrorCause FindErrorCause(std::u16string_view formula, DateSettings dates) {
  mdlCalcFunction calc(dates);
  calc.CalcFormula(formula);
  if (calc.ErrorPos() < 1) return {};
  const std::u16string_view text = calc.PreparedText();
  const auto at = static_cast<std::size_t>(calc.ErrorPos() - 1);

  // The whole word around the error, so that SINX names SINX and not X.
  if (at < text.size() && InName(text, at)) {
    std::size_t begin = at, end = at + 1;
    while (begin > 0 && InName(text, begin - 1)) --begin;
    while (end < text.size() && InName(text, end)) ++end;
    FormulaErrorCause cause{
        FormulaFault::FunctionName, std::u16string(text.substr(begin, end - begin)), {}};
    std::u16string upper = cause.name;
    for (char16_t& c : upper)
      if (c >= u'a' && c <= u'z') c = static_cast<char16_t>(c - u'a' + u'A');
    if (IsFunctionName(upper)) cause.knownName = upper;
    // A word that is neither written like a call nor a name in other letters is no function.
    while (end < text.size() && IsBlank(text[end])) ++end;
    if (!cause.knownName.empty() || (end < text.size() && text[end] == u'(')) return cause;
  }
  if (HasDecimalComma(text)) return {FormulaFault::DecimalComma, {}, {}};
  if (at >= text.size() &&
      std::count(text.begin(), text.end(), u'(') > std::count(text.begin(), text.end(), u')'))
    return {FormulaFault::MissingParen, {}, {}};
  return {};
}
