#include "rowediting.h"

#include <QLocale>
#include <cmath>

#include "tablestate.h"

namespace {

// After these characters a function name needs no "+" in front of it.
constexpr QStringView kNoPlusAfter = u"[(+-*/\\^&|><=~,";

}  // namespace

CaretInsertion InsertAtCaretText(const QString& boxText, int caret, const QString& text) {
  caret = std::clamp(caret, 0, static_cast<int>(boxText.size()));
  if (text.isEmpty()) return {boxText, 0, false};

  // The deciding character is read from the trimmed text, counted from 1, at the caret;
  // at the very start the first character decides.
  const int p = caret == 0 ? 1 : caret;
  const QString trimmed = TrimBlanks(boxText);
  const QChar c = p <= trimmed.size() ? trimmed[p - 1] : QChar();

  QString prefix;
  int advance = 0;
  if (TrimBlanks(text) == u"PI") {
    advance = static_cast<int>(text.size());
  } else if (c.isNull() || kNoPlusAfter.contains(c)) {
    advance = static_cast<int>(text.size()) - 1;
  } else {
    prefix = QStringLiteral("+");
    advance = static_cast<int>(text.size());
  }
  // The whole rest of the text stays: cutting it would silently lose part of a formula.
  return {boxText.left(caret) + prefix + text + boxText.mid(caret), caret + advance, true};
}

int ReadRoundingDigits(const QString& text) {
  QString s;
  for (QChar c : text)
    if (c != u' ' && c != u'\t' && c != u'\n') s += c;

  auto isDigit = [&](qsizetype i) { return i < s.size() && s[i] >= u'0' && s[i] <= u'9'; };
  qsizetype i = 0;
  if (i < s.size() && (s[i] == u'+' || s[i] == u'-')) ++i;
  const qsizetype mantissa = i;
  while (isDigit(i)) ++i;
  if (i < s.size() && s[i] == u'.') {
    ++i;
    while (isDigit(i)) ++i;
  }
  // A sign or point alone is no number.
  if (i - mantissa == 0 || (i - mantissa == 1 && s[mantissa] == u'.')) return 0;
  qsizetype end = i;
  if (i < s.size() && (s[i] == u'e' || s[i] == u'E' || s[i] == u'd' || s[i] == u'D')) {
    qsizetype j = i + 1;
    if (j < s.size() && (s[j] == u'+' || s[j] == u'-')) ++j;
    if (isDigit(j)) {
      while (isDigit(j)) ++j;
      end = j;
    }
  }
  QString number = s.left(end);
  for (QChar& c : number)
    if (c == u'd' || c == u'D') c = u'e';
  bool ok = false;
  const double value = std::fabs(QLocale::c().toDouble(number, &ok));
  // Out of the double's range: a huge number means 15, a tiny one 0.
  if (!ok)
    return number.contains(QLatin1String("e-")) || number.contains(QLatin1String("E-")) ? 0 : 15;
  return value >= 15 ? 15 : static_cast<int>(std::trunc(value));
}

int ErrorIndexInBox(const QString& boxText, int errorPos) {
  const QString stored = boxText.left(kFormulaWidth);
  int leading = 0;
  while (leading < stored.size() && stored[leading] == u' ') ++leading;
  const bool zeroInFront = TrimBlanks(stored).startsWith(u'.');
  const int inTrimmed = std::max(0, errorPos - 1 - (zeroInFront ? 1 : 0));
  return std::min(leading + inTrimmed, static_cast<int>(boxText.size()));
}

EnteredRow EnterFormula(TableState& state, int row, const QString& boxText,
                        mdlCalcFunction& evaluator) {
  // Everything after "=" is kept: cutting it would silently lose the end of a formula.
  EnteredRow entered{boxText.startsWith(u'=') ? boxText.mid(1) : boxText};
  RowRecord& record = state.rows[static_cast<size_t>(row)];
  record.SetFormula(entered.text);
  evaluator.SetRows(&state);
  const double value = evaluator.CalcFormula(ToU16(record.Trimmed()));
  entered.errorPos = evaluator.ErrorPos();
  if (!entered.Failed()) record.result = value;
  return entered;
}

QString WrapFormulaForMessage(const QString& formula, int lineLength) {
  constexpr QStringView kBreakAfter = u" +-*/\\^&|<>=~%,)]";
  lineLength = std::max(lineLength, 2);
  QString wrapped;
  QStringView rest(formula);
  while (rest.size() > lineLength) {
    qsizetype cut = lineLength;
    for (qsizetype i = lineLength; i > lineLength / 2; --i) {
      if (kBreakAfter.contains(rest[i - 1])) {
        cut = i;
        break;
      }
    }
    if (rest[cut - 1].isHighSurrogate()) --cut;
    wrapped += rest.left(cut);
    wrapped += u'\n';
    rest = rest.mid(cut);
  }
  wrapped += rest;
  return wrapped;
}

void DeleteRecord(TableState& state, int r) {
  if (r < 0 || r >= kVisibleRows) return;
  for (int k = r; k < kHiddenRecord; ++k) {
    state.rows[k].formula = state.rows[k + 1].formula;
    state.rows[k].result = state.rows[k + 1].result;
  }
  state.rows[kHiddenRecord].Empty();
}

void InsertRecord(TableState& state, int r) {
  if (r < 0 || r >= kVisibleRows) return;
  for (int k = kHiddenRecord; k > r; --k) {
    state.rows[k].formula = state.rows[k - 1].formula;
    state.rows[k].result = state.rows[k - 1].result;
  }
  state.rows[r].Empty();
}

void RecalculateAll(TableState& state, mdlCalcFunction& evaluator) {
  evaluator.SetRows(&state);
  for (int k = 0; k <= kHiddenRecord; ++k)
    state.rows[k].result = evaluator.CalcFormula(ToU16(state.rows[k].formula));
}
