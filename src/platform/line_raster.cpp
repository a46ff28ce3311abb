// Lines drawn straight into a window's backing image. A scan redraw puts
// hundreds of thousands of short segments on the graph; a painter per line
// costs a microsecond each, this a few dozen nanoseconds. The pixels follow
// the painter's aliased rules for the lines the program draws: a one-pixel
// line covers the Bresenham pixels from its start up to, not including, its
// end point (a line of no length is one pixel); a wider line is a run of
// `width` pixels across the line at each of those steps, from
// centre - width / 2, so a horizontal line of width 2 at y covers y - 1 and y
// (a wider line of no length draws nothing). Dashes are 4 x width on,
// 2 x width off; dots width on, 2 x width off; the pattern starts afresh with
// every line.
#include <algorithm>
#include <cstdint>
#include <cstdlib>

#include "platform/qt_internal.h"

namespace vna::qt {

namespace {

struct Plotter {
  uchar* bits;
  qsizetype stride;
  int w, h;
  QRgb rgb;
  bool xor_mode;

  void Put(int64_t x, int64_t y) const {
    if (x < 0 || y < 0 || x >= w || y >= h) return;
    QRgb* p = reinterpret_cast<QRgb*>(bits + y * stride) + x;
    *p = xor_mode ? (*p ^ (rgb & 0x00FFFFFF)) : rgb;
  }
  // The rectangle x0..x1 by y0..y1 (inclusive), clipped to the image.
  void Block(int64_t x0, int64_t x1, int64_t y0, int64_t y1) const {
    x0 = std::max<int64_t>(x0, 0);
    y0 = std::max<int64_t>(y0, 0);
    x1 = std::min<int64_t>(x1, w - 1);
    y1 = std::min<int64_t>(y1, h - 1);
    if (x0 > x1 || y0 > y1) return;  // wholly beside the image
    for (int64_t y = y0; y <= y1; ++y) {
      QRgb* row = reinterpret_cast<QRgb*>(bits + y * stride);
      if (xor_mode) {
        for (int64_t x = x0; x <= x1; ++x) row[x] ^= rgb & 0x00FFFFFF;
      } else {
        std::fill(row + x0, row + x1 + 1, rgb);
      }
    }
  }
  // A run of n pixels across the line at (major, minor).
  void Run(bool x_major, int64_t major, int64_t minor, int n) const {
    const int64_t first = minor - n / 2;
    for (int k = 0; k < n; ++k) {
      if (x_major)
        Put(major, first + k);
      else
        Put(first + k, major);
    }
  }
};

// Steps 0..n-1 of a line whose major coordinate starts at m0 and moves by s,
// restricted to the steps whose major coordinate lies in [0, limit).
void StepRange(int64_t m0, int s, int64_t n, int64_t limit, int64_t& lo, int64_t& hi) {
  if (s > 0) {
    lo = std::max<int64_t>(0, -m0);
    hi = std::min<int64_t>(n - 1, limit - 1 - m0);
  } else {
    lo = std::max<int64_t>(0, m0 - (limit - 1));
    hi = std::min<int64_t>(n - 1, m0);
  }
}

}  // namespace

RasterTarget PrepareRaster(QImage& img) {
  if (img.isNull() || img.depth() != 32) return {};
  return {img.bits(), img.bytesPerLine(), img.width(), img.height()};
}

QRect RasterLine(QImage& img, const DrawState& s, int x1, int y1, int x2, int y2) {
  return RasterLine(PrepareRaster(img), {s.pen_color, s.pen_style, s.pen_width, s.xor_mode}, x1, y1,
                    x2, y2);
}

QRect RasterLine(const RasterTarget& t, const LinePen& pen, int x1, int y1, int x2, int y2) {
  if (t.bits == nullptr) return {};
  const int width = std::max(1, pen.width);
  int on = 0, period = 0;  // solid when period is 0
  if (pen.style == kPenDash) {
    on = 4 * width;
    period = 6 * width;
  } else if (pen.style == kPenDot) {
    on = width;
    period = 3 * width;
  }
  // Packed r + 256 g + 65536 b to the image's 0xAARRGGBB.
  const int p = pen.color;
  const QRgb rgb = qRgb(p & 0xFF, (p >> 8) & 0xFF, (p >> 16) & 0xFF);
  const Plotter plot{t.bits, t.stride, t.width, t.height, rgb, pen.xor_mode};

  const int64_t dx = static_cast<int64_t>(x2) - x1;
  const int64_t dy = static_cast<int64_t>(y2) - y1;
  if (dx == 0 && dy == 0) {
    if (width > 1) return {};
    plot.Put(x1, y1);
    return QRect(x1, y1, 1, 1);
  }
  const bool x_major = std::llabs(dx) >= std::llabs(dy);
  const int64_t n = x_major ? std::llabs(dx) : std::llabs(dy);  // steps, the end excluded
  const int64_t d_minor = x_major ? dy : dx;
  const int64_t m0 = x_major ? x1 : y1;
  const int64_t n0 = x_major ? y1 : x1;
  const int s_major = (x_major ? dx : dy) > 0 ? 1 : -1;
  int64_t lo = 0, hi = -1;
  StepRange(m0, s_major, n, x_major ? t.width : t.height, lo, hi);
  if (lo > hi) return {};
  if (d_minor == 0 && period == 0) {
    // Straight along an axis and solid: the runs of all steps make one
    // rectangle (most lines of a scan redraw are short vertical ones).
    const int64_t a = m0 + s_major * lo, b = m0 + s_major * hi;
    const int64_t first = n0 - width / 2, last = first + width - 1;
    if (x_major)
      plot.Block(std::min(a, b), std::max(a, b), first, last);
    else
      plot.Block(first, last, std::min(a, b), std::max(a, b));
  } else {
    // The minor coordinate at step i, rounded with halves toward the start,
    // as the painter does: n0 + sign * floor((2 i |d| + n - 1) / 2n).
    const int64_t ad = std::llabs(d_minor);
    const int s_minor = d_minor >= 0 ? 1 : -1;
    const int64_t n2 = 2 * n;
    const __int128 start = static_cast<__int128>(2 * lo) * ad + n - 1;
    int64_t q = static_cast<int64_t>(start / n2), r = static_cast<int64_t>(start % n2);
    const int64_t q_step = (2 * ad) / n2, r_step = (2 * ad) % n2;
    for (int64_t i = lo; i <= hi; ++i) {
      if (period == 0 || (i % period) < on)
        plot.Run(x_major, m0 + s_major * i, n0 + s_minor * q, width);
      q += q_step;
      r += r_step;
      if (r >= n2) {
        r -= n2;
        ++q;
      }
    }
  }
  // The area touched, for the repaint.
  auto fit = [](int64_t v) { return static_cast<int>(std::clamp<int64_t>(v, -1, 1 << 24)); };
  const int64_t a = m0 + s_major * lo, b = m0 + s_major * hi;
  const int64_t lo_minor = std::min<int64_t>(n0, n0 + d_minor) - width;
  const int64_t hi_minor = std::max<int64_t>(n0, n0 + d_minor) + width;
  const QPoint p1 = x_major ? QPoint(fit(std::min(a, b)), fit(lo_minor))
                            : QPoint(fit(lo_minor), fit(std::min(a, b)));
  const QPoint p2 = x_major ? QPoint(fit(std::max(a, b)), fit(hi_minor))
                            : QPoint(fit(hi_minor), fit(std::max(a, b)));
  return QRect(p1, p2) & QRect(0, 0, t.width, t.height);
}

}  // namespace vna::qt
