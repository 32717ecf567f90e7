#include "tablestate.h"

#include "formulaline.h"
#include "numbertext.h"

void RowRecord::Clear() {
  label = QString(kLabelWidth, QChar(0));
  formula = QString(kFormulaWidth, QChar(0));
  result = 0;
}

void RowRecord::SetFormula(QStringView text) {
  formula = FormulaLine(text).left(kFormulaWidth);
  if (formula.size() < kFormulaWidth) formula.append(QString(kFormulaWidth - formula.size(), u' '));
}

void RowRecord::Empty() {
  SetFormula(u"");
  result = 0;
}

QString TrimBlanks(QStringView text) {
  const std::u16string_view trimmed = TrimBlanks(ToU16(text));
  return QString::fromUtf16(trimmed.data(), static_cast<qsizetype>(trimmed.size()));
}

QString RowRecord::Trimmed() const {
  return TrimBlanks(formula);
}

QString RowRecord::DisplayText() const {
  QString text = Trimmed();
  const qsizetype nul = text.indexOf(QChar(0));
  if (nul >= 0) text.truncate(nul);
  return text;
}

void TableState::ClearRows() {
  for (RowRecord& row : rows) row.Clear();
}

bool TableState::IsEmpty() const {
  if (!TrimBlanks(explanation).isEmpty()) return false;
  for (int k = 0; k <= kHiddenRecord; ++k)
    if (!rows[static_cast<size_t>(k)].DisplayText().isEmpty()) return false;
  return true;
}

double TableState::Result(int slot) const {
  return slot >= 0 && slot < kRecordCount ? rows[static_cast<size_t>(slot)].result : 0.0;
}
