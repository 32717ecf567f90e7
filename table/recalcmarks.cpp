#include "recalcmarks.h"

#include <QScopeGuard>

#include "calcformula.h"

namespace {

// Results that SUM reads while a pass is walked on a copy.
class ResultCopy final : public RowResults {
 public:
  explicit ResultCopy(const RecordResults& results) : values(results) {}
  double Result(int slot) const override {
    return slot >= 0 && slot < kRecordCount ? values[static_cast<size_t>(slot)] : 0.0;
  }
  RecordResults values;
};

}  // namespace

QString MarkText(ResultMark mark) {
  switch (mark) {
    case ResultMark::Changed:
      return QStringLiteral("Променен при последното преизчисляване");
    case ResultMark::DependsBelow:
      return QStringLiteral("Зависи от ред по-долу: преизчислете още веднъж");
    case ResultMark::None:
      break;
  }
  return {};
}

RecordResults ResultsOf(const TableState& state) {
  RecordResults results{};
  for (size_t k = 0; k < results.size(); ++k) results[k] = state.rows[k].result;
  return results;
}

RecordResults SecondPassResults(const TableState& state, mdlCalcFunction& evaluator) {
  ResultCopy copy(ResultsOf(state));
  // SUM reads the copy during the walk, and the table again after it, however it ends.
  evaluator.SetRows(&copy);
  const auto restore = qScopeGuard([&] { evaluator.SetRows(&state); });
  // The same walk as the recalculation: records 0..25, each as stored.
  for (int k = 0; k <= kHiddenRecord; ++k)
    copy.values[static_cast<size_t>(k)] =
        evaluator.CalcFormula(ToU16(state.rows[static_cast<size_t>(k)].formula));
  return copy.values;
}

RowMarks MarkRecalculation(const RecordResults& before, const RecordResults& after,
                           const RecordResults& secondPass, const ShownText& shown) {
  RowMarks marks{};
  for (size_t k = 0; k < marks.size(); ++k) {
    // An equal value shows an equal text, so most rows need no text at all (a NaN, never
    // equal to itself, is compared by its text).
    const bool moves = secondPass[k] != after[k];
    const bool moved = before[k] != after[k];
    if (!moves && !moved) continue;
    const QString now = shown(k, after[k]);
    if (moves && shown(k, secondPass[k]) != now)
      marks[k] = ResultMark::DependsBelow;
    else if (moved && shown(k, before[k]) != now)
      marks[k] = ResultMark::Changed;
  }
  return marks;
}

RowMarks MarkRecalculation(const RecordResults& before, const RecordResults& after,
                           const RecordResults& secondPass, int digits, QChar decimalPoint,
                           const ResultRoom& cell) {
  return MarkRecalculation(before, after, secondPass, [&](size_t, double value) {
    return FitResult(value, digits, decimalPoint, cell).text;
  });
}
