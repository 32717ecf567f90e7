#pragma once

#include <QChar>
#include <QString>
#include <array>
#include <functional>

#include "resultformat.h"
#include "tablestate.h"

class mdlCalcFunction;

// How a result cell is marked after a recalculation.
enum class ResultMark {
  None,
  Changed,       // its shown value moved in the last recalculation
  DependsBelow,  // another pass would still move it: it reads a row at or below it
};

using RecordResults = std::array<double, kRecordCount>;
using RowMarks = std::array<ResultMark, kVisibleRows>;

// The tool tip and accessible description of a marked cell; empty for no mark.
QString MarkText(ResultMark mark);

RecordResults ResultsOf(const TableState& state);

// The results one more recalculation would store, walked from the top on a copy, so the
// table itself keeps what it has.
RecordResults SecondPassResults(const TableState& state, mdlCalcFunction& evaluator);

// The text a row's result cell shows for a value.
using ShownText = std::function<QString(size_t row, double value)>;

// The marks of the visible rows, judged by the text each cell shows: a row whose text a
// second pass would change is DependsBelow, otherwise a row whose text the pass from `before`
// to `after` changed is Changed.
RowMarks MarkRecalculation(const RecordResults& before, const RecordResults& after,
                           const RecordResults& secondPass, const ShownText& shown);
// The same, with every cell's text fitted into `cell`.
RowMarks MarkRecalculation(const RecordResults& before, const RecordResults& after,
                           const RecordResults& secondPass, int digits, QChar decimalPoint,
                           const ResultRoom& cell);
