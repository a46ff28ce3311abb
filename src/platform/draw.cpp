#include "platform/draw.h"

#include <QFontMetrics>
#include <QGuiApplication>
#include <QPageLayout>
#include <QPainter>
#include <QPrinter>
#include <QPrinterInfo>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <map>
#include <vector>

#include "platform/qt_internal.h"
#include "platform/testhook.h"

namespace vna {
namespace qt {

QFont MakeFont(const std::string& face, int points, int weight, bool italic) {
  std::string f;
  for (char ch : face) f += static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
  QString family = "Liberation Sans";
  if (f == "courier" || f == "courier new")
    family = "Liberation Mono";
  else if (f != "arial" && f != "ariel" && !f.empty())
    family = Q(face);
  QFont font(family);
  font.setPixelSize(std::max(1, static_cast<int>(std::lround(points * 96.0 / 72.0))));
  font.setWeight(weight >= 600 ? QFont::Bold : QFont::Normal);
  font.setItalic(italic);
  font.setStyleStrategy(QFont::NoAntialias);
  return font;
}

}  // namespace qt

using namespace qt;

namespace {

QImage* ImageOf(Window& w) {
  return w.impl ? &w.impl->image : nullptr;
}

// Queues a repaint of the area; an area already queued since the last paint
// is not queued again, so thousands of small lines cost one union each.
void Touched(Window& w, const QRect& r) {
  if (!w.impl || !w.impl->client || r.isEmpty()) return;
  const QRect area = r.adjusted(-2, -2, 2, 2);
  QRect& dirty = w.impl->dirty;
  if (dirty.contains(area)) return;
  dirty |= area;
  w.impl->client->update(dirty);
}

// A painter set up from the window's state; no antialiasing, so exclusive-or
// drawing restores every pixel when done twice.
struct Painter {
  explicit Painter(Window& w, bool for_text = false) : p(&w.impl->image) {
    const DrawState& s = w.draw;
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setRenderHint(QPainter::TextAntialiasing, false);
    if (s.xor_mode && !for_text) p.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
    Qt::PenStyle style = s.pen_style == kPenDash  ? Qt::DashLine
                         : s.pen_style == kPenDot ? Qt::DotLine
                                                  : Qt::SolidLine;
    QPen pen(Color(s.pen_color), s.pen_width <= 1 ? 0 : s.pen_width, style);
    pen.setCapStyle(Qt::FlatCap);
    pen.setJoinStyle(Qt::MiterJoin);
    p.setPen(pen);
    p.setBrush(s.fill_on ? QBrush(Color(s.fill_color)) : Qt::NoBrush);
  }
  QPainter p;
};

// into := the bounding box of both, as QRect's | gives it (a null rectangle
// adds nothing); inline, because a batch of lines adds one per line.
void Unite(QRect& into, const QRect& r) {
  if (r.isNull()) return;
  if (into.isNull()) {
    into = r;
    return;
  }
  into.setCoords(std::min(into.left(), r.left()), std::min(into.top(), r.top()),
                 std::max(into.right(), r.right()), std::max(into.bottom(), r.bottom()));
}

int PenExtra(const Window& w) {
  return w.draw.pen_width / 2 + 1;
}

}  // namespace

void MoveTo(Window& w, int x, int y) {
  w.draw.pos_x = x;
  w.draw.pos_y = y;
}

void SetFont(Window& w, const std::string& face, int points, int weight, bool italic) {
  w.draw.font_face = face;
  w.draw.font_points = points;
  w.draw.font_weight = weight;
  w.draw.font_italic = italic;
}

void SetTextColor(Window& w, int color) {
  w.draw.text_color = color;
}

void SetTextBackground(Window& w, bool opaque, int color) {
  w.draw.text_opaque = opaque;
  w.draw.text_bg = color;
}

void SetPen(Window& w, int color, int style, int width) {
  w.draw.pen_color = color;
  w.draw.pen_style = style;
  w.draw.pen_width = width;
}

void SetFill(Window& w, bool on, int color) {
  w.draw.fill_on = on;
  w.draw.fill_color = color;
}

void SetXorMode(Window& w, bool on) {
  w.draw.xor_mode = on;
}

namespace {

// Fonts need the window system; a program that only loads the library
// (and so never brought the platform up) draws nothing.
bool CanMeasureText() {
  return QGuiApplication::instance() != nullptr;
}

// The rows a line of the font may ink: hinted glyphs drawn without
// smoothing can reach a row or two below the font's height.
// Kept per font: every print asks.
int InkRows(const QFont& font) {
  static std::map<QString, int> known;
  const QString key = font.key();
  if (auto it = known.find(key); it != known.end()) return it->second;
  QString probe;
  for (char16_t c = 0x21; c < 0x7F; ++c) probe += QChar(c);
  const QFontMetrics fm(font);
  const int rows = std::max(fm.height(), fm.ascent() + fm.boundingRect(probe).bottom() + 1);
  known.emplace(key, rows);
  return rows;
}

}  // namespace

int InkLineHeight(Window& w) {
  if (!CanMeasureText()) return 0;
  const DrawState& s = w.draw;
  return InkRows(MakeFont(s.font_face, s.font_points, s.font_weight, s.font_italic));
}

int FontInkLineHeight(const std::string& face, int points, int weight) {
  return CanMeasureText() ? InkRows(MakeFont(face, points, weight, false)) : 0;
}

void PrintText(Window& w, const std::string& text) {
  const DrawState& s = w.draw;
  if (!CanMeasureText()) return;
  if (testhook::Enabled()) testhook::LogPrint({w.name, s.pos_x, s.pos_y, text, s.text_color});
  // A window that is not open has nowhere to draw and no place to move to:
  // measuring the text, the costly part of printing, would be wasted.
  if (!ImageOf(w)) return;
  const QFont font = MakeFont(s.font_face, s.font_points, s.font_weight, s.font_italic);
  const QFontMetrics fm(font);
  const QString t = Q(text);
  const int adv = fm.horizontalAdvance(t);
  Painter pp(w, true);
  const QRect cell(s.pos_x, s.pos_y, adv, InkRows(font));
  if (s.text_opaque) pp.p.fillRect(cell, Color(s.text_bg));
  pp.p.setFont(font);
  pp.p.setPen(Color(s.text_color));
  pp.p.drawText(s.pos_x, s.pos_y + fm.ascent(), t);
  Touched(w, cell);
  w.draw.pos_x += adv;
}

void TextExtent(Window& w, const std::string& text, int& width, int& height) {
  FontTextExtent(w.draw.font_face, w.draw.font_points, w.draw.font_weight, text, width, height);
}

void FontTextExtent(const std::string& face, int points, int weight, const std::string& text,
                    int& width, int& height) {
  if (!CanMeasureText()) {
    width = height = 0;
    return;
  }
  const QFontMetrics fm(MakeFont(face, points, weight, false));
  width = fm.horizontalAdvance(Q(text));
  height = fm.height();
}

void DrawLine(Window& w, int x1, int y1, int x2, int y2) {
  if (QImage* img = ImageOf(w)) Touched(w, RasterLine(*img, w.draw, x1, y1, x2, y2));
  MoveTo(w, x2, y2);
}

void DrawSegments(Window& w, const std::vector<int>& xy) {
  const size_t n = xy.size() / 4;
  if (n == 0) return;
  if (QImage* img = ImageOf(w)) {
    const RasterTarget target = PrepareRaster(*img);
    const DrawState& s = w.draw;
    const LinePen pen{s.pen_color, s.pen_style, s.pen_width, s.xor_mode};
    QRect touched;
    for (size_t k = 0; k < n; ++k) {
      const int* l = &xy[4 * k];
      Unite(touched, RasterLine(target, pen, l[0], l[1], l[2], l[3]));
    }
    Touched(w, touched);
  }
  MoveTo(w, xy[4 * n - 2], xy[4 * n - 1]);
}

void DrawPenLines(Window& w, const PenLine* lines, size_t n) {
  if (n == 0) return;
  if (QImage* img = ImageOf(w)) {
    const RasterTarget target = PrepareRaster(*img);
    QRect touched;
    for (size_t k = 0; k < n; ++k) {
      const PenLine& l = lines[k];
      Unite(touched, RasterLine(target, {l.color, l.style, l.width, w.draw.xor_mode}, l.x1, l.y1,
                                l.x2, l.y2));
    }
    Touched(w, touched);
  }
  const PenLine& last = lines[n - 1];
  SetPen(w, last.color, last.style, last.width);
  MoveTo(w, last.x2, last.y2);
}

void LineTo(Window& w, int x, int y) {
  DrawLine(w, w.draw.pos_x, w.draw.pos_y, x, y);
}

void DrawRect(Window& w, int x, int y, int width, int height) {
  if (!ImageOf(w) || width <= 0 || height <= 0) return;
  Painter pp(w);
  // Outline inside the rectangle, as the drawn area is x..x+w-1.
  pp.p.drawRect(x, y, width - 1, height - 1);
  Touched(
      w, QRect(x, y, width, height).adjusted(-PenExtra(w), -PenExtra(w), PenExtra(w), PenExtra(w)));
}

void DrawEllipse(Window& w, int x, int y, int width, int height) {
  if (!ImageOf(w) || width <= 0 || height <= 0) return;
  Painter pp(w);
  pp.p.drawEllipse(x, y, width - 1, height - 1);
  Touched(
      w, QRect(x, y, width, height).adjusted(-PenExtra(w), -PenExtra(w), PenExtra(w), PenExtra(w)));
}

void DrawCircle(Window& w, int cx, int cy, int r) {
  DrawEllipse(w, cx - r, cy - r, 2 * r + 1, 2 * r + 1);
}

void DrawArc(Window& w, int x, int y, int width, int height, double start_deg, double span_deg) {
  if (!ImageOf(w) || width <= 0 || height <= 0) return;
  Painter pp(w);
  pp.p.drawArc(x, y, width - 1, height - 1, static_cast<int>(std::lround(start_deg * 16)),
               static_cast<int>(std::lround(span_deg * 16)));
  Touched(
      w, QRect(x, y, width, height).adjusted(-PenExtra(w), -PenExtra(w), PenExtra(w), PenExtra(w)));
}

void FillRect(Window& w, int x, int y, int width, int height, int color) {
  if (!ImageOf(w) || width <= 0 || height <= 0) return;
  QPainter p(&w.impl->image);
  if (w.draw.xor_mode) p.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
  p.fillRect(x, y, width, height, Color(color));
  Touched(w, QRect(x, y, width, height));
}

void FillWindow(Window& w, int color) {
  if (!ImageOf(w)) return;
  w.impl->image.fill(Color(color));
  Touched(w, w.impl->image.rect());
}

int ReadPixel(Window& w, int x, int y) {
  QImage* img = ImageOf(w);
  if (!img || !img->valid(x, y)) return -1;
  return Packed(QColor(img->pixel(x, y)));
}

namespace {

void CopyRows(const QImage* img, int x, int y, int width, int height, unsigned char* rows) {
  for (int row = 0; row < height; ++row) {
    const int sy = y + height - 1 - row;
    unsigned char* out = rows + static_cast<size_t>(row) * width * 4;
    const bool line = sy >= 0 && sy < img->height();
    const QRgb* in = line ? reinterpret_cast<const QRgb*>(img->constScanLine(sy)) : nullptr;
    for (int col = 0; col < width; ++col) {
      const int sx = x + col;
      const QRgb px = line && sx >= 0 && sx < img->width() ? in[sx] : qRgb(255, 255, 255);
      out[4 * col] = static_cast<unsigned char>(qBlue(px));
      out[4 * col + 1] = static_cast<unsigned char>(qGreen(px));
      out[4 * col + 2] = static_cast<unsigned char>(qRed(px));
      out[4 * col + 3] = 0;
    }
  }
}

}  // namespace

bool ReadImageRows(Window& w, int x, int y, int width, int height, unsigned char* rows) {
  const QImage* img = ImageOf(w);
  if (!img || width <= 0 || height <= 0) return false;
  CopyRows(img, x, y, width, height, rows);
  return true;
}

bool ReadWindowRows(Window& w, int x, int y, int width, int height, unsigned char* rows) {
  if (!ImageOf(w) || !w.impl->top || width <= 0 || height <= 0) return false;
  // Rendered from the widgets, not taken off the screen: what the window
  // holds, whatever covers it. Into an image of one pixel per window pixel,
  // whatever the screen's device pixel ratio: a grab on a scaled display
  // has two or more to a pixel, and rows taken from it would show a part
  // of the window enlarged.
  QWidget* top = w.impl->top;
  QImage shown(top->size(), QImage::Format_RGB32);
  shown.setDevicePixelRatio(1);
  shown.fill(Qt::white);
  top->render(&shown);
  CopyRows(&shown, x, y, width, height, rows);
  return true;
}

bool PrintWindowImage(Window& w, const std::string& pdf_path) {
  QImage* img = ImageOf(w);
  if (!img) return false;
  testhook::LogPrintedWindow(w.name);
  static bool told = false;
  QPrinter printer(QPrinter::HighResolution);
  if (!pdf_path.empty()) {
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(Q(pdf_path));
  } else if (QPrinterInfo::defaultPrinter().isNull()) {
    if (!told) {
      told = true;
      MsgBox(&w, "No printer is available.", " Print", kMbOk, kIconExclamation, true);
    }
    return false;
  }
  int cw = img->width(), ch = img->height();
  if (w.impl && w.impl->top) {
    cw = std::min(cw, w.impl->top->width());
    ch = std::min(ch, w.impl->top->height());
  }
  printer.setPageOrientation(cw > ch ? QPageLayout::Landscape : QPageLayout::Portrait);
  QPainter p;
  if (!p.begin(&printer)) return false;
  const QRect page = p.viewport();
  QSize target = QSize(cw, ch).scaled(page.size(), Qt::KeepAspectRatio);
  p.drawImage(QRect(page.topLeft(), target), *img, QRect(0, 0, cw, ch));
  return p.end();
}

}  // namespace vna
