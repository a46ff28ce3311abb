// A rectangle of a window's picture as an uncompressed Windows bitmap file
// (".bmp"): the 14-byte file header, the 40-byte information header, a colour
// table below 24 bits, then the rows bottom-up.
#pragma once

#include <cstdint>
#include <string>

namespace vna {

struct Window;

// The description of a bitmap the image is copied into.
struct BitmapDesc {
  int width = 0, height = 0;  // pixels
  int planes = 1;
  int bits_per_pixel = 32;
};

// The 40-byte information header, field by field as the file holds it.
struct BitmapInfoHeader {
  uint32_t size = 0;  // 40
  int32_t width = 0, height = 0;
  uint16_t planes = 0, bit_count = 0;
  uint32_t compression = 0;  // 0, uncompressed
  uint32_t size_image = 0;   // bytes of pixels written
  int32_t x_pels_per_meter = 0, y_pels_per_meter = 0;
  uint32_t clr_used = 0, clr_important = 0;
};

// Fills `info` (all zero on entry) for the bitmap and returns the size of its
// colour table, bytes: 4 x 2^b for a depth b below 24, else 0. The depth is
// planes x bits rounded up to 1, 4, 8, 16, 24 or 32; the image size is
// (width + 7) / 8 x height x b, rounded, and never less than the rows padded
// to 4 bytes need.
int FillBitmapInfo(Window& win, const BitmapDesc& bmp, BitmapInfoHeader& info);

// Copies the rectangle at (x, y) of the window's picture into the named file,
// which takes its new contents whole or keeps its old ones. A window that is
// closed or a rectangle without pixels gives "Couldn't create bitmap"; a file
// that cannot be written is named in a message. True when written.
bool SaveBitmap(const std::string& file, Window& win, int x, int y, int width, int height);

}  // namespace vna
