#include "icons.h"

#include <QImageReader>
#include <QPixmap>
#include <cmath>

namespace {
constexpr int kCells = static_cast<int>(IconCell::Help) + 1;
constexpr int kCellSize = 16;  // logical pixels
}  // namespace

ButtonIcons::ButtonIcons(qreal devicePixelRatio)
    : m_cell(static_cast<int>(std::ceil(kCellSize * devicePixelRatio))), m_ratio(devicePixelRatio) {
  QImageReader reader(QStringLiteral(":/icons/buttons.svg"));
  reader.setScaledSize(QSize(kCells * m_cell, m_cell));
  m_sheet = reader.read();
  // Only a broken build or a missing SVG plugin (libqt6svg6) gets here; the buttons must not
  // stand empty unnoticed.
  if (m_sheet.isNull())
    qFatal("The button icons cannot be drawn: %s", qPrintable(reader.errorString()));
}

QIcon ButtonIcons::Icon(IconCell cell) const {
  QPixmap pixmap = QPixmap::fromImage(
      m_sheet.copy(static_cast<int>(cell) * m_cell, 0, m_cell, m_cell), Qt::NoFormatConversion);
  pixmap.setDevicePixelRatio(m_ratio);
  return QIcon(pixmap);
}
