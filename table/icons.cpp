#include "icons.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace {

constexpr int kSize = 16;

void DrawSqr(QPainter& p) {
  p.setRenderHint(QPainter::Antialiasing, true);
  p.setPen(QPen(Qt::black, 1.6, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
  p.drawPolyline(QPolygonF({{1, 9}, {3.5, 8}, {6.5, 14}, {10, 2}, {15, 2}}));
}

void DrawReadFile(QPainter& p) {
  p.setPen(QPen(Qt::black, 1));
  p.setBrush(QColor(230, 200, 60));
  p.drawRect(QRectF(1.5, 4.5, 12, 9));
  p.setBrush(QColor(250, 230, 120));
  p.drawPolygon(QPolygonF({{1.5, 13.5}, {4.5, 7.5}, {15.5, 7.5}, {12.5, 13.5}}));
}

void DrawSheet(QPainter& p) {
  p.setPen(QPen(Qt::black, 1));
  p.setBrush(Qt::white);
  p.drawPolygon(QPolygonF({{3.5, 1.5}, {10.5, 1.5}, {13.5, 4.5}, {13.5, 14.5}, {3.5, 14.5}}));
  p.drawPolyline(QPolygonF({{10.5, 1.5}, {10.5, 4.5}, {13.5, 4.5}}));
}

void DrawSaveFile(QPainter& p) {
  p.setPen(QPen(Qt::black, 1));
  p.setBrush(QColor(40, 60, 160));
  p.drawRect(QRectF(1.5, 1.5, 13, 13));
  p.setBrush(Qt::white);
  p.drawRect(QRectF(4.5, 1.5, 7, 5));
  p.setBrush(QColor(200, 200, 200));
  p.drawRect(QRectF(4.5, 9.5, 7, 5));
}

// Three table rows, the middle one marked.
void DrawRows(QPainter& p, const QColor& mark) {
  p.setPen(QPen(Qt::black, 1));
  for (int i = 0; i < 3; ++i) {
    p.setBrush(i == 1 ? mark : QColor(Qt::white));
    p.drawRect(QRectF(1.5, 2.5 + 4 * i, 13, 3));
  }
}

void DrawInsert(QPainter& p) {
  DrawRows(p, QColor(255, 255, 160));
  p.fillRect(QRect(10, 5, 6, 2), QColor(0, 140, 0));
  p.fillRect(QRect(12, 3, 2, 6), QColor(0, 140, 0));
}

void DrawDel(QPainter& p) {
  DrawRows(p, QColor(255, 0, 0));
  p.fillRect(QRect(10, 5, 6, 2), QColor(160, 0, 0));
}

void DrawRecalc(QPainter& p) {
  p.setRenderHint(QPainter::Antialiasing, true);
  p.setPen(QPen(QColor(0, 110, 0), 2));
  p.setBrush(Qt::NoBrush);
  p.drawArc(QRectF(2.5, 2.5, 11, 11), 60 * 16, 280 * 16);
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(0, 110, 0));
  p.drawPolygon(QPolygonF({{9, 0}, {15, 3}, {9, 7}}));
}

void DrawDiagram(QPainter& p) {
  p.setPen(QPen(Qt::black, 1));
  p.drawLine(1, 14, 15, 14);
  p.drawLine(1, 1, 1, 14);
  p.fillRect(QRect(3, 8, 3, 6), QColor(220, 0, 0));
  p.fillRect(QRect(7, 4, 3, 10), QColor(0, 0, 220));
  p.fillRect(QRect(11, 6, 3, 8), QColor(0, 160, 0));
}

void DrawPrint(QPainter& p) {
  p.setPen(QPen(Qt::black, 1));
  p.setBrush(Qt::white);
  p.drawRect(QRectF(4.5, 1.5, 7, 5));
  p.setBrush(QColor(170, 170, 170));
  p.drawRect(QRectF(1.5, 6.5, 13, 6));
  p.setBrush(Qt::white);
  p.drawRect(QRectF(4.5, 10.5, 7, 4));
  p.fillRect(QRect(12, 8, 2, 1), QColor(0, 200, 0));
}

void DrawHelp(QPainter& p) {
  p.setRenderHint(QPainter::Antialiasing, true);
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(30, 80, 200));
  p.drawEllipse(QRectF(0.5, 0.5, 15, 15));
  QFont font(QStringLiteral("Arial"));
  font.setPixelSize(13);
  font.setBold(true);
  p.setFont(font);
  p.setPen(Qt::white);
  p.drawText(QRect(0, 0, kSize, kSize), Qt::AlignCenter, QStringLiteral("?"));
}

struct ButtonIconEntry {
  const char* button;
  const char* theme;  // from the freedesktop icon naming list; null: always our own
  void (*draw)(QPainter&);
};

constexpr ButtonIconEntry kButtonIcons[] = {
    {"cmdSqr", nullptr, DrawSqr},
    {"cmdReadFile", "document-open", DrawReadFile},
    {"cmdNew", "document-new", DrawSheet},
    {"cmdSaveFile", "document-save", DrawSaveFile},
    {"cmdInsert", "list-add", DrawInsert},
    {"cmdDel", "list-remove", DrawDel},
    {"cmdRecalc", "view-refresh", DrawRecalc},
    {"cmdDiagram", nullptr, DrawDiagram},
    {"cmdPrint", "document-print", DrawPrint},
    {"cmdHelp", "help-contents", DrawHelp},
};

QIcon DrawnIcon(void (*draw)(QPainter&)) {
  QPixmap pixmap(kSize, kSize);
  pixmap.fill(Qt::transparent);
  QPainter painter(&pixmap);
  painter.setRenderHint(QPainter::Antialiasing, false);
  draw(painter);
  painter.end();
  return QIcon(pixmap);
}

}  // namespace

QIcon ButtonIcon(const QString& name) {
  for (const ButtonIconEntry& entry : kButtonIcons) {
    if (name != QLatin1String(entry.button)) continue;
    if (entry.theme) {
      const QIcon themed = QIcon::fromTheme(QLatin1String(entry.theme));
      if (!themed.isNull() && !themed.availableSizes().isEmpty()) return themed;
    }
    return DrawnIcon(entry.draw);
  }
  return QIcon();
}
