// Window pictures saved as BMP files: every header field, the rows as the
// window shows them, the information header for every depth, and files that
// cannot be written.
#include <sys/stat.h>

#include <QFile>

#include <cstdint>
#include <filesystem>

#include "charts/charts_fixture.h"
#include "graph/smith_chart.h"
#include "graph/window_bitmap.h"
#include "support/temp_dir.h"

namespace vna::test {
namespace {

uint32_t U32(const std::string& b, size_t at) {
  uint32_t v = 0;
  for (int i = 3; i >= 0; --i) v = v << 8 | static_cast<unsigned char>(b[at + i]);
  return v;
}
uint32_t U16(const std::string& b, size_t at) {
  return static_cast<unsigned char>(b[at]) | static_cast<unsigned char>(b[at + 1]) << 8;
}

class BitmapTest : public ChartTest {
 protected:
  // Checks the file against the window's picture and returns its bytes.
  static std::string CheckFile(const std::string& path, const QImage& img, int w, int h) {
    QFile f(QString::fromStdString(path));
    EXPECT_TRUE(f.open(QIODevice::ReadOnly));
    const QByteArray raw = f.readAll();
    const std::string b(raw.constData(), raw.size());
    const uint32_t image = static_cast<uint32_t>(std::nearbyint((w + 7) / 8.0 * h * 32));
    EXPECT_EQ(b.substr(0, 2), "BM");
    EXPECT_EQ(U32(b, 2), 54 + image);  // file size
    EXPECT_EQ(U32(b, 6), 0u);          // both reserved words
    EXPECT_EQ(U32(b, 10), 54u);        // pixels right after the headers: no colour table
    EXPECT_EQ(U32(b, 14), 40u);
    EXPECT_EQ(U32(b, 18), static_cast<uint32_t>(w));
    EXPECT_EQ(U32(b, 22), static_cast<uint32_t>(h));  // positive: bottom-up
    EXPECT_EQ(U16(b, 26), 1u);
    EXPECT_EQ(U16(b, 28), 32u);
    EXPECT_EQ(U32(b, 30), 0u);
    EXPECT_EQ(U32(b, 34), image);
    for (size_t at : {38, 42, 46, 50}) EXPECT_EQ(U32(b, at), 0u) << at;
    EXPECT_EQ(b.size(), 54 + image);
    if (b.size() != 54 + image) return b;
    // Row r of the file is line h - 1 - r of the picture; blue, green, red, 0.
    for (int r = 0; r < h; ++r)
      for (int x = 0; x < w; ++x) {
        const size_t at = 54 + (static_cast<size_t>(r) * w + x) * 4;
        const int c = Rgb(static_cast<unsigned char>(b[at + 2]),
                          static_cast<unsigned char>(b[at + 1]), static_cast<unsigned char>(b[at]));
        if (c != PixelAt(img, x, h - 1 - r) || b[at + 3] != 0) {
          ADD_FAILURE() << "pixel " << x << "," << h - 1 - r;
          return b;
        }
      }
    // The counted image size is larger than the rows: zeros fill it.
    EXPECT_EQ(b.find_first_not_of('\0', 54 + static_cast<size_t>(w) * h * 4), std::string::npos);
    // Another reader sees the same picture.
    const QImage back(QString::fromStdString(path));
    EXPECT_EQ(back.size(), QSize(w, h));
    for (int y = 0; y < h; y += 7)
      for (int x = 0; x < w; x += 5)
        if (PixelAt(back, x, y) != PixelAt(img, x, y)) {
          ADD_FAILURE() << "QImage differs at " << x << "," << y;
          return b;
        }
    return b;
  }
};

TEST_F(BitmapTest, An800By600WindowWithEveryField) {
  Window w{"picture_win"};
  OpenWindow(w, 0, 0, 800, 600, kWinCaption, "", [] { return 0; });
  FillWindow(w, Rgb(10, 20, 30));
  SetPen(w, Rgb(200, 100, 0), kPenSolid, 3);
  DrawLine(w, 0, 0, 799, 599);
  SetFill(w, true, Rgb(0, 255, 0));
  DrawRect(w, 700, 10, 60, 40);  // top right: the end of the file
  testing::TempDir dir;
  ASSERT_TRUE(SaveBitmap(dir / "w.bmp", w, 0, 0, 800, 600));
  const std::string b = CheckFile(dir / "w.bmp", Picture(w), 800, 600);
  // 32 bits: the image size counts 3228 bytes a row, the rows need 3200.
  EXPECT_EQ(U32(b, 34), 3228u * 600);
  EXPECT_TRUE(testhook::MsgBoxes().empty());
  CloseWindow(w);
}

TEST_F(BitmapTest, AChartWindowAndARectangleOfIt) {
  SetScan({{50, 0}, {0, 0}, {kOpen, 0}, {25, 25}});
  testing::TempDir dir;
  QImage img;
  RunChart(smith_win, Smith, {[&] {
             // The chart as the user sees it: its image with its buttons.
             img = smith_win.impl->top->grab().toImage().convertToFormat(QImage::Format_RGB32);
             SaveBitmap(dir / "smith.bmp", smith_win, 0, 0, 585, 585);
             SaveBitmap(dir / "part.bmp", smith_win, 100, 50, 101, 40);
             PostEvent(smith_win, kEvClose);
           }});
  CheckFile(dir / "smith.bmp", img, 585, 585);
  const QImage part(QString::fromStdString(dir / "part.bmp"));
  ASSERT_EQ(part.size(), QSize(101, 40));
  for (int y = 0; y < 40; ++y)
    for (int x = 0; x < 101; ++x) ASSERT_EQ(PixelAt(part, x, y), PixelAt(img, 100 + x, 50 + y));
}

TEST_F(BitmapTest, InformationHeaderForEveryDepth) {
  struct Case {
    int bits;
    int depth;
    uint32_t image_800, image_801;  // height 600
  };
  // (width + 7) / 8 x 600 x depth, rounded: 100.875 and 101 bytes per bit
  // of depth. At 1 bit the 801-pixel rows padded to 4 bytes need 104 each,
  // more than the 101 counted: the rows win.
  const Case cases[] = {
      {1, 1, 60525, 62400},       {2, 4, 242100, 242400},   {4, 4, 242100, 242400},
      {8, 8, 484200, 484800},     {15, 16, 968400, 969600}, {16, 16, 968400, 969600},
      {24, 24, 1452600, 1454400},  // 2424 a row at 801
      {32, 32, 1936800, 1939200},
  };
  Window w{"unused"};
  for (const Case& c : cases) {
    for (int width : {800, 801}) {
      BitmapInfoHeader info;
      const int table = FillBitmapInfo(w, {width, 600, 1, c.bits}, info);
      EXPECT_EQ(table, c.depth < 24 ? 4 << c.depth : 0) << c.bits;
      EXPECT_EQ(info.size, 40u);
      EXPECT_EQ(info.width, width);
      EXPECT_EQ(info.height, 600);
      EXPECT_EQ(info.planes, 1);
      EXPECT_EQ(info.bit_count, c.bits);  // as the bitmap has it, unrounded
      EXPECT_EQ(info.compression, 0u);
      EXPECT_EQ(info.clr_used, c.depth < 24 ? 1u << c.depth : 0u) << c.bits;
      EXPECT_EQ(info.size_image, width == 800 ? c.image_800 : c.image_801)
          << c.bits << " " << width;
      EXPECT_EQ(info.clr_important, 0u);
    }
  }
  // Planes count into the depth: 2 planes of 4 bits are 8.
  BitmapInfoHeader info;
  EXPECT_EQ(FillBitmapInfo(w, {800, 600, 2, 4}, info), 1024);
  EXPECT_EQ(info.planes, 2);
  EXPECT_EQ(info.bit_count, 4);
}

TEST_F(BitmapTest, AFileThatCannotBeWrittenIsNamedAndNothingIsLost) {
  Window w{"picture_win"};
  OpenWindow(w, 0, 0, 200, 100, kWinCaption, "", [] { return 0; });
  testing::TempDir dir;
  // A missing folder.
  const std::string missing = dir / "no such folder/w.bmp";
  EXPECT_FALSE(SaveBitmap(missing, w, 0, 0, 200, 100));
  ASSERT_EQ(testhook::MsgBoxes().size(), 1u);
  EXPECT_NE(testhook::MsgBoxes()[0].text.find(missing), std::string::npos);
  EXPECT_NE(testhook::MsgBoxes()[0].text.find("does not exist"), std::string::npos);
  EXPECT_FALSE(std::filesystem::exists(missing));
  // A read-only folder: no new file, no temporary left behind.
  testhook::ClearLogs();
  std::filesystem::create_directory(dir / "ro");
  chmod((dir / "ro").c_str(), 0555);
  EXPECT_FALSE(SaveBitmap(dir / "ro/w.bmp", w, 0, 0, 200, 100));
  ASSERT_EQ(testhook::MsgBoxes().size(), 1u);
  EXPECT_NE(testhook::MsgBoxes()[0].text.find(dir / "ro/w.bmp"), std::string::npos);
  EXPECT_TRUE(std::filesystem::is_empty(dir / "ro"));
  chmod((dir / "ro").c_str(), 0755);
  // A read-only old file stays whole.
  testhook::ClearLogs();
  const std::string old = dir.Write("old.bmp", "the old picture");
  chmod(old.c_str(), 0444);
  EXPECT_FALSE(SaveBitmap(old, w, 0, 0, 200, 100));
  EXPECT_EQ(testhook::MsgBoxes().size(), 1u);
  EXPECT_EQ(dir.Read("old.bmp"), "the old picture");
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 2);  // ro, old.bmp
  chmod(old.c_str(), 0644);
  // A writable old file is replaced whole.
  testhook::ClearLogs();
  EXPECT_TRUE(SaveBitmap(old, w, 0, 0, 200, 100));
  EXPECT_EQ(dir.Read("old.bmp").size(), 54u + 82800);  // (207 / 8) x 100 x 32
  EXPECT_TRUE(testhook::MsgBoxes().empty());
  CloseWindow(w);
}

// Sides beyond any screen are refused before a size is computed: at 32768 x
// 32768 and 32 bits the image size is 2^32, which a 32-bit field holds as 0,
// and the rows would be written far past the block allocated for them. The
// largest side taken keeps every size within 31 bits.
TEST_F(BitmapTest, SidesBeyondAnyScreenAreRefusedBeforeASizeCanWrap) {
  Window w{"picture_win"};
  testing::TempDir dir;
  OpenWindow(w, 0, 0, 200, 100, kWinCaption, "", [] { return 0; });
  BitmapInfoHeader info;
  EXPECT_EQ(FillBitmapInfo(w, {16384, 16384, 1, 32}, info), 0);
  EXPECT_EQ(info.size_image, 1074200576u);  // (16391 / 8) x 16384 x 32
  for (auto [width, height] : {std::pair{32768, 32768}, {16385, 10}, {10, 16385}}) {
    SCOPED_TRACE(std::to_string(width) + " x " + std::to_string(height));
    testhook::ClearLogs();
    EXPECT_FALSE(SaveBitmap(dir / "huge.bmp", w, 0, 0, width, height));
    ASSERT_EQ(testhook::MsgBoxes().size(), 1u);
    EXPECT_EQ(testhook::MsgBoxes()[0].caption, "Error");
    EXPECT_EQ(testhook::MsgBoxes()[0].text, "Couldn't create bitmap");
  }
  EXPECT_TRUE(std::filesystem::is_empty(dir.path()));
  CloseWindow(w);
}

TEST_F(BitmapTest, NoBitmapOfAClosedWindowOrAnEmptyRectangle) {
  Window w{"picture_win"};
  testing::TempDir dir;
  EXPECT_FALSE(SaveBitmap(dir / "closed.bmp", w, 0, 0, 100, 100));
  OpenWindow(w, 0, 0, 200, 100, kWinCaption, "", [] { return 0; });
  EXPECT_FALSE(SaveBitmap(dir / "empty.bmp", w, 0, 0, 0, 10));
  EXPECT_FALSE(SaveBitmap(dir / "negative.bmp", w, 0, 0, 10, -5));
  ASSERT_EQ(testhook::MsgBoxes().size(), 3u);
  for (const auto& box : testhook::MsgBoxes()) {
    EXPECT_EQ(box.text, "Couldn't create bitmap");
    EXPECT_EQ(box.caption, "Error");
  }
  EXPECT_TRUE(std::filesystem::is_empty(dir.path()));
  CloseWindow(w);
}

}  // namespace
}  // namespace vna::test
