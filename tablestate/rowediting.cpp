#include "rowediting.h"

#include <cmath>

#include "formulaerror.h"
#include "formulaline.h"
#include "leadingnumber.h"
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
  // The whole rest of the text stays: cutting it would silently lose part of a formula. The
  // box gets what its row will store, one line.
  const QString line = FormulaLine(boxText.left(caret) + prefix + text + boxText.mid(caret));
  return {line, std::min(caret + advance, static_cast<int>(line.size())), true};
}

int ReadRoundingDigits(const QString& text) {
  // Beyond a double's range a huge number still means 15, a tiny one 0.
  const double value = std::fabs(LeadingNumber(text));
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
  // Everything after "=" is kept: cutting it would silently lose the end of a formula. The
  // text is made one line first, so the box shows what the row holds.
  const QString line = FormulaLine(boxText);
  EnteredRow entered{line.startsWith(u'=') ? line.mid(1) : line};
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

QString WrongFormulaMessage(const QString& formula, DateSettings dates) {
  const QString reason = ErrorReasonText(formula, dates);
  const QString wrapped = WrapFormulaForMessage(formula);
  return reason.isEmpty() ? wrapped : wrapped + u'\n' + reason;
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

QString ErrorReasonText(const QString& formula, DateSettings dates) {
  const FormulaErrorCause cause = FindErrorCause(ToU16(formula), dates);
  const auto text = [](const std::u16string& name) {
    return QString::fromUtf16(name.data(), static_cast<qsizetype>(name.size()));
  };
  switch (cause.fault) {
    case FormulaFault::DecimalComma:
      return QStringLiteral("Десетичният знак във формулите е точка: 12.5");
    case FormulaFault::FunctionName:
      if (cause.knownName.empty())
        return QStringLiteral("Непозната функция „%1“").arg(text(cause.name));
      return QStringLiteral("Непозната функция „%1“; имената се пишат с главни букви: %2")
          .arg(text(cause.name), text(cause.knownName));
    case FormulaFault::MissingParen:
      return QStringLiteral("Липсва затваряща скоба „)“");
    case FormulaFault::None:
      break;
  }
  return {};
}
