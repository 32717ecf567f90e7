#include "clipboardtext.h"

#include <algorithm>
#include <functional>
#include <optional>

#include "formulaline.h"
#include "resultformat.h"
#include "rowediting.h"
#include "tablestate.h"

namespace {

bool IsDigit(QChar c) {
  return c >= u'0' && c <= u'9';
}

bool AllDigits(QStringView text) {
  return !text.isEmpty() && std::all_of(text.begin(), text.end(), IsDigit);
}

// A currency sign before or after a figure: the lev's "лв." and "лв", or the locale's symbol.
QStringView WithoutCurrency(QStringView text, const QLocale& locale) {
  const QString symbol = locale.currencySymbol();
  for (QStringView sign : {QStringView(u"лв."), QStringView(u"лв"), QStringView(symbol)}) {
    if (sign.isEmpty()) continue;
    if (text.endsWith(sign)) return text.chopped(sign.size()).trimmed();
    if (text.startsWith(sign)) return text.mid(sign.size()).trimmed();
  }
  return text;
}

// The digits of a whole part written in groups of three, or nothing when it is not one. The
// groups are marked by blanks of any kind, the locale's own mark or `otherMark`, one mark
// throughout. A lone point group ("1.250") is left alone: the formula language reads it.
std::optional<QString> UngroupedWhole(QStringView whole, QStringView groupMark, QChar otherMark,
                                      bool hasFraction) {
  QString text = whole.toString();
  for (QChar& c : text)
    if (c.isSpace()) c = u' ';
  const auto mark = std::find_if_not(text.cbegin(), text.cend(), IsDigit);
  if (mark == text.cend()) return text.isEmpty() ? std::nullopt : std::optional(text);
  if (*mark != u' ' && !groupMark.contains(*mark) && *mark != otherMark) return std::nullopt;
  const QStringList groups = text.split(*mark);
  if (*mark == u'.' && groups.size() == 2 && !hasFraction) return std::nullopt;
  for (qsizetype i = 0; i < groups.size(); ++i) {
    const bool sized = i == 0 ? groups[i].size() <= 3 : groups[i].size() == 3;
    if (!sized || !AllDigits(groups[i])) return std::nullopt;
  }
  return groups.join(QString());
}

// A figure as the user's locale writes it, in the formula language's form, or nothing.
std::optional<QString> FigureAsFormula(QStringView text, const QLocale& locale) {
  text = WithoutCurrency(text.trimmed(), locale);
  bool negative = false;
  if (text.startsWith(u'(') && text.endsWith(u')')) {
    negative = true;
    text = WithoutCurrency(text.mid(1).chopped(1).trimmed(), locale);
  }
  const QString minus = locale.negativeSign();
  for (QStringView sign : {QStringView(u"-"), QStringView(u"\u2212"), QStringView(minus)}) {
    if (negative || sign.isEmpty() || !text.startsWith(sign)) continue;
    negative = true;
    text = text.mid(sign.size()).trimmed();
  }

  const QString decimal = locale.decimalPoint();
  const qsizetype at = text.indexOf(decimal);
  const QStringView whole = at < 0 ? text : text.left(at);
  const QStringView fraction = at < 0 ? QStringView() : text.mid(at + decimal.size());
  if (at >= 0 && !AllDigits(fraction)) return std::nullopt;
  const QChar otherMark = decimal == u"," ? u'.' : u',';
  const std::optional<QString> digits =
      UngroupedWhole(whole, locale.groupSeparator(), otherMark, at >= 0);
  if (!digits) return std::nullopt;
  QString formula = negative ? QStringLiteral("-") : QString();
  formula += *digits;
  if (at >= 0) formula += u'.' + fraction.toString();
  return formula;
}

// The formula language's own number: "80.25", "-3".
bool IsPlainNumber(QStringView text) {
  if (text.startsWith(u'-')) text = text.mid(1);
  const qsizetype point = text.indexOf(u'.');
  if (point < 0) return AllDigits(text);
  return AllDigits(text.left(point)) && AllDigits(text.mid(point + 1));
}

std::optional<QString> CellFigure(QStringView cell, const QLocale& locale) {
  if (std::optional<QString> figure = FigureAsFormula(cell, locale)) return figure;
  if (IsPlainNumber(cell.trimmed())) return cell.trimmed().toString();
  return std::nullopt;
}

// Rows 1 to the last filled one, each as `before`, the row number, the formula and the result
// with `separator` between them, and `after`.
QString TableLines(const TableState& state, QStringView separator,
                   const std::function<QString(const QString&)>& escape,
                   const std::function<QString(int row)>& result, QStringView before,
                   QStringView after) {
  QString text;
  const int last = LastFilledRow(state);
  for (int row = 0; row < last; ++row) {
    text += before;
    text += QString::number(row + 1);
    text += separator;
    text += escape(state.rows[static_cast<size_t>(row)].DisplayText());
    text += separator;
    text += escape(result(row));
    text += after;
  }
  return text;
}

QString AsIs(const QString& text) {
  return text;
}

}  // namespace

