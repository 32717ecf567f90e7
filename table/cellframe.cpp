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

void CellLabel::SetMarkColour(const QColor& colour) {
  if (colour == m_markColour) return;
  m_markColour = colour;
  update();
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
  if (m_markColour.isValid() && text().isEmpty()) {
    // Two logical pixels, one pixel in from the border, so it reads as a mark and not as a
    // thicker grid line.
    const qreal inset = 2 * pixel;
    const qreal width = 2 * pixel;
    painter.setPen(QPen(m_markColour, width));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(cell.adjusted(inset + width / 2, inset + width / 2, -inset - width / 2,
                                   -inset - width / 2));
  }
}
