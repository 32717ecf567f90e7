#pragma once

#include <QLabel>
#include <QProxyStyle>

class QLineEdit;

// A table cell: a label with a one-pixel black border. The border is drawn on the outermost
// device pixels of the cell, so it stays whole when the screen scale is fractional (1.25,
// 1.5), where the style's 1-pixel frame can fall outside the cell and vanish. The text keeps
// the place a framed label gives it.
class CellLabel final : public QLabel {
 public:
  explicit CellLabel(QWidget* parent = nullptr);
  // The text's distance from the border; without it a cell keeps its text half an "x" off
  // the border, as a framed label does.
  void SetTextIndent(int pixels);
  // The width the text may take: the cell without its border and the text's indent.
  int TextWidth() const;
  // A marked cell whose text is empty (a result of exactly 0 shows none) still has to show
  // its mark: it gets a thin inner frame in this colour. An invalid colour means no mark.
  void SetMarkColour(const QColor& colour);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void changeEvent(QEvent* event) override;

 private:
  void ResetIndent();
  bool m_indentGiven = false;
  QColor m_markColour;
};

// The window's own look over the application's style, one style object for the whole window.
// - Formula boxes: their paper and the same one-pixel black border as a CellLabel's, instead of
//   the style's rounded, shaded frame, which costs most of a repaint. Everything else, the
//   text's place above all, stays the style's.
// - Buttons: the style's own bevel, drawn once for each size, state and set of colours and
//   copied from then on. The style keeps such drawings for one palette object only, and every
//   button has a palette object of its own, so it drew every bevel of the panel at every start.
// Only the widgets given this style get it; the other fields keep the style's frame.
class TableStyle final : public QProxyStyle {
 public:
  explicit TableStyle(QObject* owner);
  void drawPrimitive(PrimitiveElement element, const QStyleOption* option, QPainter* painter,
                     const QWidget* widget = nullptr) const override;

 private:
  void DrawBevel(const QStyleOption* option, QPainter* painter, const QWidget* widget) const;
};
