#pragma once

#include <QString>
#include <QStringView>

// A text as a formula row may hold it: one line, no control character. A line end at the very
// end (CR LF, CR or LF) goes; every other line end (a CR LF pair counting as one, and the
// Unicode line and paragraph separators) and every other control character (TAB, NUL, DEL,
// C1 codes) becomes one blank. A line break inside a row would break the one-field-a-line
// formula file, and the evaluator stops at a CR; blanks keep the other characters in place.
QString FormulaLine(QStringView text);
