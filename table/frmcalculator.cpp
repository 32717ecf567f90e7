#include "frmcalculator.h"

#include <QCloseEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QScopeGuard>
#include <bit>

#include "accessiblenames.h"
#include "calculatortexts.h"
#include "cellframe.h"
#include "dialogs.h"
#include "formulaline.h"
#include "functionbuttons.h"
#include "resultformat.h"
#include "rowediting.h"
#include "shortcuts.h"
#include "tablecolours.h"
#include "widgetstyle.h"

namespace {

void SetBase(QWidget* widget, const QColor& colour) {
  QPalette palette = widget->palette();
  if (palette.color(QPalette::Base) == colour) return;
  palette.setColor(QPalette::Base, colour);
  widget->setPalette(palette);
}

}  // namespace

QLabel* frmCalculator::ResultLabel(int row) const {
  return m_suma.at(static_cast<size_t>(row));
}

QLabel* frmCalculator::NumberLabel(int row) const {
  return m_number.at(static_cast<size_t>(row));
}

void frmCalculator::RunCommand(const std::function<void()>& command) {
  if (command) command();
}

void frmCalculator::Run(const CommandButton& button) {
  if (button.hook) return RunCommand(m_commands.*button.hook);
  (this->*button.own)();
}

void frmCalculator::MakeScreen() {
  const int digits = m_state.roundingDigits;
  for (int i = 0; i < kVisibleRows; ++i) {
    const size_t k = static_cast<size_t>(i);
    const QString number = QString::number(i + 1);
    m_number[k]->setText(u' ' + number);
    // Like a text box that is given a text, the caret goes to the start; an unchanged box
    // keeps its caret.
    const QString text = m_state.rows[k].DisplayText();
    QLineEdit* box = m_formula[k];
    if (box->text() != text) {
      box->setText(text);
      box->setCursorPosition(0);
    } else if (box->isUndoAvailable() || box->isRedoAvailable()) {
      // The box's own undo starts afresh with the stored formula: undoing the typing of an
      // entered row would empty the box, and the next Enter would store the empty row.
      const int caret = box->cursorPosition();
      box->setText(text);
      box->setCursorPosition(caret);
    }
    m_state.rows[k + 1].label = number.leftJustified(kLabelWidth, u' ');
    ShowResult(i, m_state.rows[k].result, digits);
    ShowRowResult(i);
  }
}

// A screen reader hears a row's result with the row; a changed description is announced.
void frmCalculator::ShowRowResult(int row) {
  const size_t k = static_cast<size_t>(row);
  const QString description = RowResultDescription(m_suma[k]->text());
  if (m_formula[k]->accessibleDescription() != description)
    m_formula[k]->setAccessibleDescription(description);
}

void frmCalculator::ShowResult(int row, double result, int digits) {
  const size_t k = static_cast<size_t>(row);
  const FittedResult& fitted = FitCell(row, result, digits);
  // The trailing blank keeps the right-aligned number off the cell's edge.
  m_suma[k]->setText(fitted.text.isEmpty() ? QString() : fitted.text + u' ');
  const QString full = fitted.shortened ? fitted.full : QString();
  if (m_shortenedFrom[k] == full) return;
  m_shortenedFrom[k] = full;
  UpdateResultTip(row);
}

// A result cell: nothing for 0, and a text wider than the cell would be clipped on the left
// into a different number, so it is shortened. The cells are all alike.
ResultRoom frmCalculator::ResultCellRoom() const {
  const CellLabel* cell = m_suma[0];
  const auto fits = [metrics = cell->fontMetrics(), width = cell->TextWidth()](const QString& t) {
    return metrics.horizontalAdvance(t + u' ') <= width;
  };
  return {.fits = fits, .blankZero = true};
}

// What a cell's fitting depends on: the value and how the cell shows it.
frmCalculator::FittedCell frmCalculator::CellKey(int row, double value, int digits) const {
  const CellLabel* cell = m_suma[static_cast<size_t>(row)];
  return {std::bit_cast<quint64>(value),
          digits,
          m_locale.decimalPoint,
          cell->TextWidth(),
          cell->font(),
          {}};
}

