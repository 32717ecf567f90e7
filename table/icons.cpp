#include "icons.h"

#include <QImageReader>
#include <QPixmapCache>
#include <cmath>

#include "prerenderedbuttonsheet.h"

namespace {
constexpr int kCells = static_cast<int>(IconCell::Help) + 1;
constexpr int kCellSize = 16;  // logical pixels

// The sheet drawn now by Qt's SVG image plugin, for a screen scale the build did not draw.
QImage ReadSheet(QSize size) {
  QImageReader reader(QStringLiteral(":/icons/buttons.svg"));
  reader.setScaledSize(size);
  QImage sheet = reader.read();
  // Only a broken build or a missing SVG plugin (libqt6svg6) gets here; the buttons must not
  // stand empty unnoticed.
  if (sheet.isNull())
    qFatal("The button icons cannot be drawn: %s", qPrintable(reader.errorString()));
  return sheet;
}
}  // namespace

ButtonIcons::ButtonIcons(qreal devicePixelRatio)
    : m_cell(static_cast<int>(std::ceil(kCellSize * devicePixelRatio))), m_ratio(devicePixelRatio) {
  // The common scales were drawn when the program was built, which spares the start the SVG
  // plugin; any other is drawn here, so that the icons stay sharp at every scale.
  const QSize size(kCells * m_cell, m_cell);
  QImage sheet = PrerenderedButtonSheet(size);
  if (sheet.isNull()) {
    // Drawn once for each such scale in the life of the program, not for every window.
    const QString key = QStringLiteral("verodazava-button-icons-%1").arg(m_cell);
    if (QPixmapCache::find(key, &m_sheet)) return;
    m_sheet = QPixmap::fromImage(ReadSheet(size), Qt::NoFormatConversion);
    QPixmapCache::insert(key, m_sheet);
    return;
  }
  m_sheet = QPixmap::fromImage(std::move(sheet), Qt::NoFormatConversion);
}

QIcon ButtonIcons::Icon(IconCell cell) const {
  QPixmap pixmap = m_sheet.copy(static_cast<int>(cell) * m_cell, 0, m_cell, m_cell);
  pixmap.setDevicePixelRatio(m_ratio);
  return QIcon(pixmap);
}
