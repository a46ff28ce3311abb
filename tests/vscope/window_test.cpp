// The Vector Scope window: its table, frequency steps, enable boxes, the
// settling time, the bars, and the reading failures that need no instrument.
#include "vscope/vscope_fixture.h"

namespace vna::test {
namespace {

class WindowTest : public ScopeTest {};

std::string Text(int id) {
  return GetCtlText(win_vector_scope, id);
}

TEST_F(WindowTest, OpensAtThreeAndAHalfMegahertzWithElementsOneToThree) {
  freq = 10;
  InScope([] {
    EXPECT_EQ(Text(90209), " FREQ = 3.500MHz    ");
    for (int n = 1; n <= 4; ++n) EXPECT_EQ(GetCheck(win_vector_scope, 30200 + n), n <= 3) << n;
    EXPECT_EQ(Text(kVsDelay), " 100");
    EXPECT_EQ(Text(kVsFullScale), "1");
    EXPECT_EQ(ComboItems(win_vector_scope, kVsFullScale),
              (Strings{"5", "2", "1", "0.5", "0.2", "0.1"}));
    // First opening: element 1 at 1, the others at 0.0001.
    EXPECT_EQ(Text(90221), " 1");
    EXPECT_EQ(Text(90222), " 0.0001");
    EXPECT_EQ(Text(90254), "0.0001");  // row 4 disabled: its first text stays
    KeepPng(win_vector_scope, "vector_scope_window");
    // A second "Vector Scope" command brings this one to the front.
    OpenVectorScope();
    EXPECT_EQ(vscope_open, 1);
  });
  EXPECT_EQ(vscope_open, 0);
  EXPECT_FALSE(win_vector_scope.IsOpen());
}

TEST_F(WindowTest, TableShowsRawAndNormalisedValuesWithPhaseWrappedBothWays) {
  InScope([] {
    vscope_elements[1].mag = 0.5;
    vscope_elements[1].phase = 0;
    vscope_elements[2].mag = 0.51234;
    vscope_elements[2].phase = 190 / 57.3;
    vscope_elements[3].mag = 1;
    vscope_elements[3].phase = -190 / 57.3;
    ShowVectorScopeFreq();
    EXPECT_EQ(Text(90221), " 0.5000");
    EXPECT_EQ(Text(90222), " 0.5123");
    EXPECT_EQ(Text(90223), " 1");
    EXPECT_NEAR(ParseNumber(Text(90232)), 190, 0.01);
    EXPECT_EQ(Text(90252), " 1.0247");
    EXPECT_EQ(Text(90253), " 2");
    // 190 degrees shows as -170, -190 as 170.
    EXPECT_NEAR(ParseNumber(Text(90262)), -170, 0.01);
    EXPECT_NEAR(ParseNumber(Text(90263)), 170, 0.01);
    EXPECT_EQ(indep_chan, 5);
  });
}

TEST_F(WindowTest, FrequencyStepsStayWithinTheInstrumentsRange) {
  struct Case {
    double from;
    int button;
    double to;
  };
  const Case cases[] = {
      {1180, 21230, 1200}, {3.5, 21270, 0.005}, {3.5, 21290, 4.5},  {3.5, 21330, 3.4},
      {3.5, 21350, 3.51},  {3.5, 21380, 3.501}, {100, 21240, 50},   {3.5, 21260, 13.5},
  };
  InScope([&] {
    for (const Case& c : cases) {
      freq = c.from;
      Press(win_vector_scope, c.button);
      EXPECT_NEAR(freq, c.to, 1e-9) << c.button << " from " << c.from;
      SetDigits(3);
      EXPECT_EQ(Text(90209), " FREQ =" + NumStr(c.to) + "MHz    ");
    }
  });
}

TEST_F(WindowTest, EnableBoxRefreshesTheTableThenToggles) {
  InScope([] {
    vscope_elements[1].mag = 1;
    vscope_elements[2].mag = 0.25;
    Press(win_vector_scope, 30202);
    EXPECT_EQ(chan_enabled[2], 0);
    EXPECT_FALSE(GetCheck(win_vector_scope, 30202));
    EXPECT_EQ(Text(90252), " 0.2500");  // refreshed while still enabled
    vscope_elements[2].mag = 0.5;
    Press(win_vector_scope, 21172);  // Refresh
    EXPECT_EQ(Text(90252), " 0.2500");  // disabled rows keep their texts
    EXPECT_EQ(Text(90222), " 0.5000");
    Press(win_vector_scope, 30204);
    EXPECT_EQ(chan_enabled[4], 1);
    EXPECT_TRUE(GetCheck(win_vector_scope, 30204));
  });
}

TEST_F(WindowTest, WithoutAnInstrumentReadingsAskForTheHardwareOnce) {
  InScope([] {
    PostEvent(win_vector_scope, kEvKeyDown, 0, 'S');
    PumpEvents();
    EXPECT_EQ(Boxes(""), 1) << MessageLog();
    EXPECT_EQ(testhook::MsgBoxes().back().text, "This function requires the hardware");
    Press(win_vector_scope, 30401);  // RECYCLE does not start a loop of boxes
    EXPECT_EQ(Boxes(""), 2) << MessageLog();
    EXPECT_EQ(vscope_recycle, 0);
    EXPECT_EQ(Text(30401), "RECYCLE");
    Press(win_vector_scope, 30302);  // Read 2
    EXPECT_EQ(Boxes(""), 3) << MessageLog();
    EXPECT_EQ(vscope_scanning, 0);
  });
}

// The settling time typed into "Delay" and a calibration that is no channel
// file: the reading ends at its first channel and changes nothing else.
TEST_F(WindowTest, SettlingTimeIsLimitedAndAPlainCalFileIsRefused) {
  struct Case {
    const char* typed;
    int ms;
  };
  const Case cases[] = {{"abc", 10}, {"-300", 300}, {"7000", 5000}, {"12.5", 12}, {"4", 10}};
  vna_present = 1;
  cal_file_path = "D:\\ant\\test.vcal";
  start_freq = 2;
  end_freq = 8;
  delta_freq = 0.5;
  Numscanpts = 13;
  InScope([&] {
    for (const Case& c : cases) {
      testhook::ClearLogs();
      SetCtlText(win_vector_scope, kVsDelay, c.typed);
      Press(win_vector_scope, 30302);  // Read 2, element 1 enabled
      EXPECT_EQ(vscope_settle_ms, c.ms) << c.typed;
      EXPECT_EQ(Text(kVsDelay), NumStr(c.ms));
      ASSERT_EQ(testhook::MsgBoxes().size(), 1u) << MessageLog();
      const auto& box = testhook::MsgBoxes()[0];
      EXPECT_EQ(box.caption, " No multi cal file");
      EXPECT_EQ(box.text, "Cal file is not available for channel 1.");
      EXPECT_EQ(box.owner, "main_win");
      EXPECT_EQ(mux_chan, 0);
      EXPECT_EQ(vscope_scanning, 0);
      EXPECT_EQ(start_freq, 2);
      EXPECT_EQ(end_freq, 8);
      EXPECT_EQ(delta_freq, 0.5);
      EXPECT_EQ(Numscanpts, 13);
      EXPECT_EQ(freq, 3.5);
      EXPECT_EQ(cal_file_path, "D:\\ant\\test.vcal");
    }
    vna_present = 0;
  });
}

TEST_F(WindowTest, ChannelFileNamesComeFromTheFileNameOnly) {
  struct Case {
    const char* path;
    int chan;
    const char* want;
  };
  const Case cases[] = {
      {"C:\\cal\\array.chan1", 2, "C:\\cal\\array.chan2"},
      {"C:\\cal\\array.chan1", 1, "C:\\cal\\array.chan1"},
      {"C:\\cal\\ant.chan3", 5, "C:\\cal\\ant.chan5"},
      {"/home/u/ant.chan6", 3, "/home/u/ant.chan3"},
      {"ant.chan2.old", 4, "ant.chan4"},
      {"D:\\ant\\test.vcal", 1, ""},
      {"D:\\my.chan\\test.vcal", 2, ""},  // a folder's ".chan" does not count
      {"", 1, ""},
  };
  for (const Case& c : cases) EXPECT_EQ(ChannelCalPath(c.path, c.chan), c.want) << c.path;
}

// Width of a bar's fill, read from the picture: the fill rectangle x .. x +
// fill - 1 (its outline drawn inside it) ends where the yellow of the frame
// starts again; a full bar (w - 2) meets the frame's right edge.
int BarFill(const QImage& img, int x, int y, int w) {
  int col = x + 1;
  while (col < x + w - 2 && PixelAt(img, col, y + 8) != bright_yellow_color) ++col;
  return col - x;
}
int GreenPixels(const QImage& img, int x, int y, int w) {
  int n = 0;
  for (int col = x; col < x + w; ++col) n += PixelAt(img, col, y + 8) == bright_green_color;
  return n;
}

TEST_F(WindowTest, ReadAllWithNothingEnabledOnlyShowsTheDumpPower) {
  struct Case {
    double db;
    std::string text;
    int fill;  // v / 30 x 448, v = |dB| within 0.01 .. 30
  };
  const Case cases[] = {
      {-15, " DPwr =  -15dB   ", 224},
      {0, " DPwr =  0dB   ", 0},
      {-3.25, " DPwr =  -3.250dB   ", 49},
      {-45, " DPwr =  -45dB   ", 448},
      {12, " DPwr =  12dB   ", 179},
  };
  InScope([&] {
    for (int n = 1; n <= 6; ++n) chan_enabled[n] = 0;
    PortA_cal = 0;
    for (const Case& c : cases) {
      s21_dB[0] = c.db;
      testhook::ClearLogs();
      Press(win_vector_scope, 30400);
      EXPECT_EQ(Text(kVsDumpText), c.text);
      const QImage img = Picture(win_vector_scope);
      if (c.fill == 0) {
        EXPECT_EQ(GreenPixels(img, kDumpBarX, kDumpBarY, kDumpBarW), 0);
      } else {
        EXPECT_EQ(BarFill(img, kDumpBarX, kDumpBarY, kDumpBarW), c.fill) << c.db;
      }
      EXPECT_TRUE(testhook::MsgBoxes().empty()) << MessageLog();
    }
    KeepPng(win_vector_scope, "vector_scope_dump_power");
  });
}

}  // namespace
}  // namespace vna::test
