#include "graph/window_bitmap.h"

#include <cstring>
#include <new>

#include "files/write_errors.h"
#include "platform/draw.h"
#include "platform/ui.h"
#include "shell/text.h"

namespace vna {
namespace {

constexpr int kFileHeaderSize = 14, kInfoHeaderSize = 40;
// Beyond any screen. At this side and 32 bits the image size, about 2^30,
// and the file size stay within the 31 bits of the size fields, and no
// product of width, height and depth overflows; at 32768 the image size
// would be 2^32, which the 32-bit field holds as 0.
constexpr int kMaxSide = 16384;

int RoundedDepth(int bits) {
  if (bits == 1) return 1;
  for (int depth : {4, 8, 16, 24})
    if (bits <= depth) return depth;
  return 32;
}

void Put16(std::string& b, size_t at, uint32_t v) {
  b[at] = static_cast<char>(v & 0xFF);
  b[at + 1] = static_cast<char>((v >> 8) & 0xFF);
}
void Put32(std::string& b, size_t at, uint32_t v) {
  for (int i = 0; i < 4; ++i) b[at + i] = static_cast<char>((v >> (8 * i)) & 0xFF);
}

void PutInfo(std::string& b, size_t at, const BitmapInfoHeader& h) {
  Put32(b, at, h.size);
  Put32(b, at + 4, static_cast<uint32_t>(h.width));
  Put32(b, at + 8, static_cast<uint32_t>(h.height));
  Put16(b, at + 12, h.planes);
  Put16(b, at + 14, h.bit_count);
  Put32(b, at + 16, h.compression);
  Put32(b, at + 20, h.size_image);
  Put32(b, at + 24, static_cast<uint32_t>(h.x_pels_per_meter));
  Put32(b, at + 28, static_cast<uint32_t>(h.y_pels_per_meter));
  Put32(b, at + 32, h.clr_used);
  Put32(b, at + 36, h.clr_important);
}

}  // namespace

int FillBitmapInfo([[maybe_unused]] Window& win, const BitmapDesc& bmp, BitmapInfoHeader& info) {
  const int depth = RoundedDepth(bmp.planes * bmp.bits_per_pixel);
  info.size = kInfoHeaderSize;
  info.width = bmp.width;
  info.height = bmp.height;
  info.planes = static_cast<uint16_t>(bmp.planes);
  info.bit_count = static_cast<uint16_t>(bmp.bits_per_pixel);
  if (depth < 24) info.clr_used = 1u << depth;
  info.compression = 0;
  const int64_t counted = Rnd64((bmp.width + 7) / 8.0 * bmp.height * depth);
  // Each row padded to 4 bytes: at 1 bit per pixel more than the count above.
  const int64_t padded = (static_cast<int64_t>(bmp.width) * depth + 31) / 32 * 4 * bmp.height;
  info.size_image = static_cast<uint32_t>(counted > padded ? counted : padded);
  return depth < 24 ? 4 << depth : 0;
}

bool SaveBitmap(const std::string& file, Window& win, int x, int y, int width, int height) {
  const auto refuse = [&win] {
    MsgBox(&win, "Couldn't create bitmap", "Error", kMbOk, kIconNone, false);
    return false;
  };
  if (!win.IsOpen() || width <= 0 || height <= 0 || width > kMaxSide || height > kMaxSide) {
    return refuse();
  }
  const BitmapDesc bmp{width, height, kImagePlanes, kImageBitsPerPixel};
  BitmapInfoHeader info;
  const int table = FillBitmapInfo(win, bmp, info);
  const size_t pixels_at = kFileHeaderSize + kInfoHeaderSize + table;
  // The rows, then zeros up to the counted image size.
  std::string bytes;
  try {
    bytes.assign(pixels_at + info.size_image, '\0');
  } catch (const std::bad_alloc&) {
    return refuse();
  }
  bytes[0] = 'B';
  bytes[1] = 'M';
  Put32(bytes, 2, static_cast<uint32_t>(bytes.size()));
  Put32(bytes, 10, static_cast<uint32_t>(pixels_at));
  PutInfo(bytes, kFileHeaderSize, info);
  // The window as the user sees it: menu bar, buttons and all.
  ReadWindowRows(win, x, y, width, height, reinterpret_cast<unsigned char*>(&bytes[pixels_at]));
  TextFile f;
  if (OpenTextFile(f, file, "W") != 0) {
    MsgBox(&win, CannotCreateFileText(file), " Save BitMap", kMbOk, kIconExclamation, true);
    return false;
  }
  WriteBytes(f, bytes);
  if (int err = CloseTextFile(f)) {
    MsgBox(&win, WriteFailedText(file, err), " Save BitMap", kMbOk, kIconExclamation, true);
    return false;
  }
  return true;
}

}  // namespace vna
