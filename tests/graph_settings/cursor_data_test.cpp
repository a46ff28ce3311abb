// The two numbered cursors and the Cursor Data window; the SWR ruler entry.
#include "graph_settings/settings_fixture.h"

#include "graph/cursor_data.h"
#include "graph/cursor_readout.h"
#include "graph/graph_dialogs.h"
#include "graph/redraw.h"
#include "graph/smith_chart.h"
#include "support/stored_scan_plot.h"

namespace vna::test {
namespace {

using Strings = std::vector<std::string>;

// A plot box of round numbers: 0..40 MHz at 20 pixels per MHz, and a stored
// scan of 30 points at 1, 2, .. 30 MHz.
class CursorDataTest : public SettingsTest {
 protected:
  void SetUp() override {
    SettingsTest::SetUp();
    RoundBox();
    for (int k = 0; k < 30; ++k) {
      scanA_freq[k] = k + 1;
      scanA_swr[k] = 1 + 0.1 * k;
      scanA_zmag[k] = 50 + k;
      scanA_phase[k] = 0.01 * k;
    }
    scanloop = scanA_npoints = 30;
    last_step = 1;  // the stored scan's step
    last_mouse_y = 200;
    DrawStoredScan();
    RoundBox();
  }
  // The frame on the round box (0..40 MHz in 8 divisions) with the stored
  // scan's traces, as the scan left the window. (No phase scale: right of
  // this box it would stand under the readout column.)
  static void DrawStoredScan() {
    RoundBox();
    plot_at_zero = 1;
    end_freq = 40;
    plot_ZphaseA = 0;
    FillWindow(main_win, bg_color);
    DrawGraph();
    PlotStoredScanA(scanloop);
  }
  static void RoundBox() {
    graph_left = 60;
    graph_right = 860;
    graph_top = 40;
    graph_bottom = 440;
    graph_start = 0;
    graph_end = 40;
    px_per_MHz = 20;
    last_x_px = 860;
  }
  // Moves the graph cursor to x and presses the key there.
  static void Key(int x, int key) {
    CursorReadout(x, last_mouse_y);
    PostEvent(main_win, kEvKeyDown, 0, key);
    PumpEvents();
  }
  static int At(int x) { return ReadPixel(main_win, x, 200); }
};

TEST_F(CursorDataTest, KeysDrawAndMoveExclusiveOrLines) {
  // A column's pixel before any line, then with the lines now on it: the
  // graph cursor's and the two cursors', each drawn in exclusive-or.
  const int columns[3] = {261, 281, 311};
  int base[3];
  for (int k = 0; k < 3; ++k) base[k] = At(columns[k]);
  auto expect_lines = [&](const char* when) {
    for (int k = 0; k < 3; ++k) {
      const int c = columns[k];
      int v = base[k];
      if (cursor_line_x + 1 == c) v ^= Rgb(19, 19, 247) ^ bg_color;
      if (cursor1_x > 0 && cursor1_x + 1 == c) v ^= Blue ^ White;
      if (cursor2_x > 0 && cursor2_x + 1 == c) v ^= Blue ^ White;
      EXPECT_EQ(At(c), v) << when << ", column " << c;
    }
  };
  Key(260, '1');
  EXPECT_TRUE(cursor_win.IsOpen());
  EXPECT_EQ(cursordata_open, 1);
  EXPECT_EQ(cursor1_x, 260);
  EXPECT_NE(At(261), base[0]);
  expect_lines("cursor 1");
  // The same x again: erased and drawn again, one line.
  PostEvent(main_win, kEvKeyDown, 0, '1');
  PumpEvents();
  expect_lines("cursor 1 again");
  // Cursor 2 on the keypad key.
  Key(310, kVkNumpad0 + 2);
  EXPECT_EQ(cursor2_x, 310);
  expect_lines("cursor 2");
  // Cursor 1 moves: its old line goes.
  Key(280, '1');
  EXPECT_EQ(cursor1_x, 280);
  expect_lines("cursor 1 moved");
  // Above the plot box the last readout's values are taken, no line moves.
  last_mouse_y = graph_top - 5;
  Key(300, '2');
  EXPECT_EQ(cursor2_x, 310);
  EXPECT_DOUBLE_EQ(cursor2_freq, 11);
  expect_lines("cursor 2 above the box");

  // The close box erases both lines.
  PostEvent(cursor_win, kEvClose);
  PumpEvents();
  EXPECT_FALSE(cursor_win.IsOpen());
  EXPECT_EQ(cursordata_open, 0);
  EXPECT_EQ(cursor1_x, 0);
  EXPECT_EQ(cursor2_x, 0);
  expect_lines("closed");
  EXPECT_EQ(At(311), base[2]);
}

TEST_F(CursorDataTest, RowsOfTwoCursorsAndTheirDifference) {
  Key(260, '1');  // 10 MHz: point 9
  Key(310, '2');  // 12.5 MHz: halfway between points 11 and 12
  EXPECT_EQ(PrintAt(cursor_win, 5, 5), " FREQ");
  const std::string a = " Freq2       =  12.500";
  EXPECT_EQ(PrintAt(cursor_win, 5, 25), a);
  EXPECT_EQ(PrintAt(cursor_win, 5, 45), " Freq1       =  10");
  EXPECT_EQ(PrintAt(cursor_win, 5, 70), " Delta(2-1)=  2.500");
  int w = 0, h = 0;
  TextExtent(cursor_win, a, w, h);
  const int x0 = 5 + w + 60;
  EXPECT_EQ(PrintAt(cursor_win, x0, 5), " SWR");
  EXPECT_EQ(PrintAt(cursor_win, x0 + 5 * 85, 5), " RL(dB)");
  EXPECT_EQ(PrintAt(cursor_win, x0, 25), " 2.150");
  EXPECT_EQ(PrintAt(cursor_win, x0, 45), " 1.900");
  EXPECT_EQ(PrintAt(cursor_win, x0, 70), " 0.250");
  EXPECT_EQ(PrintAt(cursor_win, x0 + 85, 25), " 61.500");  // Zmag
  EXPECT_EQ(PrintAt(cursor_win, x0 + 85, 45), " 59.000");
  EXPECT_DOUBLE_EQ(cursor1_values.swr, 1.9);
  EXPECT_DOUBLE_EQ(cursor2_values.zmag, 61.5);

  int cw = 0, ch = 0;
  ClientSize(cursor_win, cw, ch);
  EXPECT_EQ(cw, 750);
  EXPECT_EQ(ch, 150);
  // The main window with the Cursor Data window where it stands on it.
  QImage img = Picture(main_win);
  QPainter p(&img);
  p.drawImage(WinLeft, status_y - 50, Picture(cursor_win));
  p.end();
  KeepPng(img, "cursor_data");
}

TEST_F(CursorDataTest, NoGhostLineAfterARedraw) {
  const int pen = Blue ^ White;
  Key(260, '1');
  RedrawGraph();
  RoundBox();
  const int at261 = At(261);
  CursorReadout(310, 200);
  const int at311 = At(311);
  PostEvent(main_win, kEvKeyDown, 0, '1');
  PumpEvents();
  EXPECT_EQ(At(261), at261);
  EXPECT_EQ(At(311), at311 ^ pen);
  // The values fixed before the redraw stay.
  EXPECT_DOUBLE_EQ(cursor1_freq, 12.5);
}

TEST_F(CursorDataTest, TdrRowsInMetres) {
  tdr_mode = 1;
  metric = 1;
  tdr_zo = 50;
  cursor_distance = 100;
  cursor_zline = 75;
  key_code = '1';
  ShowCursorData();
  cursor_distance = 50;
  cursor_zline = 50;
  key_code = '2';
  ShowCursorData();
  metric = 0;
  int cw = 0, ch = 0;
  ClientSize(cursor_win, cw, ch);
  EXPECT_EQ(cw, 500);
  EXPECT_EQ(PrintAt(cursor_win, 5, 45), " Distance1 =   30.48  Z1=   75.00     Rho1= 0.200");
  EXPECT_EQ(PrintAt(cursor_win, 5, 25), " Distance2 =   15.24  Z2=   50.00     Rho2= 0.000");
  EXPECT_EQ(PrintAt(cursor_win, 5, 70), " Del_DX =  -15.240     Del_Z =  -25");
  // No frequency heading and no table.
  EXPECT_EQ(PrintAt(cursor_win, 5, 5), "(none)");
  EXPECT_EQ(Prints(cursor_win).size(), 6u);
}

// ---- SWR ruler ----

constexpr const char* kSwrRuler = "SWR Ruler";

// Draws the first Smith chart and closes it; returns what it printed.
Strings SmithTexts(QImage& img) {
  testhook::ClearLogs();
  QTimer::singleShot(0, [&img] {
    img = SettingsTest::Picture(smith_win);
    PostEvent(smith_win, kEvClose);
  });
  Smith();
  Strings out;
  for (const auto& p : testhook::Prints())
    if (p.window == smith_win.name) out.push_back(p.text);
  return out;
}

int CountColor(const QImage& img, int color) {
  int n = 0;
  for (int y = 0; y < img.height(); ++y)
    for (int x = 0; x < img.width(); ++x)
      if (qt::Packed(QColor(img.pixel(x, y))) == color) ++n;
  return n;
}

bool HasText(const Strings& texts, const std::string& start) {
  for (const std::string& t : texts)
    if (t.rfind(start, 0) == 0) return true;
  return false;
}

TEST_F(SettingsTest, SwrRulerEntry) {
  swr_ruler = 1.5;
  // A stored scan for the chart: three points of 50 ohms.
  for (int k = 0; k < 3; ++k) {
    scanA_freq[k] = k + 1;
    scanA_Rs[k] = 50;
    scanA_Xs[k] = 0;
  }
  scanA_npoints = 3;
  scana_ok = 1;
  Green = Rgb(0, 151, 0);  // a colour nothing else on the chart uses
  AnswerDialog(kSwrRuler, {{1, "2.5"}}, 7);
  DispatchCommand(147);
  EXPECT_EQ(swr_ruler, 2.5);
  EXPECT_EQ(ruler_drawn, 1);
  EXPECT_TRUE(MenuChecked(147));
  EXPECT_EQ(focus_win, 1);
  QImage with;
  EXPECT_TRUE(HasText(SmithTexts(with), "SWRref="));
  EXPECT_GT(CountColor(with, Green), 0);

  AnswerDialog(kSwrRuler, {{1, "0.0"}}, 7);
  DispatchCommand(147);
  EXPECT_EQ(swr_ruler, 0);
  EXPECT_EQ(ruler_drawn, 0);
  EXPECT_FALSE(MenuChecked(147));
  QImage without;
  EXPECT_FALSE(HasText(SmithTexts(without), "SWRref="));
  EXPECT_EQ(CountColor(without, Green), 0);

  // An empty field or the close box changes nothing; a text that is no
  // number reads as 0.
  swr_ruler = 2;
  AnswerDialog(kSwrRuler, {{1, ""}}, 7);
  EnterSwrRuler();
  AnswerDialog(kSwrRuler, {{1, "3"}}, 0);
  EnterSwrRuler();
  EXPECT_EQ(swr_ruler, 2);
  AnswerDialog(kSwrRuler, {{1, "x3"}}, 7);
  EnterSwrRuler();
  EXPECT_EQ(swr_ruler, 0);
  smith_active = smith_drawn = 0;
  smith_dot_x = 0;
  scanA_npoints = 0;
  scana_ok = 0;
}

}  // namespace
}  // namespace vna::test
