#pragma once

#include <QChar>
#include <QString>
#include <QStringList>
#include <functional>

// A result as the table and the report show it: rounded half away from zero on the value's
// 15-significant-digit decimal form (what a user reads), exactly `digits` decimals (0..15),
// no grouping, no exponent, the locale's decimal separator. Not-finite values get a short
// text of their own.
QString FormatResult(double value, int digits, QChar decimalPoint);

// The same value in exponent form with `decimals` decimals in the mantissa (0..14):
// 1,2346E+30, -1E+25, two exponent digits at least.
QString FormatResultExponent(double value, int decimals, QChar decimalPoint);

// Where a result is shown, and how a result too wide for it is shortened.
struct ResultRoom {
  std::function<bool(const QString&)> fits;  // whether a text fits the place; none: any
  // Decimals that do not fit are cut off rather than rounded again: the report's fixed column
  // has always cut them.
  bool cutsDecimals = false;
  bool blankZero = false;  // a result of exactly 0 shows nothing (the table's cells)
};

// What a place shows of a result. `text` always reads as the same number as `full`; when the
// full text does not fit, `text` is shorter and `full` belongs in a tool tip.
struct FittedResult {
  QString text;
  QString full;
  bool shortened = false;
};

// The one rule for a result's shown text, never a number with digits of its whole part lost:
// the full text; else fewer decimals (rounded again, or cut where the room cuts them); else
// the exponent form with as many mantissa decimals as fit, up to `digits`. When nothing fits,
// the shortest form.
FittedResult FitResult(double value, int digits, QChar decimalPoint, const ResultRoom& room);

// The tool tip of a result cell, one reason a line: the full result when the cell shows it
// shortened (empty otherwise), then any further lines given.
QString ResultToolTip(const QString& fullTextIfShortened, const QStringList& moreLines = {});
