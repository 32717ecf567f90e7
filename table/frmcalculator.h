#pragma once

#include <QFont>
#include <QList>
#include <QUndoStack>
#include <QWidget>
#include <array>

#include "calcformula.h"
#include "calculatorcommands.h"
#include "recalcmarks.h"
#include "resultformat.h"
#include "tablestate.h"
#include "tableundo.h"
#include "userlocale.h"

class CellLabel;
class Dialogs;
struct CommandButton;
class QFrame;
class QStyle;
class QLabel;
class QLineEdit;
class QPushButton;

// The main window: the button panel, the rounding and explanation fields and the 25 rows of
// the table. It owns no table data; the state it is handed is what the other windows see.
class frmCalculator final : public QWidget {
  Q_OBJECT
 public:
  // `commands`: what the windows above the table (files, report, chart, help) carry out;
  // every one that is not marked optional must be given.
  frmCalculator(TableState& state, Dialogs& dialogs, UserLocale locale, CalculatorCommands commands,
                QWidget* parent = nullptr);

  // Repaints the 25 visible rows from the row store with the current rounding digits.
  void MakeScreen();
  // The explanation field; its text is mirrored into the table state on every change.
  void SetExplanationField(const QString& text);
  QString ExplanationFieldText() const;

  // Inserts a function name into the current row at its caret (what the function buttons do).
  void InsertAtCaret(const QString& text);

  // The row commands, as their buttons run them. A recalculation marks the results it
  // changed and those another pass would still change.
  void Recalculate();
  // The recalculation of a table brought back from a recovery file: every result is new, so
  // only the rows another pass would change are marked.
  void RecalculateRestored();
  // Back to unmarked results, as after an edit of the table.
  void ClearMarks();
  ResultMark Mark(int row) const { return m_marks.at(static_cast<size_t>(row)); }
  void NewTable();
  void DeleteRow();
  void InsertRow();
  // The exit button, as Esc: the window closes.
  void Exit() { close(); }

  // The table as an undo step holds it; the explanation is the field's text.
  TableSnapshot Snapshot() const;
  // A change already made to the table by a command of another window (a file read): one
  // undo step from `before` to what the table holds now; undoing it focuses `row`. The
  // screen, the marks and the recovery file are the caller's, as they are for the change.
  void RecordTableChange(const TableSnapshot& before, int row);
  // A change handed in as the table it leaves (a paste of several rows): shown, its marks
  // cleared, written to the recovery file and made one undo step that focuses `row`.
  void ApplyTableChange(const TableSnapshot& after, int row);
  // Undo and redo of the table changes: Ctrl+Z; Ctrl+Shift+Z and Ctrl+Y.
  void Undo();
  void Redo();
  const QUndoStack& UndoHistory() const { return m_undo; }

  // The clipboard. Pasting into formula row `row` (Ctrl+V, Shift+Ins, the box's menu): one
  // line goes in at the caret; several fill the row and those below, one line each, entered
  // like Enter, as one undo step. Copying: the row's result as its cell shows it (Ctrl+C
  // with nothing selected), the whole table as text and HTML (Ctrl+Shift+C).
  void PasteIntoRow(int row);
  void CopyRowResult(int row);
  void CopyTable();

  // The formula row last edited (0..24), or -1 after a click on the button panel.
  int CurrentRow() const { return m_currentRow; }
  QLineEdit* FormulaBox(int row) const { return m_formula.at(static_cast<size_t>(row)); }
  QLabel* ResultLabel(int row) const;
  QLabel* NumberLabel(int row) const;
  QLineEdit* RoundingField() const { return m_txtR; }
  QLineEdit* ExplanationField() const { return m_txtH; }
  QFrame* ButtonPanel() const { return m_panel; }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

 private:
  void CreatePanel();
  void CreateTable();
  QPushButton* AddButton(const char* name, const QRect& geometry);
  void RunCommand(const std::function<void()>& command);
  void Run(const CommandButton& button);

  bool FormKey(const QObject* watched, const QKeyEvent& key);
  // The clipboard's keys, the context menus and dropped files; true when the event was used.
  bool ClipboardEvent(QObject* watched, QEvent* event);
  bool ClipboardKey(const QObject* watched, const QKeyEvent& key);
  bool ShowContextMenu(const QObject* watched, const QPoint& globalPos);
  bool FileDrop(QEvent* event);
  void PasteLines(int row, const QStringList& lines);
  void ChainTabOrder(const QList<QWidget*>& panelWidgets);
  void FormulaKey(int row, const QKeyEvent& key);
  void EnterRow(int row);
  void MoveTo(int row);
  void FocusRow(int row);
  void PanelClicked();
  void RoundingChanged(const QString& text);
  void ShowResult(int row, double result, int digits);
  ResultRoom ResultCellRoom() const;
  const FittedResult& FitCell(int row, double value, int digits);
  struct FittedCell;
  using FittedCells = std::array<FittedCell, kVisibleRows>;
  // The marks' texts: those the cells were last fitted to (and those in `earlier`) are taken
  // as they are, so that a recalculation measures no text twice; others are fitted.
  ShownText ShownTexts(const FittedCells& earlier) const;
  void UpdateResultTip(int row);
  int RowOf(const QObject* object) const;
  void SetRowColour(int row, const QColor& colour);
  void ShowMarks(const RowMarks& marks);
  void StyleResult(int row);
  void TableEdited();
  void ShowRowResult(int row);
  // Pushes the step from `before` to the table as it is now, unless nothing changed.
  void PushChange(TableSnapshot before, int row, int mergeId = -1);
  // Puts a state of the table on the screen for undo and redo.
  void ShowState(const TableSnapshot& state, int row);
  int FieldMergeId(const QLineEdit* field) const;
  // Where the focus goes when a step is undone that changed a field rather than a row.
  static constexpr int kExplanationStep = -2;
  static constexpr int kRoundingStep = -3;

  TableState& m_state;
  Dialogs& m_dialogs;
  UserLocale m_locale;
  CalculatorCommands m_commands;
  mdlCalcFunction m_evaluator;
  int m_currentRow = 0;
  RowMarks m_marks{};
  std::array<QColor, kVisibleRows> m_resultBackground{};
  std::array<QString, kVisibleRows> m_shortenedFrom{};  // a shortened result's full text
  // Each result cell's last fitting, and what it was made for.
  struct FittedCell {
    quint64 valueBits = 0;
    int digits = -1;
    QChar decimalPoint;
    int width = -1;
    QFont font;
    FittedResult fitted;
    bool MadeFor(const FittedCell& key) const {
      return valueBits == key.valueBits && digits == key.digits &&
             decimalPoint == key.decimalPoint && width == key.width && font == key.font;
    }
  };
  FittedCell CellKey(int row, double value, int digits) const;
  FittedCells m_fitted{};

  QUndoStack m_undo;
  // While a state is shown or the window sets a field, field changes are no steps of their own.
  bool m_showingState = false;
  QString m_shownExplanation;  // the explanation field's text before its latest change
  int m_fieldVisit = 0;        // the edits of one visit to a field make one step

  QFrame* m_panel = nullptr;
  QStyle* m_style = nullptr;  // the formula boxes' and the buttons' look, see TableStyle
  QLineEdit* m_txtR = nullptr;
  QLineEdit* m_txtH = nullptr;
  std::array<CellLabel*, kVisibleRows> m_number{};
  std::array<QLineEdit*, kVisibleRows> m_formula{};
  std::array<CellLabel*, kVisibleRows> m_suma{};
};
