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

// What a result cell shows. `text` always reads as the same number as `full`; when the full
// text does not fit, `text` is shorter and `full` belongs in the cell's tool tip.
struct FittedResult {
  QString text;
  QString full;
  bool shortened = false;
};

// The result text that fits a cell, never a clipped one: the full text; else fewer decimals,
// rounded again; else the exponent form with as many mantissa decimals as fit, up to
// `digits`. When nothing fits, the shortest form. `fits` tells whether a text fits the cell.
FittedResult FitResult(double value, int digits, QChar decimalPoint,
                       const std::function<bool(const QString&)>& fits);

// The tool tip of a result cell, one reason a line: the full result when the cell shows it
// shortened (empty otherwise), then any further lines given.
QString ResultToolTip(const QString& fullTextIfShortened, const QStringList& moreLines = {});
// What a result cell shows: the formatted value and one blank that keeps it off the cell's
// right edge, or nothing for a result of exactly 0.
QString ShownResult(double value, int digits, QChar decimalPoint);
