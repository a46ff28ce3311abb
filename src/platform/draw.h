// Drawing into a window's backing image. Every window draws into its own
// image, never onto the screen; the window repaints itself from it, and
// printing and BMP files read from it. Drawing into a closed window does
// nothing.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace vna {

struct Window;

// Colours are packed r + 256 g + 65536 b, exactly as the init and config
// files store them.
constexpr int Rgb(int r, int g, int b) {
  return r + 256 * g + 65536 * b;
}

enum : int { kPenSolid = 0, kPenDash = 1, kPenDot = 2 };

struct DrawState {
  int pos_x = 0, pos_y = 0;         // print position
  std::string font_face = "arial";  // "arial", "Arial", "ariel", "courier"
  int font_points = 10;
  int font_weight = 0;  // 0, 200 regular; 600, 700 bold
  bool font_italic = false;
  int text_color = 0;
  bool text_opaque = true;
  int text_bg = Rgb(255, 255, 255);
  int pen_color = 0;
  int pen_style = kPenSolid;
  int pen_width = 1;
  bool fill_on = false;
  int fill_color = 0;
  bool xor_mode = false;
};

// State (applies to the next primitives).
void MoveTo(Window& w, int x, int y);
void SetFont(Window& w, const std::string& face, int points, int weight = 0, bool italic = false);
void SetTextColor(Window& w, int color);
void SetTextBackground(Window& w, bool opaque, int color);
void SetPen(Window& w, int color, int style = kPenSolid, int width = 1);
void SetFill(Window& w, bool on, int color = 0);
void SetXorMode(Window& w, bool on);

// Text at the print position, anchored at the top-left of its cell; the
// position then moves to the end of the text on the same line. Opaque text
// fills its cell (advance x ink line height) with the background colour.
void PrintText(Window& w, const std::string& text);
void TextExtent(Window& w, const std::string& text, int& width, int& height);
// The rows a line of text in the window's font may ink, from the top of its
// cell: the font's height (TextExtent's), or more where a glyph reaches
// below it (a bold "p" or "g" at some sizes). Wiping a line's place takes
// this many rows, so nothing of an earlier text stays under it.
int InkLineHeight(Window& w);
// The same for a font without a window.
int FontInkLineHeight(const std::string& face, int points, int weight);

// Primitives.
void DrawLine(Window& w, int x1, int y1, int x2, int y2);  // leaves the position at (x2, y2)
void LineTo(Window& w, int x, int y);
// Line segments x1, y1, x2, y2, ... drawn one after the other with the
// present pen, exactly as DrawLine would draw each, in one pass (a trace of
// many points); the position is left at the end of the last one.
void DrawSegments(Window& w, const std::vector<int>& xy);
// Lines each with its own pen, drawn one after the other exactly as SetPen
// and DrawLine would draw each, in one pass (the traces of a scan point);
// the pen and the position are left as the last line leaves them.
struct PenLine {
  int color, style, width;
  int x1, y1, x2, y2;
};
void DrawPenLines(Window& w, const PenLine* lines, size_t n);
void DrawRect(Window& w, int x, int y, int width, int height);  // outline, filled when fill is on
void DrawEllipse(Window& w, int x, int y, int width, int height);  // bounding box
void DrawCircle(Window& w, int cx, int cy, int r);
void DrawArc(Window& w, int x, int y, int width, int height, double start_deg, double span_deg);
void FillRect(Window& w, int x, int y, int width, int height, int color);  // no outline
void FillWindow(Window& w, int color);
int ReadPixel(Window& w, int x, int y);  // packed colour, -1 outside or closed

// A window's image as a bitmap holds it: 1 plane of 32 bits per pixel.
constexpr int kImagePlanes = 1, kImageBitsPerPixel = 32;
// Copies a rectangle of the window's image into `rows` (width x height x 4
// bytes) as a 32-bit device-independent bitmap holds it: the bottom row
// first, each pixel blue, green, red, 0. Pixels outside the image read as
// white. False, with nothing copied, when the window is closed or the
// rectangle is empty.
bool ReadImageRows(Window& w, int x, int y, int width, int height, unsigned char* rows);
// The same rows of the window as a person sees it: its menu bar and its
// controls over its image, x and y counted from the window's top-left
// corner (above the menu bar).
bool ReadWindowRows(Window& w, int x, int y, int width, int height, unsigned char* rows);
// Prints the window's image scaled to the page: to pdf_path when given, else
// to the default printer. Without a printer it says so once and returns false.
bool PrintWindowImage(Window& w, const std::string& pdf_path = "");

// Font metrics without a window (used by layouts computed before opening).
void FontTextExtent(const std::string& face, int points, int weight, const std::string& text,
                    int& width, int& height);

}  // namespace vna
