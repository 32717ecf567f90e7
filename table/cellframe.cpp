#include "cellframe.h"

#include <QApplication>
#include <QEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QPixmapCache>
#include <QStyleFactory>
#include <QStyleOption>
#include <QVarLengthArray>
#include <algorithm>
#include <bit>
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

// Everything a button's bevel is drawn from: its size and scale, its state, its kind (default,
// flat) and every colour of the palette's current group. Empty when a brush is not a plain
// colour, which such a key cannot tell apart.
QString BevelKey(const QStyleOption& option, qreal ratio) {
  QVarLengthArray<quint64, 32> values;
  const auto* button = qstyleoption_cast<const QStyleOptionButton*>(&option);
  values << static_cast<quint64>(option.rect.width()) << static_cast<quint64>(option.rect.height())
         << std::bit_cast<quint64>(ratio) << static_cast<quint64>(option.state.toInt())
         << static_cast<quint64>(option.direction)
         << (button ? static_cast<quint64>(button->features.toInt()) : ~quint64{0});
  for (int role = 0; role < QPalette::NColorRoles; ++role) {
    if (role == QPalette::NoRole) continue;
    const QBrush& brush = option.palette.brush(static_cast<QPalette::ColorRole>(role));
    if (brush.style() != Qt::SolidPattern) return {};
    values << brush.color().rgba64();
  }
  const QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char*>(values.data()),
                                                   values.size() * qsizetype{sizeof(quint64)});
  return QLatin1String("verodazava-bevel-") + QString::fromLatin1(bytes.toHex());
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
TableStyle::TableStyle(QObject* owner)
    : QProxyStyle(QStyleFactory::create(QApplication::style()->name())) {
  setParent(owner);
}

void TableStyle::drawPrimitive(PrimitiveElement element, const QStyleOption* option,
                               QPainter* painter, const QWidget* widget) const {
  switch (element) {
    case PE_PanelLineEdit:
    case PE_FrameLineEdit: {
      const QRectF box = option->rect;
      if (element == PE_PanelLineEdit) painter->fillRect(box, option->palette.base());
      const qreal ratio =
          widget ? widget->devicePixelRatioF() : painter->device()->devicePixelRatioF();
      DrawBorder(*painter, box, BorderWidth(ratio));
      return;
    }
    case PE_PanelButtonCommand:
      return DrawBevel(option, painter, widget);
    default:
      return QProxyStyle::drawPrimitive(element, option, painter, widget);
  }
}

void TableStyle::DrawBevel(const QStyleOption* option, QPainter* painter,
                           const QWidget* widget) const {
  const QString key = BevelKey(*option, painter->device()->devicePixelRatio());
  // Where the style would draw afresh, so do we: a rotated or sheared painter, an empty
  // button, a patterned palette.
  const QTransform::TransformationType moved =
      std::max(painter->deviceTransform().type(), painter->worldTransform().type());
  const bool copyable =
      moved <= QTransform::TxTranslate || painter->deviceTransform().type() == QTransform::TxScale;
  if (key.isEmpty() || !copyable || option->rect.isEmpty())
    return QProxyStyle::drawPrimitive(PE_PanelButtonCommand, option, painter, widget);
  QPixmap bevel;
  if (!QPixmapCache::find(key, &bevel)) {
    const qreal ratio = painter->device()->devicePixelRatio();
    // As the style sizes its own cached drawings, so that the pixels come out the same.
    bevel = QPixmap(option->rect.size() * ratio);
    bevel.setDevicePixelRatio(ratio);
    bevel.fill(Qt::transparent);
    QPainter onBevel(&bevel);
    if (const auto* button = qstyleoption_cast<const QStyleOptionButton*>(option)) {
      QStyleOptionButton atOrigin = *button;
      atOrigin.rect.moveTo(0, 0);
      QProxyStyle::drawPrimitive(PE_PanelButtonCommand, &atOrigin, &onBevel, widget);
    } else {
      QStyleOption atOrigin = *option;
      atOrigin.rect.moveTo(0, 0);
      QProxyStyle::drawPrimitive(PE_PanelButtonCommand, &atOrigin, &onBevel, widget);
    }
    onBevel.end();
    QPixmapCache::insert(key, bevel);
  }
  painter->drawPixmap(option->rect.topLeft(), bevel);
}
