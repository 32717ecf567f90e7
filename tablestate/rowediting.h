#pragma once

#include <QString>

#include "calcformula.h"

class TableState;
class mdlCalcFunction;

// What a function button does to a formula box: the box's new text and where its caret goes.
struct CaretInsertion {
  QString text;
  int caret = 0;
  bool changed = false;  // false: the text stays and is not stored
};

// Inserts `text` at `caret` of `boxText`. A "+" goes in front when the character that decides
// (the one before the caret, or the first one when the caret is at the start) is not an
// operator, an opening bracket or a comma; "PI" never gets one. The caret ends between the
// parentheses of a function, or after PI. Everything after the caret is kept. The new text is
// one line (FormulaLine), as the row will store it.
CaretInsertion InsertAtCaretText(const QString& boxText, int caret, const QString& text);

// The rounding field's value: the number at the start of the text (blanks, tabs and line
// feeds ignored anywhere), without fraction and sign, at most 15; 0 when there is none.
int ReadRoundingDigits(const QString& text);

// Where, in the text of the box, the evaluator stopped: a 0-based index for an `errorPos`
// (1-based, counted in the evaluator's prepared text) of the formula entered from `boxText`.
// The evaluator counts without the blanks trimmed before it and with the "0" it puts in front
// of a leading point; the user needs the character in the text in front of them.
int ErrorIndexInBox(const QString& boxText, int errorPos);

// Enter in formula row `row` (0..24) with the row's text `boxText`: the text is made one line
// (FormulaLine: control characters become blanks), a leading "=" is dropped, the text is stored
// (cut to 255 characters) and evaluated without its surrounding blanks. The value becomes the row's
// result only when the evaluator found no error; otherwise the old result stays.
struct EnteredRow {
  QString text;      // the row's text as entered, without the leading "="
  int errorPos = 0;  // the evaluator's ErrorPos: 0 or below when the formula was right
  bool Failed() const { return errorPos > 0; }
};
EnteredRow EnterFormula(TableState& state, int row, const QString& boxText,
                        mdlCalcFunction& evaluator);

// A formula as the wrong-formula box shows it: in lines of at most `lineLength` characters,
// so that the whole of it, and with it the place of the error, stays in view. A line ends
// after a blank, an operator, a comma or a closing bracket where the second half of the line
// has one, else at the limit.
QString WrapFormulaForMessage(const QString& formula, int lineLength = 64);

// One line that names why `formula` is wrong, when the cause is a common one (a decimal comma,
// a function name in lower case or not known, a missing ")"); empty otherwise.
QString ErrorReasonText(const QString& formula, DateSettings dates = {});

// The wrong-formula box's text: the formula wrapped as above and, when the cause is a common
// one, the line that names it below.
QString WrongFormulaMessage(const QString& formula, DateSettings dates = {});

// Delete row r (0..24): records r..24 move up by one, the hidden record 25 included, and
// record 25 is emptied. Row labels and record 26 stay.
void DeleteRecord(TableState& state, int r);
// Insert a blank row at r (0..24): records r..24 move down by one into 25 (the old record 25
// is lost) and record r is emptied.
void InsertRecord(TableState& state, int r);

// Evaluates records 0..25 from the top, each as stored, and keeps every value whatever the
// evaluator says about the syntax, so SUM of a row above sees the new result.
void RecalculateAll(TableState& state, mdlCalcFunction& evaluator);
