#pragma once

#include <QChar>
#include <QList>
#include <QLocale>
#include <QString>
#include <QStringList>
#include <QStringView>

class TableState;
class mdlCalcFunction;

// Text to rows and rows to text for the clipboard and the command line. The window only moves
// these texts between QClipboard/QMimeData and the table.

// --- Pasting ---

// The lines of a pasted text, one per row. CR LF, CR and LF each end a line; a blank line keeps
// its place, so rows stay in step with the source; a line end at the very end adds no line.
// An empty text gives no line.
QStringList PastedLines(QStringView text);

// One pasted line as a row's formula, always one line (FormulaLine):
// - a figure as the user's locale writes it becomes the formula language's number, written
//   with a point and no grouping: "1 250,50", "1.250,50", "-1 250,50", "(1 250,50)" (negative),
//   "1 250,50 лв." in bg_BG give "1250.50", "-1250.50", ...; "1,250.50" in en_US "1250.50".
//   Groups are of three digits, marked by blanks (no-break ones too), the locale's group mark,
//   or the point (comma) where the locale's decimal mark is the comma (point). A lone point
//   group such as "1.250" is left to the formula language, which reads it as 1.25;
// - any other text stays as it is;
// - a line of tab-separated cells with exactly one figure (in the locale's form or the formula
//   language's own, "80.25") gives that figure with the other cells' text as the row's comment
//   after an apostrophe: "Наем⇥1 250,50" gives "1250.50 'Наем". With no figure or several, the
//   cells are joined by blanks.
QString PastedLineFormula(QStringView line, const QLocale& locale);

// What pasting `lineCount` lines at row `row` (0..24) does: the rows it fills, how many of them
// hold a formula now (the one question before overwriting asks about these), how many lines do
// not fit above the end of row 25 and are left out.
struct PastePlan {
  int firstRow = 0;
  int rowsFilled = 0;
  int rowsOverwritten = 0;
  int linesLeftOut = 0;
  // Where the focus goes: the row after the last one filled; the last row stays the last.
  int NextRow() const;
};
PastePlan PlanPaste(const TableState& state, int row, int lineCount);

// Stores and evaluates the planned rows like Enter, one formula each from `formulas` in turn
// (EnterFormula: a wrong formula is stored and keeps the row's old result). Returns the rows
// (0..24) whose formula was wrong. Repainting, marks and the recovery write stay the caller's.
QList<int> PasteFormulas(TableState& state, const PastePlan& plan, const QStringList& formulas,
                         mdlCalcFunction& evaluator);

// --- Copying ---

// A row's (0..24) result as its cell shows it, not shortened, with the user's decimal mark;
// empty where the cell is empty.
QString CopiedResult(const TableState& state, int row, QChar decimalPoint);

// The last of the rows 1..25 that holds a formula, 0 when none does.
int LastFilledRow(const TableState& state);

// The table for text/plain: a line "row⇥formula⇥result" for each row from 1 to the last filled
// one, results as CopiedResult gives them, each line ended by LF. Empty for an empty table.
QString TableAsPlainText(const TableState& state, QChar decimalPoint);

// The same rows for text/html: a UTF-8 document with one table, the explanation as its caption,
// every text escaped.
QString TableAsHtml(const TableState& state, QChar decimalPoint);

// The same rows for scripts (--tsv): results with a point and `decimals` digits (0..15), never
// shortened or left out; a row without a formula has an empty result.
QString TableAsTsv(const TableState& state, int decimals);
