#include <QClipboard>
#include <QContextMenuEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QUrl>

#include "calculatortexts.h"
#include "cellframe.h"
#include "clipboardtext.h"
#include "dialogs.h"
#include "formulaline.h"
#include "frmcalculator.h"

// The window's side of the clipboard and of dropped files: the texts themselves are made by
// the plain functions of clipboardtext.h.

namespace {

// The one local formula file a drag carries, or an empty text: several files or another kind
// would leave the user guessing which one replaced the table.
QString DroppedFormulaFile(const QMimeData* mime) {
  if (!mime || !mime->hasUrls()) return {};
  const QList<QUrl> urls = mime->urls();
  if (urls.size() != 1 || !urls[0].isLocalFile()) return {};
  const QString path = urls[0].toLocalFile();
  if (QFileInfo(path).suffix().compare(u"spr", Qt::CaseInsensitive) != 0) return {};
  return path;
}

// The rows a paste left wrong, as one line of the message after it; numbered from 1.
QString WrongRowsText(const QList<int>& rows) {
  if (rows.isEmpty()) return {};
  if (rows.size() == 1) return texts::kPastedWrongRow.toString().arg(rows[0] + 1);
  QStringList numbers;
  for (int row : rows) numbers.append(QString::number(row + 1));
  return texts::kPastedWrongRows.toString().arg(numbers.join(u", "));
}

}  // namespace

bool frmCalculator::ClipboardEvent(QObject* watched, QEvent* event) {
  switch (event->type()) {
    case QEvent::KeyPress:
      return ClipboardKey(watched, static_cast<const QKeyEvent&>(*event));
    case QEvent::ContextMenu:
      return ShowContextMenu(watched, static_cast<const QContextMenuEvent*>(event)->globalPos());
    case QEvent::DragEnter:
    case QEvent::DragMove:
    case QEvent::Drop:
      return FileDrop(event);
    default:
      return false;
  }
}

bool frmCalculator::ClipboardKey(const QObject* watched, const QKeyEvent& key) {
  const QKeyCombination combination = key.keyCombination();
  if (combination == QKeyCombination(Qt::ControlModifier | Qt::ShiftModifier, Qt::Key_C)) {
    CopyTable();
    return true;
  }
  const int row = RowOf(watched);
  if (row < 0) return false;
  QLineEdit* box = FormulaBox(row);
  if (key.matches(QKeySequence::Paste)) {
    PasteIntoRow(row);
    return true;
  }
  // With a selection, the box copies it itself.
  if (combination == QKeyCombination(Qt::ControlModifier, Qt::Key_C) && !box->hasSelectedText()) {
    CopyRowResult(row);
    return true;
  }
  // The keypad's decimal key gives the formula language's point under every layout; a
  // Bulgarian one would type a comma, which no formula accepts.
  if (key.modifiers() == Qt::KeypadModifier &&
      (key.key() == Qt::Key_Comma || key.key() == Qt::Key_Period)) {
    box->insert(QStringLiteral("."));
    return true;
  }
  return false;
}

bool frmCalculator::ShowContextMenu(const QObject* watched, const QPoint& globalPos) {
  QMenu* menu = nullptr;
  if (const int row = RowOf(watched); row >= 0) {
    // The box's own menu, with its paste doing what the paste keys do.
    menu = FormulaBox(row)->createStandardContextMenu();
    // Found by its caption as the box made it, shortcut aside: Qt names no action.
    const QString pasteCaption = QLineEdit::tr("&Paste");
    for (QAction* paste : menu->actions()) {
      if (paste->text().section(u'\t', 0, 0) != pasteCaption) continue;
      disconnect(paste, &QAction::triggered, nullptr, nullptr);
      connect(paste, &QAction::triggered, this, [this, row] { PasteIntoRow(row); });
    }
  } else {
    const auto cell = std::find_if(m_suma.begin(), m_suma.end(),
                                   [watched](const QObject* label) { return label == watched; });
    if (cell == m_suma.end()) return false;
    const int resultRow = static_cast<int>(cell - m_suma.begin());
    menu = new QMenu(this);
    menu->addAction(texts::kCopyResult.toString(), this,
                    [this, resultRow] { CopyRowResult(resultRow); });
    menu->addAction(texts::kCopyTable.toString(), this, [this] { CopyTable(); });
  }
  menu->setAttribute(Qt::WA_DeleteOnClose);
  menu->popup(globalPos);
  return true;
}

