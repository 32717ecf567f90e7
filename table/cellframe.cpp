#include "cellframe.h"

#include <QEvent>
#include <QPainter>
#include <algorithm>
#include <cmath>

namespace {
constexpr int kBorder = 1;  // logical pixels, the width of the designed thin border
}

CellLabel::CellLabel(QWidget* parent) : QLabel(parent) {
  setFrameStyle(QFrame::NoFrame);
  setContentsMargins(kBorder, kBorder, kBorder, kBorder);
  ResetIndent();
}

void CellLabel::ResetIndent() {
  if (!m_indentGiven) setIndent(fontMetrics().horizontalAdvance(u'x') / 2);
}

void CellLabel::SetTextIndent(int pixels) {
  m_indentGiven = true;
  setIndent(pixels);
}

int CellLabel::TextWidth() const {
  return contentsRect().width() - indent();
}

void CellLabel::changeEvent(QEvent* event) {
  QLabel::changeEvent(event);
  if (event->type() == QEvent::FontChange) ResetIndent();
}
void CellLabel::paintEvent(QPaintEvent* event) {
  QLabel::paintEvent(event);
  QPainter painter(this);
  // One logical pixel rounded down to whole device pixels (at least one), placed inside the
  // cell's last pixels on every side.
  const qreal ratio = devicePixelRatioF();
  const qreal pixel = std::max(1.0, std::floor(ratio)) / ratio;
  const QRectF cell = rect();
  const QColor colour = Qt::black;  // the border stays black when the text is coloured
  painter.fillRect(QRectF(0, 0, cell.width(), pixel), colour);
  painter.fillRect(QRectF(0, cell.height() - pixel, cell.width(), pixel), colour);
  painter.fillRect(QRectF(0, 0, pixel, cell.height()), colour);
  painter.fillRect(QRectF(cell.width() - pixel, 0, pixel, cell.height()), colour);
}