QStringList PastedLines(QStringView text) {
  QStringList lines;
  qsizetype start = 0;
  for (qsizetype i = 0; i < text.size(); ++i) {
    if (text[i] != u'\r' && text[i] != u'\n') continue;
    lines.append(text.mid(start, i - start).toString());
    if (text[i] == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n') ++i;
    start = i + 1;
  }
  if (start < text.size()) lines.append(text.mid(start).toString());
  return lines;
}

QString PastedLineFormula(QStringView line, const QLocale& locale) {
  const QList<QStringView> cells = line.split(u'\t');
  if (cells.size() == 1)
    return FormulaLine(FigureAsFormula(line, locale).value_or(line.toString()));

  std::optional<QString> figure;
  qsizetype figureCell = -1;
  for (qsizetype i = 0; i < cells.size(); ++i) {
    std::optional<QString> found = CellFigure(cells[i], locale);
    if (!found) continue;
    if (figure) return FormulaLine(line);  // several figures: which one is meant is unknown
    figure = std::move(found);
    figureCell = i;
  }
  if (!figure) return FormulaLine(line);

  QStringList comment;
  for (qsizetype i = 0; i < cells.size(); ++i) {
    const QString text = FormulaLine(cells[i]).trimmed();
    if (i != figureCell && !text.isEmpty()) comment.append(text);
  }
  return comment.isEmpty() ? *figure : *figure + QStringLiteral(" '") + comment.join(u' ');
}

int PastePlan::NextRow() const {
  return std::min(firstRow + rowsFilled, kVisibleRows - 1);
}

PastePlan PlanPaste(const TableState& state, int row, int lineCount) {
  PastePlan plan;
  plan.firstRow = std::clamp(row, 0, kVisibleRows - 1);
  plan.rowsFilled = std::clamp(lineCount, 0, kVisibleRows - plan.firstRow);
  plan.linesLeftOut = std::max(lineCount, 0) - plan.rowsFilled;
  for (int k = plan.firstRow; k < plan.firstRow + plan.rowsFilled; ++k)
    if (!state.rows[static_cast<size_t>(k)].DisplayText().isEmpty()) ++plan.rowsOverwritten;
  return plan;
}

QList<int> PasteFormulas(TableState& state, const PastePlan& plan, const QStringList& formulas,
                         mdlCalcFunction& evaluator) {
  QList<int> wrong;
  const int count = std::min(plan.rowsFilled, static_cast<int>(formulas.size()));
  for (int i = 0; i < count; ++i) {
    const int row = plan.firstRow + i;
    if (EnterFormula(state, row, formulas[i], evaluator).Failed()) wrong.append(row);
  }
  return wrong;
}

QString CopiedResult(const TableState& state, int row, QChar decimalPoint) {
  if (row < 0 || row >= kVisibleRows) return {};
  // The cell's full text: a cell that shows a shortened form copies the whole figure.
  return FitResult(state.rows[static_cast<size_t>(row)].result, state.roundingDigits, decimalPoint,
                   ResultRoom{.fits = {}, .blankZero = true})
      .full;
}

int LastFilledRow(const TableState& state) {
  for (int row = kVisibleRows; row > 0; --row)
    if (!state.rows[static_cast<size_t>(row - 1)].DisplayText().isEmpty()) return row;
  return 0;
}

QString TableAsPlainText(const TableState& state, QChar decimalPoint) {
  return TableLines(
      state, u"\t", AsIs, [&](int row) { return CopiedResult(state, row, decimalPoint); }, u"",
      u"\n");
}

QString TableAsHtml(const TableState& state, QChar decimalPoint) {
  const auto escape = [](const QString& text) { return text.toHtmlEscaped(); };
  QString html = QStringLiteral("<html><head><meta charset=\"utf-8\"></head><body><table>\n");
  const QString caption = TrimBlanks(state.explanation);
  if (!caption.isEmpty()) html += QStringLiteral("<caption>%1</caption>\n").arg(escape(caption));
  html += TableLines(
      state, u"</td><td>", escape, [&](int row) { return CopiedResult(state, row, decimalPoint); },
      u"<tr><td>", u"</td></tr>\n");
  html += QStringLiteral("</table></body></html>\n");
  return html;
}

QString TableAsTsv(const TableState& state, int decimals) {
  return TableLines(
      state, u"\t", AsIs,
      [&](int row) {
        const RowRecord& record = state.rows[static_cast<size_t>(row)];
        return record.DisplayText().isEmpty() ? QString()
                                              : FormatResult(record.result, decimals, u'.');
      },
      u"", u"\n");
}