// Measuring the text is most of a repaint's work, so a cell keeps its last fitting.
const FittedResult& frmCalculator::FitCell(int row, double value, int digits) {
  FittedCell& kept = m_fitted[static_cast<size_t>(row)];
  FittedCell key = CellKey(row, value, digits);
  if (kept.MadeFor(key)) return kept.fitted;
  key.fitted = FitResult(value, digits, m_locale.decimalPoint, ResultCellRoom());
  kept = std::move(key);
  return kept.fitted;
}

ShownText frmCalculator::ShownTexts(const FittedCells& earlier) const {
  return [this, &earlier](size_t row, double value) {
    const int digits = m_state.roundingDigits;
    if (row < m_fitted.size()) {
      const FittedCell key = CellKey(static_cast<int>(row), value, digits);
      if (m_fitted[row].MadeFor(key)) return m_fitted[row].fitted.text;
      if (earlier[row].MadeFor(key)) return earlier[row].fitted.text;
    }
    return FitResult(value, digits, m_locale.decimalPoint, ResultCellRoom()).text;
  };
}

// One tool tip for every reason a result cell has one: the full result first, then the mark.
void frmCalculator::UpdateResultTip(int row) {
  const size_t k = static_cast<size_t>(row);
  const QString markText = MarkText(m_marks[k]);
  m_suma[k]->setToolTip(ResultToolTip(m_shortenedFrom[k],
                                      markText.isEmpty() ? QStringList() : QStringList{markText}));
}

void frmCalculator::SetExplanationField(const QString& text) {
  // The window's own setting is part of the change that asked for it, not a step of its own.
  m_showingState = true;
  const auto done = qScopeGuard([this] { m_showingState = false; });
  m_txtH->setText(text);
}

QString frmCalculator::ExplanationFieldText() const {
  return m_txtH->text();
}

void frmCalculator::RoundingChanged(const QString& text) {
  const int digits = ReadRoundingDigits(text);
  const TableSnapshot before = Snapshot();
  m_state.roundingDigits = digits;
  // The field always shows the value in force; putting it back raises one more change,
  // which finds the same text and stops.
  const QString shown = QString::number(digits);
  if (text != shown) m_txtR->setText(shown);
  MakeScreen();
  if (!m_showingState) PushChange(before, kRoundingStep, FieldMergeId(m_txtR));
}

int frmCalculator::RowOf(const QObject* object) const {
  for (int i = 0; i < kVisibleRows; ++i)
    if (m_formula[static_cast<size_t>(i)] == object) return i;
  return -1;
}

void frmCalculator::SetRowColour(int row, const QColor& colour) {
  const size_t k = static_cast<size_t>(row);
  SetBase(m_formula[k], colour);
  m_resultBackground[k] = colour;
  StyleResult(row);
}

// A mark changes only the text's colour and underline, so the cell keeps its size and place.
void frmCalculator::StyleResult(int row) {
  const size_t k = static_cast<size_t>(row);
  CellLabel* cell = m_suma[k];
  const ResultMark mark = m_marks[k];
  SetBackground(cell, m_resultBackground[k]);
  QColor markColour;
  if (mark != ResultMark::None) {
    QPalette palette = cell->palette();
    markColour = m_resultBackground[k] == kDeleteRed ? kWhite
                 : mark == ResultMark::Changed       ? kChangedBlue
                                                     : kDependsOrange;
    palette.setColor(QPalette::WindowText, markColour);
    cell->setPalette(palette);
  }
  cell->SetMarkColour(markColour);
  // The second mark does not rest on colour alone.
  QFont font = cell->font();
  font.setUnderline(mark == ResultMark::DependsBelow);
  cell->setFont(font);
  UpdateResultTip(row);
  cell->setAccessibleDescription(MarkText(mark));
}

void frmCalculator::ShowMarks(const RowMarks& marks) {
  for (int i = 0; i < kVisibleRows; ++i) {
    const size_t k = static_cast<size_t>(i);
    if (m_marks[k] == marks[k]) continue;
    m_marks[k] = marks[k];
    StyleResult(i);
  }
}

void frmCalculator::ClearMarks() {
  ShowMarks(RowMarks{});
}

void frmCalculator::TableEdited() {
  ClearMarks();
  RunCommand(m_commands.tableChanged);
}

