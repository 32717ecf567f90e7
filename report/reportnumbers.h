#pragma once

#include <QStringView>
#include <optional>

// The number a text begins with, read the way the size box reads it: blanks, tabs and line
// feeds are skipped wherever they stand; an optional sign, digits, a decimal point (always a
// point) with digits and an optional exponent; reading stops at the first other character.
// A text that does not begin with a number gives 0.
double LeadingNumber(QStringView text);

// The value rounded to the nearest integer, halves to the even neighbour, when the result
// fits a 16-bit signed integer; nothing otherwise.
std::optional<int> RoundToShort(double value);
