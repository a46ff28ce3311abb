// Each readout line wipes its own area before it prints, so a shorter value
// never shows the digits of a longer one printed there before, and a value
// too long for the column stays inside the window.
#include "graph/cursor_readout.h"
#include "graph/geometry.h"
#include "graph/graph_frame.h"
#include "graph/smith_chart.h"
#include "platform/draw.h"
#include "platform/ui.h"
#include "readout_fixture.h"
#include "support/glyphs.h"
#include "support/stored_scan_plot.h"

namespace vna {
namespace {

using test::kCol;
using test::ReadoutTest;
using test::TextFont;
using test::XOf;

class ReadoutLinesTest : public ReadoutTest {
 protected:
  static TextFont Font() { return {"arial", font_size + 1, font_weight}; }
  // Width of a line's ink: its text without the blanks that end it.
  static int InkWidth(const std::string& text) {
    return test::Advance(Font(), text.substr(0, text.find_last_not_of(' ') + 1));
  }
  // The readout lines of the last call, with their positions.
  static std::vector<testhook::PrintRecord> Column() {
    std::vector<testhook::PrintRecord> out;
    for (const auto& p : testhook::Prints())
      if (p.window == main_win.name && p.x == kCol) out.push_back(p);
    return out;
  }
};

TEST_F(ReadoutLinesTest, AShorterValueLeavesNothingOfTheLongerOneBeforeIt) {
  int right = 0, h = 0;
  ClientSize(main_win, right, h);
  // 6 MHz: 50 ohms with a reactance of 1e-15 ohm, whose parallel
  // reactance |Z|^2 / Xs runs to 19 digits before the point: wider than
  // the column.
  SetPoint(5, 50, 1e-15);
  CursorReadout(XOf(6), 200);
  for (const auto& p : Column()) {
    // Every line, however long its value, ends inside the window.
    EXPECT_LE(p.x + InkWidth(p.text), right) << p.text;
  }
  std::string xp;
  for (const auto& p : Column())
    if (p.text.rfind("Xp = ", 0) == 0) xp = p.text;
  EXPECT_TRUE(xp.starts_with("Xp = 2500000000000") && xp.ends_with("...")) << xp;

  // 3 MHz: Xp -236.870. Right of every line's text its area is wiped.
  testhook::ClearLogs();
  CursorReadout(XOf(3), 200);
  SavePng(main_win, "readout_after_a_longer_value");
  const int height = test::LineHeight(Font());
  const auto lines = Column();
  ASSERT_GE(lines.size(), 14u);
  for (const auto& p : lines) {
    const int end = p.x + InkWidth(p.text);
    EXPECT_EQ(test::NotColor(main_win, end, p.y, right - end, height, bg_color), 0)
        << p.y << ": \"" << p.text << "\"";
  }
}

// The cursor moved across a scan whose reactance changes sign, size and
// unit (uH, nH, pF, uF) from point to point, in the config's default font
// (7 points, bold: the column's bold 8 points inks a row below the font's
// height) and the largest regular one: after every move each line of the
// column is its text alone on the window's background, descenders whole and
// no dot of an earlier text left. The pixels expected are those of each
// printed line's text in the column's font at its place, and the background
// everywhere else in the column down to the files panel.
TEST_F(ReadoutLinesTest, MovingTheCursorLeavesEachLineWholeOnACleanBackground) {
  const std::pair<int, int> fonts[] = {{7, 1}, {10, 0}};
  for (auto [size, bold] : fonts) {
    SCOPED_TRACE("font " + std::to_string(size) + (bold ? " bold" : ""));
    font_size = size;
    bold_font = bold;
    font_weight = bold ? 600 : 200;
    cursor_x = cursor_line_x = 0;
    MeasureGraphLayout();
    start_freq = 1;
    end_freq = 11;
    plot_at_zero = 0;
    FillWindow(main_win, bg_color);
    DrawGraph();
    const double xs[test::kPoints] = {-30000, 400, -2, 0.5, -90, 3000, -0.2, 25, -700, 1, -5};
    for (int k = 0; k < test::kPoints; ++k) SetPoint(k, 12.5 + k, xs[k]);
    test::PlotStoredScanA(test::kPoints);
    scan_npoints = test::kPoints;
  scana_ok = 1;
    int right = 0, client_h = 0;
    ClientSize(main_win, right, client_h);
    const int left = info_x + 5;
    const int top = graph_top + 5 * info_button_h + 5;
    QImage want(right - left, files_panel_y - top, QImage::Format_RGB32);
    for (int x = graph_left; x <= last_x_px; x += 4) {
      testhook::ClearLogs();
      CursorReadout(x, (graph_top + graph_bottom) / 2);
      want.fill(qt::Color(bg_color));
      int lines = 0;
      for (const auto& p : testhook::Prints()) {
        if (p.window != main_win.name || p.x < left) continue;
        ++lines;
        test::ForEachInk(Font(), p.text, p.x - left, p.y - top, [&](int px, int py) {
          if (want.valid(px, py)) want.setPixel(px, py, qt::Color(p.color).rgb());
        });
      }
      ASSERT_GE(lines, 14) << x;
      int wrong = 0;
      for (int py = 0; py < want.height(); ++py)
        for (int px = 0; px < want.width(); ++px)
          wrong +=
              ReadPixel(main_win, left + px, top + py) != qt::Packed(QColor(want.pixel(px, py)));
      if (wrong != 0) {
        SavePng(main_win, "readout_left_behind");
        FAIL() << wrong << " pixels not as the lines printed at x " << x << " (" << cursor_freq
               << " MHz) make them";
      }
    }
    SavePng(main_win, "readout_moved_font_" + std::to_string(size));
  }
}

// The Smith chart at its size with its buttons, as the user sees it (the
// buttons over the chart's image), with the main window at the config's
// size: the cursor's "Blue dot at" and s11 lines are each whole, on the
// window's background, and clear of every button and of the stamp line.
TEST_F(ReadoutLinesTest, TheSmithChartsCursorLinesAreClearOfItsButtons) {
  WinWidth = 1728;
  WinHeight = 756;
  win_xscale = WinWidth / 1024.0f;
  win_yscale = WinHeight / 768.0f;
  MeasureGraphLayout();
  start_freq = 1;
  end_freq = 11;
  plot_at_zero = 0;
  FillWindow(main_win, bg_color);
  DrawGraph();
  test::PlotStoredScanA(test::kPoints);
  scan_npoints = test::kPoints;
  scana_ok = 1;
  chart_scale = 1;
  OpenWindow(smith_win, 0, 0, 585, 585, kWinCaption, "", [] { return 0; });
  recycle_on = recycle_count = 1;  // drawn without waiting in its loop
  graph_stamp = "03-07-2025  14:05:09";
  Smith();
  recycle_on = recycle_count = 0;
  const auto stamp = Line(graph_stamp, smith_win);
  ASSERT_NE(stamp.text, "(none)");
  testhook::ClearLogs();
  CursorReadout(FreqToX(5.5), (graph_top + graph_bottom) / 2);
  const auto blue = Line("Blue dot at", smith_win);
  const auto s11 = Line("s11= ", smith_win);
  ASSERT_NE(blue.text, "(none)");
  ASSERT_NE(s11.text, "(none)");
  // The window as the user sees it: its image with the buttons over it.
  int w = 0, h = 0;
  OuterSize(smith_win, w, h);
  std::vector<unsigned char> rows(static_cast<size_t>(w) * h * 4);
  ASSERT_TRUE(ReadWindowRows(smith_win, 0, 0, w, h, rows.data()));
  QImage shown(w, h, QImage::Format_RGB32);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      const unsigned char* p = &rows[(static_cast<size_t>(h - 1 - y) * w + x) * 4];
      shown.setPixel(x, y, qRgb(p[2], p[1], p[0]));
    }
  const std::string folder = VNA_BINARY_DIR "/readout";
  std::filesystem::create_directories(folder);
  shown.save(QString::fromStdString(folder + "/smith_chart_cursor_lines.png"));
  const test::TextFont font{"arial", font_size + 1, font_weight};
  const int rows_high = FontInkLineHeight(font.face, font.points, font.weight);
  const int menu = h - 585;  // no menu bar: the image starts at the top
  for (const auto& line : {blue, s11}) {
    SCOPED_TRACE(line.text);
    EXPECT_EQ(test::MissingInk(shown, font, line.text, line.x, line.y + menu, Rgb(0, 0, 0)), 0);
    // The line's rows, its text's width: its ink in black, else background.
    const int adv = test::Advance(font, line.text);
    QImage want(adv, rows_high, QImage::Format_RGB32);
    want.fill(qt::Color(bg_color));
    test::ForEachInk(font, line.text, 0, 0, [&](int x, int y) {
      if (want.valid(x, y)) want.setPixel(x, y, qRgb(0, 0, 0));
    });
    EXPECT_TRUE(shown.copy(line.x, line.y + menu, adv, rows_high) == want);
    const QRect cell(line.x, line.y, adv, rows_high);
    for (int id : {2201, 2202, 2203, 2204, 2205, 2206, 2207, 2208}) {
      int bx = 0, by = 0, bw = 0, bh = 0;
      ASSERT_TRUE(GetCtlRect(smith_win, id, bx, by, bw, bh)) << id;
      EXPECT_FALSE(cell.intersects(QRect(bx, by, bw, bh))) << "under button " << id;
    }
  }
  EXPECT_GE(stamp.y, s11.y + rows_high);
  CloseWindow(smith_win);
  smith_active = 0;
}

// Port B mode with the Port A graph's SWR switch on but no SWR trace of its
// own: no SWR was read beside its points (here the Port A scan holds 134.8),
// and the column shows none.
TEST_F(ReadoutLinesTest, PortBShowsOnlyAnSwrItsScanRead) {
  PortB_on = 1;
  plot_swrA = 1;
  plot_swrB = 0;
  for (int k = 0; k < test::kPoints; ++k) scanA_swr[k] = 134.8;
  CursorReadout(XOf(3), 200);
  SavePng(main_win, "port_b_readout");
  for (const auto& p : Column()) EXPECT_EQ(p.text.find("SWR"), std::string::npos) << p.text;
  int right = 0, h = 0;
  ClientSize(main_win, right, h);
  // The SWR line's place (15 pixels under "Freq Step") stays empty.
  EXPECT_EQ(test::NotColor(main_win, kCol, 215, right - kCol, test::LineHeight(Font()), bg_color),
            0);
  bool three = false;
  for (const auto& p : Column()) three |= p.text == "Delay Offset =  0.000 ns      ";
  EXPECT_TRUE(three);  // 3 decimals: no SWR line before it

  // With the Port B SWR trace the scan read it beside each point, into its
  // own column.
  for (int k = 0; k < test::kPoints; ++k) scanB_swr[k] = 134.8;
  plot_swrB = 1;
  cursor_x = 0;
  testhook::ClearLogs();
  CursorReadout(XOf(3), 200);
  bool shown = false;
  for (const auto& p : Column()) shown |= p.y == 215 && p.text.starts_with("SWR  = 134.800");
  EXPECT_TRUE(shown);
  PortB_on = 0;
  plot_swrB = 0;
}

// Pictures for a person to look at: the readout over the stored scan drawn
// on the window's own layout, and its dot on the Smith chart of that scan.
TEST_F(ReadoutLinesTest, PicturesOfTheReadoutOverAScanAndOnTheSmithChart) {
  MeasureGraphLayout();
  start_freq = 1;
  end_freq = 11;
  plot_at_zero = 0;
  FillWindow(main_win, bg_color);
  DrawGraph();
  test::PlotStoredScanA(test::kPoints);
  scan_npoints = test::kPoints;
  scana_ok = 1;
  files_panel_y = graph_bottom - 3 * text_height;

  // The Smith chart of the scan, drawn into its window as a recycled chart
  // is, so the test need not wait in its loop.
  OpenWindow(smith_win, 0, 0, 585, 585, kWinCaption, "", [] { return 0; });
  recycle_on = recycle_count = 1;
  Smith();
  recycle_on = recycle_count = 0;

  const int x = FreqToX(5.5);
  CursorReadout(x, (graph_top + graph_bottom) / 2);
  SavePng(main_win, "main_window_readout");
  SavePng(smith_win, "smith_dot");
  EXPECT_EQ(cursor_freq, graph_start + (x - graph_left) / px_per_MHz);
  EXPECT_EQ(cursor_index, 4);
  // The dot on the chart at the scan point under the cursor, yellow
  // exclusive-or over the chart.
  EXPECT_EQ(smith_dot_x, smith_px[4]);
  EXPECT_NE(ReadPixel(smith_win, smith_px[4], smith_py[4]), -1);
  for (const auto& p : Column()) EXPECT_LE(p.y, files_panel_y - test::LineHeight(Font())) << p.text;
  CloseWindow(smith_win);
  smith_active = 0;
}

}  // namespace
}  // namespace vna