bool frmCalculator::FileDrop(QEvent* event) {
  auto* drop = static_cast<QDropEvent*>(event);
  const QString path = DroppedFormulaFile(drop->mimeData());
  if (path.isEmpty()) return false;
  drop->acceptProposedAction();
  // Read once the drop is over: the read may show a message, which must not hold the drag's
  // source waiting.
  if (event->type() == QEvent::Drop)
    QMetaObject::invokeMethod(
        this,
        [this, path] {
          if (m_commands.openFile) m_commands.openFile(path);
        },
        Qt::QueuedConnection);
  return true;
}

void frmCalculator::PasteIntoRow(int row) {
  const QString text = QGuiApplication::clipboard()->text();
  const QStringList lines = PastedLines(text);
  if (lines.size() > 1) return PasteLines(row, lines);
  if (lines.isEmpty()) return;
  // One line goes in at the caret, as typed; a lone figure in the user's form is turned into
  // the formula language's, as it would be in a column. Cells keep their text, blank-joined:
  // a comment made of them here would swallow the rest of the formula.
  const QString& line = lines[0];
  FormulaBox(row)->insert(line.contains(u'\t') ? FormulaLine(line)
                                               : PastedLineFormula(line, m_locale.numbers));
}

void frmCalculator::PasteLines(int row, const QStringList& lines) {
  QStringList formulas;
  formulas.reserve(lines.size());
  for (const QString& line : lines) formulas.append(PastedLineFormula(line, m_locale.numbers));
  const PastePlan plan = PlanPaste(m_state, row, static_cast<int>(formulas.size()));
  if (plan.rowsOverwritten > 0) {
    const QString question = plan.rowsOverwritten == 1
                                 ? texts::kReplaceOneQuestion.toString()
                                 : texts::kReplaceQuestion.toString().arg(plan.rowsOverwritten);
    if (!m_dialogs.YesNo(question, false, this)) return;
  }
  // The rows are entered on a copy, so that the whole paste reaches the table as one step:
  // one repaint, one clearing of the marks, one recovery write, one undo.
  TableState pasted = m_state;
  mdlCalcFunction evaluator(m_locale.dates, &pasted);
  const QList<int> wrong = PasteFormulas(pasted, plan, formulas, evaluator);
  TableSnapshot after = TableSnapshot::Of(pasted);
  after.explanation = m_txtH->text();
  // Undoing the paste goes back to where it began; the paste itself leaves the caret below it.
  ApplyTableChange(after, plan.firstRow);
  FocusRow(plan.NextRow());

  QStringList report;
  if (plan.linesLeftOut == 1) report.append(texts::kOneLineLeftOut.toString());
  if (plan.linesLeftOut > 1) report.append(texts::kLinesLeftOut.toString().arg(plan.linesLeftOut));
  if (!wrong.isEmpty()) report.append(WrongRowsText(wrong));
  if (!report.isEmpty()) m_dialogs.Message(report.join(u'\n'));
}

void frmCalculator::CopyRowResult(int row) {
  QGuiApplication::clipboard()->setText(CopiedResult(m_state, row, m_locale.decimalPoint));
}

void frmCalculator::CopyTable() {
  auto* mime = new QMimeData;
  mime->setText(TableAsPlainText(m_state, m_locale.decimalPoint));
  mime->setHtml(TableAsHtml(m_state, m_locale.decimalPoint));
  QGuiApplication::clipboard()->setMimeData(mime);
}