bool frmCalculator::eventFilter(QObject* watched, QEvent* event) {
  if (ClipboardEvent(watched, event)) return true;
  switch (event->type()) {
    case QEvent::KeyPress: {
      const auto& key = static_cast<const QKeyEvent&>(*event);
      if (FormKey(watched, key)) return true;
      if (const int row = RowOf(watched); row >= 0) FormulaKey(row, key);
      break;
    }
    case QEvent::FocusIn:
      if (const int row = RowOf(watched); row >= 0) {
        SetBase(m_formula[static_cast<size_t>(row)], kFocusYellow);
        m_currentRow = row;
      } else if (watched == m_txtH || watched == m_txtR) {
        SetBase(static_cast<QWidget*>(watched), kFocusYellow);
        ++m_fieldVisit;
      }
      break;
    case QEvent::FocusOut:
      // A message box over the window takes the focus only for a while: the box keeps its
      // colour (yellow, or the red of the delete question) until the focus really moves.
      if (static_cast<const QFocusEvent*>(event)->reason() == Qt::ActiveWindowFocusReason) break;
      if (const int row = RowOf(watched); row >= 0)
        SetBase(m_formula[static_cast<size_t>(row)], kWhite);
      else if (watched == m_txtH || watched == m_txtR)
        SetBase(static_cast<QWidget*>(watched), kWhite);
      break;
    case QEvent::MouseButtonPress:
      // A press on a caption label travels on to the panel; only the panel's own area drops
      // the current row, as the labels take their own clicks.
      if (watched == m_panel &&
          !m_panel->childAt(static_cast<const QMouseEvent*>(event)->position().toPoint()))
        PanelClicked();
      break;
    default:
      break;
  }
  return QWidget::eventFilter(watched, event);
}

// The command keys and undo belong to the window, with exactly their modifiers. True when
// the key was used here: a key that a control ignores travels on to its parents, which would
// run the command again.
bool frmCalculator::FormKey(const QObject* watched, const QKeyEvent& key) {
  const QKeyCombination combination = key.keyCombination();
  if (const UndoKey undo = UndoKeyOf(combination); undo != UndoKey::None) {
    // While a box differs from its stored formula the user is typing: the box undoes that.
    if (const int row = RowOf(watched);
        row >= 0 && m_formula[static_cast<size_t>(row)]->text() !=
                        m_state.rows[static_cast<size_t>(row)].DisplayText())
      return false;
    if (undo == UndoKey::Undo)
      Undo();
    else
      Redo();
    return true;
  }
  const CommandButton* button = ShortcutButton(combination);
  if (!button) return false;
  Run(*button);
  return true;
}

void frmCalculator::FormulaKey(int row, const QKeyEvent& key) {
  m_currentRow = row;
  switch (key.key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
      if (!(key.modifiers() & Qt::ControlModifier)) EnterRow(row);
      break;
    case Qt::Key_Up:
      MoveTo(row == 0 ? kVisibleRows - 1 : row - 1);
      break;
    case Qt::Key_Down:
      MoveTo(row == kVisibleRows - 1 ? 0 : row + 1);
      break;
    default:
      break;
  }
}

void frmCalculator::EnterRow(int row) {
  QLineEdit* box = m_formula[static_cast<size_t>(row)];
  TableSnapshot before = Snapshot();
  const EnteredRow entered = EnterFormula(m_state, row, box->text(), m_evaluator);
  if (entered.text != box->text()) box->setText(entered.text);
  if (!entered.Failed()) {
    const int next = std::min(row + 1, kVisibleRows - 1);
    // Repainted while the entered row still has the focus, so that a screen reader, which
    // speaks a changed description of the focused control only, announces the result.
    MakeScreen();
    m_formula[static_cast<size_t>(next)]->setCursorPosition(0);
    FocusRow(next);
    m_currentRow = next;
    PushChange(std::move(before), row);
    TableEdited();
    return;
  }
  // The wrong formula is stored as entered, so it is kept as well.
  PushChange(std::move(before), row);
  TableEdited();
  m_dialogs.Question(WrongFormulaMessage(TrimBlanks(entered.text), m_locale.dates),
                     texts::kWrongFormulaTitle.toString());
  FocusRow(row);
  box->setSelection(ErrorIndexInBox(entered.text, entered.errorPos), 1);
}

