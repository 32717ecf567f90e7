#include "cellframe.h"

#include <QApplication>
#include <QEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QStyleFactory>
#include <QStyleOption>
#include <algorithm>
#include <cmath>

namespace {

constexpr int kBorder = 1;  // logical pixels, the width of the designed thin border

// One logical pixel rounded down to whole device pixels (at least one).
qreal BorderWidth(qreal ratio) {
  return std::max(1.0, std::floor(ratio)) / ratio;
}

// The border on the cell's last pixels on every side; it stays black when the text is coloured.
void DrawBorder(QPainter& painter, const QRectF& cell, qreal pixel) {
  const QColor colour = Qt::black;
  painter.fillRect(QRectF(cell.left(), cell.top(), cell.width(), pixel), colour);
  painter.fillRect(QRectF(cell.left(), cell.bottom() - pixel, cell.width(), pixel), colour);
  painter.fillRect(QRectF(cell.left(), cell.top(), pixel, cell.height()), colour);
  painter.fillRect(QRectF(cell.right() - pixel, cell.top(), pixel, cell.height()), colour);
}

}  // namespace

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
  // The rows overlap by a few pixels, so a repainted cell also repaints a strip of its
  // neighbour, where no text lies: only the border is drawn there.
  const int lineHeight = fontMetrics().height();
  const QRect textBand(0, (height() - lineHeight) / 2, width(), lineHeight);
  if (event->region().intersects(textBand)) QLabel::paintEvent(event);
  QPainter painter(this);
  const qreal pixel = BorderWidth(devicePixelRatioF());
  const QRectF cell = rect();
  DrawBorder(painter, cell, pixel);
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

// A style of the application's kind of its own: a proxy would otherwise own the application's.
FlatBoxStyle::FlatBoxStyle(QObject* owner)
    : QProxyStyle(QStyleFactory::create(QApplication::style()->name())) {
  setParent(owner);
}

void FlatBoxStyle::drawPrimitive(PrimitiveElement element, const QStyleOption* option,
                                 QPainter* painter, const QWidget* widget) const {
  if (element != PE_PanelLineEdit && element != PE_FrameLineEdit)
    return QProxyStyle::drawPrimitive(element, option, painter, widget);
  const QRectF box = option->rect;
  if (element == PE_PanelLineEdit) painter->fillRect(box, option->palette.base());
  const qreal ratio = widget ? widget->devicePixelRatioF() : painter->device()->devicePixelRatioF();
  DrawBorder(*painter, box, BorderWidth(ratio));
}
