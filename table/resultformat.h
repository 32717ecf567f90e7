#pragma once

#include <QChar>
#include <QString>

// A result as the table and the report show it: rounded half away from zero on the value's
// 15-significant-digit decimal form (what a user reads), exactly `digits` decimals (0..15),
// no grouping, no exponent, the locale's decimal separator. Not-finite values get a short
// text of their own.
QString FormatResult(double value, int digits, QChar decimalPoint);

// What a result cell shows: the formatted value and one blank that keeps it off the cell's
// right edge, or nothing for a result of exactly 0.
QString ShownResult(double value, int digits, QChar decimalPoint);
