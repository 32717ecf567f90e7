#include "icons.h"

#include <QImageReader>
#include <QPixmapCache>
#include <cmath>

namespace {
constexpr int kCells = static_cast<int>(IconCell::Help) + 1;
constexpr int kCellSize = 16;  // logical pixels
}  // namespace

ButtonIcons::ButtonIcons(qreal devicePixelRatio)
    : m_cell(static_cast<int>(std::ceil(kCellSize * devicePixelRatio))), m_ratio(devicePixelRatio) {
  // Drawn once for each screen scale in the life of the program, not for every window.
  const QString key = QStringLiteral("verodazava-button-icons-%1").arg(m_cell);
  if (QPixmapCache::find(key, &m_sheet)) return;
  QImageReader reader(QStringLiteral(":/icons/buttons.svg"));
  reader.setScaledSize(QSize(kCells * m_cell, m_cell));
  const QImage sheet = reader.read();
  // Only a broken build or a missing SVG plugin (libqt6svg6) gets here; the buttons must not
  // stand empty unnoticed.
  if (sheet.isNull())
    qFatal("The button icons cannot be drawn: %s", qPrintable(reader.errorString()));
  m_sheet = QPixmap::fromImage(sheet, Qt::NoFormatConversion);
  QPixmapCache::insert(key, m_sheet);
}

QIcon ButtonIcons::Icon(IconCell cell) const {
  QPixmap pixmap = m_sheet.copy(static_cast<int>(cell) * m_cell, 0, m_cell, m_cell);
  pixmap.setDevicePixelRatio(m_ratio);
  return QIcon(pixmap);
}
