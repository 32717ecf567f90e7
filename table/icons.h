#pragma once

#include <QIcon>
#include <QPixmap>

// The cells of the button icon sheet, an SVG of the table's resources (icons/buttons.svg),
// left to right.
enum class IconCell { Sqr, Open, New, Save, Insert, Delete, Recalculate, Diagram, Print, Help };

// The button icons, drawn once from the sheet at the screen's scale, so that they stay sharp
// when the screen is scaled. No desktop theme is asked: a theme lookup costs more than the
// whole window, and a theme's icons are not the designed ones.
class ButtonIcons {
 public:
  explicit ButtonIcons(qreal devicePixelRatio);
  QIcon Icon(IconCell cell) const;

 private:
  QPixmap m_sheet;
  int m_cell;  // device pixels
  qreal m_ratio;
};
