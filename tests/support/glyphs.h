// Where a text's pixels belong: the text drawn alone in its font, at the
// position a layout gives for it, is compared with a window's picture (or
// any image). Fonts are the platform's own, drawn without smoothing, so a
// glyph lands on exactly the same pixels every time.
#pragma once

#include <QFontMetrics>
#include <QImage>
#include <QPainter>

#include <string>

#include "platform/draw.h"
#include "platform/qt_internal.h"

namespace vna::test {

struct TextFont {
  std::string face;
  int points;
  int weight;
};

// The pixels a text printed at (x, y), the top-left of its cell, inks.
inline QImage InkOf(const TextFont& f, const std::string& text, int& ox, int& oy) {
  const QFont font = qt::MakeFont(f.face, f.points, f.weight, false);
  const QFontMetrics fm(font);
  const QString t = qt::Q(text);
  ox = 20;
  oy = 20;
  QImage img(fm.horizontalAdvance(t) + 2 * ox, fm.height() + 2 * oy, QImage::Format_RGB32);
  img.fill(Qt::white);
  QPainter p(&img);
  p.setFont(font);
  p.setPen(Qt::black);
  p.drawText(ox, oy + fm.ascent(), t);
  return img;
}

// Calls ink(x, y) for every pixel the text inks when printed at (x, y).
template <typename F>
void ForEachInk(const TextFont& f, const std::string& text, int x, int y, F ink) {
  int ox = 0, oy = 0;
  const QImage img = InkOf(f, text, ox, oy);
  for (int py = 0; py < img.height(); ++py)
    for (int px = 0; px < img.width(); ++px)
      if (qGray(img.pixel(px, py)) < 128) ink(x + px - ox, y + py - oy);
}

// How many of the text's ink pixels are not `color` in the image (a pixel
// outside the image counts as missing).
inline int MissingInk(const QImage& img, const TextFont& f, const std::string& text, int x, int y,
                      int color) {
  int missing = 0;
  ForEachInk(f, text, x, y, [&](int px, int py) {
    if (!img.valid(px, py) || qt::Packed(QColor(img.pixel(px, py))) != color) ++missing;
  });
  return missing;
}
inline int MissingInk(Window& w, const TextFont& f, const std::string& text, int x, int y,
                      int color) {
  int missing = 0;
  ForEachInk(f, text, x, y, [&](int px, int py) {
    if (ReadPixel(w, px, py) != color) ++missing;
  });
  return missing;
}

// The box that holds every ink pixel of the text printed at (x, y).
inline QRect InkBox(const TextFont& f, const std::string& text, int x, int y) {
  QRect box;
  ForEachInk(f, text, x, y, [&](int px, int py) { box |= QRect(px, py, 1, 1); });
  return box;
}

// Pixels of the rectangle that are not `color`.
inline int NotColor(Window& w, int x, int y, int width, int height, int color) {
  int n = 0;
  for (int py = y; py < y + height; ++py)
    for (int px = x; px < x + width; ++px)
      if (ReadPixel(w, px, py) != color) ++n;
  return n;
}

inline int Advance(const TextFont& f, const std::string& text) {
  int w = 0, h = 0;
  FontTextExtent(f.face, f.points, f.weight, text, w, h);
  return w;
}
inline int LineHeight(const TextFont& f) {
  int w = 0, h = 0;
  FontTextExtent(f.face, f.points, f.weight, "X", w, h);
  return h;
}

}  // namespace vna::test
