#pragma once

#include <QRect>
#include <QSize>
#include <cmath>

// Sizes are designed in twips; 15 twips are one logical pixel at 96 dpi, and Qt scales
// logical pixels for high-DPI screens.
inline int Twips(int twips) {
  return static_cast<int>(std::lround(twips / 15.0));
}
inline QRect TwipsRect(int left, int top, int width, int height) {
  return {Twips(left), Twips(top), Twips(width), Twips(height)};
}
inline QSize TwipsSize(int width, int height) {
  return {Twips(width), Twips(height)};
}
