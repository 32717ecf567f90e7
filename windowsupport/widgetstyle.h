#pragma once

#include <QColor>
#include <QFont>
#include <QPalette>
#include <QString>
#include <QWidget>

// A widget painted in its designed background colour, with black text, instead of the style's.
inline void SetBackground(QWidget* widget, const QColor& colour) {
  QPalette palette = widget->palette();
  palette.setColor(QPalette::Window, colour);
  palette.setColor(QPalette::WindowText, Qt::black);
  widget->setPalette(palette);
  widget->setAutoFillBackground(true);
}

// A font as the windows are designed with it: face, points, weight.
inline QFont DesignFont(const QString& family, qreal points, bool bold = false) {
  QFont font(family);
  font.setPointSizeF(points);
  font.setBold(bold);
  return font;
}
