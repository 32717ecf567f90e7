#pragma once

#include <QStringView>

// The number a text begins with, as the rounding field and the report's size box read it:
// blanks, tabs and line feeds are skipped wherever they stand; an optional sign, digits, a
// decimal point (always a point) with digits and an optional exponent (e, E, d or D, with an
// optional sign and at least one digit); reading stops at the first other character. A text
// that does not begin with a number gives 0. A number beyond the range of a double gives
// infinity with its sign, one too small for it 0: each field decides what such a size means.
double LeadingNumber(QStringView text);
