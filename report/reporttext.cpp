#include "reporttext.h"

#include <algorithm>

#include "numbertext.h"
#include "reporttexts.h"
#include "resultformat.h"
#include "tablestate.h"

namespace {

constexpr int kMinNameWidth = 30;
constexpr int kNumberWidth = 3;
constexpr int kResultWidth = 15;
// A result wider than its column loses decimals that do not fit, cut as this column always
// cut them; a whole part too wide goes to the exponent form instead of losing digits.
const ResultRoom kResultColumn{
    .fits = [](const QString& text) { return text.size() <= kResultWidth; }, .cutsDecimals = true};
// "|No:|" + name column + "|      Сума     |"
constexpr int kFrameWidth = 22;
const QString kLineEnd = QStringLiteral("\r\n");
constexpr QChar kRule(0x2014);

// Only rows whose stored text starts with a visible character are listed; a leading blank
// (or the NULs of a cleared record) hides a row.
bool StartsVisible(const QString& text) {
  return !text.isEmpty() && text.front().unicode() > u' ';
}

// (difference / 2) rounded to the nearest integer, halves to the even neighbour.
int HalfToEven(int difference) {
  return RoundToInt32(difference / 2.0).value_or(0);
}

}  // namespace

QString ComposeTableReport(const TableState& state, const QString& title, QChar decimalPoint) {
  const int roundingDigits = state.roundingDigits;
  constexpr int kReportRows = kHiddenRecord + 1;

  int nameWidth = 0;
  for (int i = 0; i < kReportRows; ++i) {
    const QString trimmed = state.rows[static_cast<size_t>(i)].Trimmed();
    if (StartsVisible(trimmed) && trimmed.size() > nameWidth)
      nameWidth = static_cast<int>(trimmed.size());
  }
  nameWidth = std::max(nameWidth, kMinNameWidth);
  const int tableWidth = nameWidth + kFrameWidth;

  const QString heading = TrimBlanks(title);
  const QString rule = QString(tableWidth, kRule) + kLineEnd;

  QString report;
  // A title wider than the table has no room to be centred and starts at the left edge.
  const int spare = std::max(0, tableWidth - static_cast<int>(heading.size()));
  report += QString(HalfToEven(spare), u' ') + heading + kLineEnd;
  report += rule;
  report += reporttexts::kHeaderStart.toString() +
            reporttexts::kHeaderName.toString().leftJustified(nameWidth, u' ', true) +
            reporttexts::kHeaderSum.toString() + kLineEnd;
  report += rule;

  int listed = 0;
  for (int i = 0; i < kReportRows; ++i) {
    const RowRecord& row = state.rows[static_cast<size_t>(i)];
    if (!StartsVisible(row.formula)) continue;
    ++listed;
    report += QString::number(listed).rightJustified(kNumberWidth, u' ');
    report += QStringLiteral("  ");
    report += row.formula.leftJustified(nameWidth, u' ', true);
    report += FitResult(row.result, roundingDigits, decimalPoint, kResultColumn)
                  .text.rightJustified(kResultWidth, u' ');
    report += u' ';
    report += kLineEnd;
  }
  report += rule;
  return report;
}
