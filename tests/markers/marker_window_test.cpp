// The marker data window without an instrument: its refusals and limits
// message, the head lines, the rows with their SWR bars and labels, the
// buttons clicked as a person would, the rotation, and the Port B rows off
// a synthetic Port B scan.
#include "graph/marker_window.h"
#include "markers_fixture.h"

namespace vna {
namespace {

using test::MarkerTest;

// The right half of a Port A row: R, X, |Z| and phase.
std::string RightHalf(double r, double x, double z, double phase) {
  return FormatUsing(" ######.###     ######.###       ######.###         ######.###             ",
                     {r, x, z, phase});
}

class MarkerWindow : public MarkerTest {
 protected:
  void SetUp() override {
    MarkerTest::SetUp();
    StandardSet();
  }
  // Markers at 1, 7.1, 12 and 30 MHz with SWRs of 1, 2.24 and 6.
  static void StandardSet() {
    SetMarkers({1.0, 7.1, 12, 30});
    markers[1].Rs = 50;
    markers[1].SWR = 1.0;
    markers[2].Rs = 25;
    markers[2].Xs = 10;
    markers[2].SWR = 2.24;
    markers[3].Rs = 300;
    markers[3].Xs = -200;
    markers[3].SWR = 6;
  }
  // The first print at (x, y) of the marker window, "(none)" when there is none.
  static std::string RowAt(int y, int x = 20) {
    for (const auto& p : Prints(marker_win))
      if (p.x == x && p.y == y) return p.text;
    return "(none)";
  }
  static int CountAt(int x, int y) {
    int n = 0;
    for (const auto& p : Prints(marker_win)) n += p.x == x && p.y == y;
    return n;
  }
};

TEST_F(MarkerWindow, RowsInsideTheLimitsWithBarsAndHead) {
  int width = 0, height = 0, refresh_x = -1, rx = 0, ry = 0, rw = 0, rh = 0;
  std::vector<int> bar_pixels;
  WhenListed([&] {
    ClientSize(marker_win, width, height);
    GetCtlRect(marker_win, 3174, refresh_x, ry, rw, rh);
    GetCtlRect(marker_win, 3175, rx, ry, rw, rh);
    // Bars 10 pixels high from y + 5 of each row at x 234, inside a white
    // 50-pixel box with black outlines.
    for (auto [x, y] : {std::pair{235, 103},
                        {236, 103},
                        {259, 123},
                        {260, 123},
                        {261, 123},
                        {282, 143},
                        {283, 143}}) {
      bar_pixels.push_back(ReadPixel(marker_win, x, y));
    }
    SavePng(marker_win, "marker_window");
    Click(3175);
  });
  MarkerData_A();
  // Marker 4 at 30 MHz lies beyond the limits of 1..15 MHz.
  EXPECT_EQ(Boxes(), std::vector<std::string>{
                         "Markers|The present set of markers are not all contained within the "
                         "limits of this graph.\rSome of the data cannot be shown."});
  EXPECT_EQ(marker_count, 4);
  EXPECT_EQ(width, Rnd(900 * win_yscale));
  EXPECT_EQ(height, 20 * 4 + 155);
  EXPECT_EQ(refresh_x, width - 450);
  EXPECT_EQ(rx, width - 100);
  EXPECT_EQ(ry, 3);
  EXPECT_EQ(rw, 70);
  EXPECT_EQ(rh, 23);
  EXPECT_EQ(RowAt(3), "Stamp 01-02-2026  10:11:12");
  EXPECT_EQ(RowAt(23), "Reference Z = 50  + j 0");
  EXPECT_EQ(RowAt(68),
            "Marker     Freq         SWR                                     Rs                Xs  "
            "             Zmag              Phase");
  EXPECT_EQ(RowAt(93), "   [  1]    1.000000    1.0000   ");
  EXPECT_EQ(RowAt(93, 300), RightHalf(50, 0, 50, 0));
  EXPECT_EQ(RowAt(113), "   [  2]    7.100000    2.2400   ");
  EXPECT_EQ(RowAt(113, 300), RightHalf(25, 10, 26.925824, 21.80133));
  EXPECT_EQ(RowAt(133), "   [  3]   12.000000    6.0000   ");
  EXPECT_EQ(RowAt(133, 300), RightHalf(300, -200, 360.5551, -33.69));
  EXPECT_EQ(RowAt(153), "(none)");
  const int red = RedColor, white = Rgb(255, 255, 255), black = Rgb(0, 0, 0);
  EXPECT_EQ(bar_pixels, (std::vector<int>{black, white, red, black, white, red, black}));
  // The markers are shown on the graph, the relays off, and the window is
  // closed once Exit was pressed.
  EXPECT_EQ(markerena, 1);
  EXPECT_EQ(markerwin_open, 0);
  EXPECT_FALSE(marker_win.IsOpen());
  EXPECT_EQ(focus_win, 0);
  EXPECT_EQ(scan_running, 0);
  EXPECT_EQ(number_decimals, 3);
}

TEST_F(MarkerWindow, LabelsAreSixCharactersWideAndParallelHead) {
  std::vector<double> f;
  for (int i = 1; i <= 15; ++i) f.push_back(i * 0.9 + 1);
  SetMarkers(f);
  plot_rsA = 0;
  WhenListed([] { Click(3175); });
  MarkerData_A();
  EXPECT_TRUE(Boxes().empty());
  EXPECT_EQ(RowAt(93 + 4 * 20).substr(0, 8), "   [  5]");
  EXPECT_EQ(RowAt(93 + 14 * 20).substr(0, 8), "   [ 15]");
  EXPECT_EQ(RowAt(68),
            "Marker     Freq         SWR                                     Rp                Xp  "
            "             Zmag              Phase");
}

TEST_F(MarkerWindow, RefusalsOpenNothing) {
  struct Case {
    const char* what;
    int cal, recalled, present;
    std::vector<double> freqs;
    std::vector<std::string> boxes;
  };
  const Case cases[] = {
      {"no calibration with an instrument",
       0,
       0,
       1,
       {7},
       {"2587|The instrument needs to be calibrated."}},
      {"no markers", 1, 0, 0, {}, {"|No markers are defined"}},
      {"no calibration, no instrument", 0, 0, 0, {7}, {}},
  };
  for (const Case& c : cases) {
    cal_valid = c.cal;
    scan_recalled = c.recalled;
    vna_present = c.present;
    SetMarkers(c.freqs);
    testhook::ClearLogs();
    MarkerData_A();
    EXPECT_EQ(Boxes(), c.boxes) << c.what;
    EXPECT_FALSE(marker_win.IsOpen()) << c.what;
  }
  vna_present = 0;
}

TEST_F(MarkerWindow, ButtonsPrintSaveRefreshAndExit) {
  const std::string path = Dir() / "window.mrk";
  WhenListed([&] {
    testhook::QueueFileAnswer(path);
    Click(3176);
    Click(3177);
    // Refresh while a listing runs is refused; once it ended it lists again.
    Click(3174);
    WhenIdle([] {
      Click(3174);
      Click(3175);
    });
  });
  MarkerData_A();
  EXPECT_EQ(testhook::PrintedWindows(), std::vector<std::string>{"marker_win"});
  EXPECT_TRUE(std::filesystem::exists(path));
  // The list beside it holds one row per defined marker.
  const std::string list = Dir().Read("window.mrx");
  EXPECT_EQ(std::count(list.begin(), list.end(), '\n'), 2 + 4);
  // Refresh listed once more.
  EXPECT_EQ(CountAt(20, 93), 2);
  EXPECT_FALSE(marker_win.IsOpen());
}

TEST_F(MarkerWindow, RecycleRepeatsUntilExit) {
  WhenListed([] {
    Click(3193);
    testhook::SetPumpHook([] {
      // Three more passes, then Exit ends them.
      if (CountAt(20, 93) < 4 || markerwin_open == 0) return;
      testhook::SetPumpHook(nullptr);
      Click(3175);
    });
  });
  MarkerData_A();
  EXPECT_GE(CountAt(20, 93), 4);
  EXPECT_EQ(recycle_on, 0);
  EXPECT_EQ(scan_running, 0);
  EXPECT_FALSE(marker_win.IsOpen());
}

TEST_F(MarkerWindow, RecallReopensWithTheLoadedSetWithoutMeasuring) {
  testhook::QueueFileAnswer(Dir() / "set.mrk");
  cmd_param = 7;
  SetMarkers({2, 4});
  markers[2].Rs = 77;
  SaveMarkers();
  SetMarkers({1.0, 7.1, 12});
  marker_measure = 1;
  int first_instance = 0;
  WhenListed([&] {
    first_instance = marker_win.instance;
    testhook::QueueFileAnswer(Dir() / "set.mrk");
    Click(3178);
    testhook::SetPumpHook([&] {
      if (marker_win.instance == first_instance || markerwin_open == 0) return;
      testhook::SetPumpHook(nullptr);
      Click(3175);
    });
  });
  MarkerData_A();
  EXPECT_EQ(markers[1].Freq, 2);
  EXPECT_EQ(markers[2].Rs, 77);
  EXPECT_EQ(marker_measure, 0);
  std::string last_row;
  for (const auto& p : Prints(marker_win))
    if (p.x == 300 && p.y == 113) last_row = p.text;
  EXPECT_EQ(last_row.substr(0, 11), "     77.000");
  EXPECT_FALSE(marker_win.IsOpen());
}

TEST_F(MarkerWindow, RecalledScanDisablesRefreshAndRecycle) {
  scan_recalled = 1;
  cal_valid = 0;
  bool refresh = true, recycle = true, save = false;
  WhenListed([&] {
    refresh = IsCtlEnabled(marker_win, 3174);
    recycle = IsCtlEnabled(marker_win, 3193);
    save = IsCtlEnabled(marker_win, 3177);
    Click(3175);
  });
  MarkerData_A();
  EXPECT_FALSE(refresh);
  EXPECT_FALSE(recycle);
  EXPECT_TRUE(save);
  // The first line of a listing is the recalled scan's stamp.
  EXPECT_EQ(CountAt(20, 3), 2);
  for (const auto& p : Prints(marker_win)) {
    if (p.x == 20 && p.y == 3) {
      EXPECT_EQ(p.text, "Stamp 01-02-2026  10:11:12");
    }
  }
}

TEST_F(MarkerWindow, RotationAboveAThousandthOfADegreeOnly) {
  SetMarkers({7.1});
  markers[1].Rs = 100;
  markers[1].SWR = 2;
  Z0real = 50;
  Z0imag = 0;
  marker_rotation = 0.00005;
  WhenListed([] { Click(3175); });
  MarkerData_A();
  EXPECT_EQ(RowAt(93, 300), RightHalf(100, 0, 100, 0));
  EXPECT_EQ(RowAt(23), "Reference Z = 50  + j 0");

  marker_rotation = 90;
  testhook::ClearLogs();
  WhenListed([] { Click(3175); });
  MarkerData_A();
  const auto rotated = Prints(marker_win);
  bool line = false;
  for (const auto& p : rotated) {
    if (p.x == 20 && p.y == 23) {
      EXPECT_EQ(p.text, "  ***  Marker Data is Rotated by   90 deg ***  ");
      EXPECT_EQ(p.color, RedColor);
      line = true;
    }
  }
  EXPECT_TRUE(line);
  EXPECT_EQ(RowAt(43), "Reference Z = 50  + j 0");
  // 100 ohms a quarter wave along 50 ohms: 25 ohms.
  const std::string rotated_row = RowAt(113, 300);
  EXPECT_EQ(rotated_row.substr(0, 11), "     25.000") << rotated_row;
  EXPECT_EQ(rotated_row.substr(33, 10), "    25.000") << rotated_row;
  // The SWR is not turned.
  EXPECT_EQ(RowAt(113), "   [  1]    7.100000    2.0000   ");
  EXPECT_EQ(markers[1].Rs, 100);
}

TEST_F(MarkerWindow, RemeasuringWithoutAnInstrumentReadsTheStoredScan) {
  // A stored scan of 1..15 MHz: |Z| 50 + 10 per MHz above 1, phase 0, SWR 2.
  start_freq = 1;
  delta_freq = 1;
  for (int k = 0; k < 15; ++k) {
    scanA_freq[k] = 1 + k;
    scanA_zmag[k] = 50 + 10 * k;
    scanA_phase[k] = 0;
    scanA_swr[k] = 2;
  }
  struct Case {
    const char* what;
    int recalled, stored, rs_traces;
    double rs, xs, swr, rt;  // row 2 (7.1 MHz) afterwards
  };
  const double rl = -20 * std::log10(1.0 / 3);
  const Case cases[] = {
      {"a recalled scan", 1, 15, 1, 111, 0, 2, rl},
      {"demonstration mode", 0, 15, 1, 111, 0, 2, rl},
      {"parallel form, no reactance", 0, 15, 0, 111, 1000000, 2, rl},
      {"nothing stored: the row stays", 0, 0, 1, 25, 10, 2.24, 0},
  };
  for (const Case& c : cases) {
    StandardSet();
    start_freq = 1;  // the graph's redraw may move the limits
    delta_freq = 1;
    delta_freq = 1;
    scan_recalled = c.recalled;
    scan_npoints = scanA_npoints = c.stored;
    plot_rsA = c.rs_traces;
    marker_measure = 1;
    WhenListed([] { Click(3175); });
    MarkerData_A();
    EXPECT_NEAR(markers[2].Rs, c.rs, 1e-9) << c.what;
    EXPECT_NEAR(markers[2].Xs, c.xs, 1e-9) << c.what;
    EXPECT_EQ(markers[2].SWR, c.swr) << c.what;
    EXPECT_NEAR(markers[2].Rt, c.rt, 1e-9) << c.what;
  }
  scan_npoints = scanA_npoints = 0;
}

class PortBMarkers : public MarkerTest {
 protected:
  void SetUp() override {
    MarkerTest::SetUp();
    PortB_on = 1;
    vna_present = 1;
    live_data = 0;  // no relay commands reach a port
    start_freq = 1;
    end_freq = 15;
    delta_freq = 1;
    scanB_npoints = 11;
    for (int k = 0; k < 11; ++k) {
      scanB_freq[k] = k + 1;
      s21_dB[k] = -k;
      scanB_phase[k] = 10 * k / 57.296;
    }
    SetMarkers({3.5, 11, 11.5});
  }
  void TearDown() override {
    PortB_on = 0;
    vna_present = 0;
    scanB_npoints = 0;
    MarkerTest::TearDown();
  }
};

TEST_F(PortBMarkers, RowsOffTheStoredScan) {
  std::string title;
  bool refresh = true;
  int print_x = 0, y = 0, w = 0, h = 0;
  WhenListed([&] {
    title = GetTitle(marker_win);
    refresh = HasControl(marker_win, 3174);
    GetCtlRect(marker_win, 3176, print_x, y, w, h);
    Click(3175);
  });
  MarkerData_A();
  EXPECT_EQ(title, "Port B Marker Data");
  EXPECT_FALSE(refresh);
  EXPECT_EQ(print_x, Rnd(900 * win_yscale) - 170);
  std::string head, rows;
  for (const auto& p : Prints(marker_win)) {
    if (p.y == 73) head = p.text;
    if (p.y >= 98) rows += std::to_string(p.y) + ":" + p.text + "\n";
  }
  EXPECT_EQ(head, "Marker     Freq         S21 (dB)      S21_phase     ");
  // Past the last stored point (11 MHz) the last point's values.
  EXPECT_EQ(rows,
            "98:   [  1]    3.500000     -2.5000          25.00 \n"
            "118:   [  2]   11.000000     -10.0000         100.00 \n"
            "138:   [  3]   11.500000     -10.0000         100.00 \n");
  EXPECT_DOUBLE_EQ(markers[1].s21mag, -2.5);
  EXPECT_NEAR(markers[1].s21phase, 25, 1e-9);
  EXPECT_DOUBLE_EQ(markers[3].s21mag, -10);
}

TEST_F(PortBMarkers, NoRowsWithoutAnInstrumentOrAStoredScan) {
  struct Case {
    const char* what;
    int present, stored;
    int rows;
  };
  const Case cases[] = {{"no instrument", 0, 11, 0}, {"no stored Port B scan", 1, 0, 3}};
  for (const Case& c : cases) {
    vna_present = c.present;
    scanB_npoints = c.stored;
    for (int i = 1; i <= 3; ++i) markers[i].s21mag = 99;
    testhook::ClearLogs();
    WhenListed([] { Click(3175); });
    MarkerData_A();
    int rows = 0;
    for (const auto& p : Prints(marker_win)) rows += p.y >= 98;
    EXPECT_EQ(rows, c.rows) << c.what;
    // Without stored points there is nothing to read: the rows keep their values.
    EXPECT_EQ(markers[1].s21mag, 99) << c.what;
  }
}

}  // namespace
}  // namespace vna