void frmCalculator::MoveTo(int row) {
  m_formula[static_cast<size_t>(row)]->setCursorPosition(0);
  FocusRow(row);
}

void frmCalculator::FocusRow(int row) {
  // Moved while a question had the window, the row left gets no focus event to whiten it.
  if (m_currentRow >= 0 && m_currentRow != row)
    SetBase(m_formula[static_cast<size_t>(m_currentRow)], kWhite);
  QLineEdit* box = m_formula[static_cast<size_t>(row)];
  box->setFocus();
  // A box that had the focus already gets no focus event, so it is highlighted here.
  if (box->hasFocus()) SetBase(box, kFocusYellow);
  m_currentRow = row;
}

void frmCalculator::PanelClicked() {
  if (m_currentRow < 0) return;
  SetBase(m_formula[static_cast<size_t>(m_currentRow)], kWhite);
  m_currentRow = -1;
}

void frmCalculator::InsertAtCaret(const QString& text) {
  const int row = m_currentRow;
  if (row < 0 || row >= kVisibleRows) return;
  QLineEdit* box = m_formula[static_cast<size_t>(row)];
  const CaretInsertion insertion = InsertAtCaretText(box->text(), box->cursorPosition(), text);
  if (insertion.changed) {
    TableSnapshot before = Snapshot();
    box->setText(insertion.text);
    m_state.rows[static_cast<size_t>(row)].SetFormula(insertion.text);
    PushChange(std::move(before), row);
    TableEdited();
  }
  FocusRow(row);
  box->setCursorPosition(insertion.caret);
}

void frmCalculator::Recalculate() {
  TableSnapshot snapshot = Snapshot();
  const RecordResults before = ResultsOf(m_state);
  const FittedCells shownBefore = m_fitted;
  RecalculateAll(m_state, m_evaluator);
  MakeScreen();
  // New results are a change of the table too; undoing it brings the old ones back exactly.
  PushChange(std::move(snapshot), m_currentRow);
  ShowMarks(MarkRecalculation(before, ResultsOf(m_state), SecondPassResults(m_state, m_evaluator),
                              ShownTexts(shownBefore)));
}

void frmCalculator::RecalculateRestored() {
  RecalculateAll(m_state, m_evaluator);
  MakeScreen();
  const RecordResults results = ResultsOf(m_state);
  ShowMarks(MarkRecalculation(results, results, SecondPassResults(m_state, m_evaluator),
                              ShownTexts(m_fitted)));
}

void frmCalculator::NewTable() {
  if (!m_dialogs.Question(texts::kClearQuestion.toString())) return;
  const bool wasEmpty = m_state.IsEmpty();
  TableSnapshot before = Snapshot();
  m_state.ClearRows();
  MakeScreen();
  FocusRow(0);
  PushChange(std::move(before), 0);
  if (wasEmpty) {
    ClearMarks();
    RunCommand(m_commands.emptyTableCleared);
  } else {
    TableEdited();
  }
}

void frmCalculator::DeleteRow() {
  const int row = m_currentRow;
  if (row < 0 || row >= kVisibleRows) return;
  SetRowColour(row, kDeleteRed);
  const QString question = texts::kDeleteQuestion.toString() + u' ' + QString::number(row + 1) +
                           texts::kDeleteQuestionEnd.toString();
  const bool deleted = m_dialogs.Question(question);
  TableSnapshot before = Snapshot();
  if (deleted) DeleteRecord(m_state, row);
  SetRowColour(row, kWhite);
  FocusRow(row);
  MakeScreen();
  if (!deleted) return;
  PushChange(std::move(before), row);
  TableEdited();
}

void frmCalculator::InsertRow() {
  const int row = m_currentRow;
  if (row < 0 || row >= kVisibleRows) return;
  TableSnapshot before = Snapshot();
  InsertRecord(m_state, row);
  FocusRow(row);
  MakeScreen();
  PushChange(std::move(before), row);
  TableEdited();
}

void frmCalculator::closeEvent(QCloseEvent* event) {
  RunCommand(m_commands.closeWindows);
  event->accept();
}
