#include "reportpictures.h"

#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>

namespace {

QPixmap Blank(int size) {
  QPixmap pixmap(size, size);
  pixmap.fill(Qt::transparent);
  return pixmap;
}

// A sheet with a folded corner and a few lines of text on it.
QPixmap Sheet(const QRectF& page) {
  QPixmap pixmap = Blank(32);
  QPainter p(&pixmap);
  p.setRenderHint(QPainter::Antialiasing);
  const double fold = 6;
  QPolygonF outline({page.topLeft(),
                     {page.right() - fold, page.top()},
                     {page.right(), page.top() + fold},
                     page.bottomRight(),
                     page.bottomLeft()});
  p.setPen(QPen(Qt::black, 1));
  p.setBrush(Qt::white);
  p.drawPolygon(outline);
  p.drawPolyline(QPolygonF({{page.right() - fold, page.top()},
                            {page.right() - fold, page.top() + fold},
                            {page.right(), page.top() + fold}}));
  p.setPen(QPen(QColor(0, 0, 128), 1));
  for (double y = page.top() + fold + 3; y < page.bottom() - 2; y += 3)
    p.drawLine(QPointF(page.left() + 3, y), QPointF(page.right() - 3, y));
  return pixmap;
}

QIcon Arrow(bool right) {
  QPixmap pixmap = Blank(16);
  QPainter p(&pixmap);
  p.setRenderHint(QPainter::Antialiasing);
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(0, 0, 160));
  const QPolygonF left({{3, 8}, {11, 2}, {11, 14}});
  const QPolygonF rightArrow({{13, 8}, {5, 2}, {5, 14}});
  p.drawPolygon(right ? rightArrow : left);
  return QIcon(pixmap);
}

}  // namespace

QPixmap PortraitPicture() {
  return Sheet(QRectF(6.5, 1.5, 19, 29));
}

QPixmap LandscapePicture() {
  return Sheet(QRectF(1.5, 6.5, 29, 19));
}

QIcon PrintIcon() {
  QPixmap pixmap = Blank(16);
  QPainter p(&pixmap);
  p.setPen(QPen(Qt::black, 1));
  p.setBrush(Qt::white);
  p.drawRect(4, 1, 8, 6);  // paper going in
  p.setBrush(QColor(160, 160, 160));
  p.drawRect(1, 6, 14, 6);  // the printer's body
  p.setBrush(Qt::white);
  p.drawRect(4, 10, 8, 5);  // paper coming out
  p.setPen(QColor(0, 160, 0));
  p.drawPoint(13, 8);
  return QIcon(pixmap);
}

QIcon PreviousPageIcon() {
  return Arrow(false);
}

QIcon NextPageIcon() {
  return Arrow(true);
}

QIcon ExitIcon() {
  QPixmap pixmap = Blank(16);
  QPainter p(&pixmap);
  p.setRenderHint(QPainter::Antialiasing);
  p.setPen(QPen(QColor(90, 60, 20), 1));
  p.setBrush(QColor(170, 120, 60));
  p.drawRect(QRectF(2.5, 1.5, 8, 13));  // a door
  p.setPen(QPen(QColor(200, 0, 0), 2));
  p.drawLine(QPointF(9, 8), QPointF(15, 8));  // and the way out
  p.drawLine(QPointF(12, 5), QPointF(15, 8));
  p.drawLine(QPointF(12, 11), QPointF(15, 8));
  return QIcon(pixmap);
}
