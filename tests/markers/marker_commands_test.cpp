// The marker commands: inserting and removing through the " Marker" dialog
// at a right click, the menu items, the rotation of a marker impedance, and
// the three small dialogs of the graph by scripted answers.
#include "graph/graph_dialogs.h"
#include "graph/graph_frame.h"
#include "graph/marker_commands.h"
#include "markers_fixture.h"
#include "shell/commands.h"

namespace vna {
namespace {

using test::AnswerDialog;
using test::MarkerTest;

const std::string kMarkerTitle = " Marker  ver-636A";

// A right click at window x on the main graph, answered in the " Marker"
// dialog by typing `text` and pressing `button`.
void RightClick(int x, const std::string& text, int button) {
  AnswerDialog(kMarkerTitle, {{1, text}}, button);
  msg_mouse_x = x;
  MarkerCommand(9);
}

std::vector<double> Freqs() {
  std::vector<double> f;
  for (int i = 1; i <= kMaxMarkers; ++i) f.push_back(markers[i].Freq);
  return f;
}

class MarkerCommands : public MarkerTest {
 protected:
  void SetUp() override {
    MarkerTest::SetUp();
    // A plot box whose frequencies are easy to work out: 1 MHz per 50 pixels.
    graph_left = 100;
    graph_start = 0;
    graph_end = 16;
    px_per_MHz = 50;
  }
};

TEST_F(MarkerCommands, InsertTypedFrequencies) {
  struct Case {
    std::string typed;
    double freq;  // 0: nothing inserted
  };
  const Case cases[] = {
      {"7.1", 7.1}, {"7100k", 7.1}, {"7100 K", 7.1}, {"-3.5", 3.5}, {"", 0},
  };
  for (const Case& c : cases) {
    ClearMarkers();
    RightClick(400, c.typed, 3);
    const std::vector<double> f = Freqs();
    if (c.freq == 0) {
      EXPECT_EQ(f[0], 10000) << c.typed;
    } else {
      EXPECT_DOUBLE_EQ(f[0], c.freq) << c.typed;
      EXPECT_EQ(f[1], 10000) << c.typed;
      EXPECT_EQ(marker_count, 1) << c.typed;
      EXPECT_EQ(marker_next, 2) << c.typed;
    }
    EXPECT_EQ(markerena, 1) << c.typed;
  }
  // Above the instrument's range: its top, which is no defined marker.
  ClearMarkers();
  RightClick(400, "5000", 3);
  EXPECT_EQ(Freqs()[0], 1200);
  EXPECT_EQ(marker_count, 0);
  // The same frequency again (within 0.0001 MHz) inserts nothing.
  SetMarkers({7.1});
  RightClick(400, "7.10005", 3);
  EXPECT_EQ(Freqs()[1], 10000);
  EXPECT_EQ(number_decimals, 3);
}

TEST_F(MarkerCommands, TheDialogOpensAtTheClickRoundedBySpan) {
  struct Case {
    double span;
    int x;
    std::string field;
  };
  const Case cases[] = {
      {16, 450, " 7.00500"},    // 7.0033 MHz to 0.005 MHz on a wide graph
      {16, 451, " 7.02500"},    // 7.0233
      {0.04, 450, " 7.00400"},  // to 0.002 MHz on a graph of 0.04 MHz
      {0.05, 451, " 7.02400"},  // 0.05 MHz counts as narrow
  };
  for (const Case& c : cases) {
    // Every marker command redraws the graph, which sets its scale anew.
    graph_left = 100;
    px_per_MHz = 50;
    graph_start = 0.0033;  // x 450 is 7.0033 MHz
    graph_end = graph_start + c.span;
    std::string shown;
    testhook::Answer a;
    a.caption = kMarkerTitle;
    a.press = 4;
    a.act = [&shown] { shown = GetCtlText(dlg_marker, 1); };
    testhook::QueueAnswer(a);
    msg_mouse_x = c.x;
    MarkerCommand(9);
    EXPECT_EQ(shown, c.field) << c.x << " on " << c.span;
  }
}

TEST_F(MarkerCommands, TwentyFirstMarkerIsRefused) {
  std::vector<double> f;
  for (int i = 1; i <= 20; ++i) f.push_back(i);
  SetMarkers(f);
  SortMarkers();
  EXPECT_EQ(marker_next, 1);
  RightClick(400, "7.5", 3);
  EXPECT_EQ(Freqs(), f);
  ASSERT_EQ(testhook::MsgBoxes().size(), 1u);
  EXPECT_EQ(testhook::MsgBoxes()[0].text,
            "All 20 markers are in use.\rRemove a marker before you insert another one.");
  // After a removal the new one takes the free row.
  RightClick(400, "20", 5);
  RightClick(400, "7.5", 3);
  EXPECT_DOUBLE_EQ(Freqs()[7], 7.5);
  EXPECT_EQ(marker_count, 20);
}

TEST_F(MarkerCommands, InsertIntoAFreeRowWhenTheNextRowIsTaken) {
  // A loaded set may leave a gap before its last rows: row 3 free, 20 taken.
  SetMarkers({1, 2});
  markers[4].Freq = 4;
  markers[20].Freq = 14;
  marker_next = 20;
  RightClick(400, "9", 3);
  EXPECT_EQ(Freqs()[0], 1);
  const std::vector<double> f = Freqs();
  EXPECT_EQ(std::count(f.begin(), f.end(), 14.0), 1);
  EXPECT_EQ(std::count(f.begin(), f.end(), 9.0), 1);
}

TEST_F(MarkerCommands, RemoveTakesTheNearestAndOfTwoTheHigherRow) {
  struct Case {
    const char* what;
    std::vector<double> before;
    std::string typed;
    std::vector<double> after;  // first rows after sorting
  };
  const Case cases[] = {
      {"nearest", {3, 7, 10}, "6.2", {3, 10, 10000}},
      {"two equally near: the higher row", {7, 7, 10}, "7", {7, 10, 10000}},
      {"equally far on both sides", {6, 8, 10}, "7", {6, 10, 10000}},
      {"rounded to 0.005 first", {3, 7.005, 10}, "7.0026", {3, 10, 10000}},
  };
  for (const Case& c : cases) {
    SetMarkers(c.before);
    markers[1].Rs = 11;  // a field that tells the rows of equal frequency apart
    markers[2].Rs = 22;
    RightClick(400, c.typed, 5);
    const std::vector<double> f = Freqs();
    EXPECT_EQ(std::vector<double>(f.begin(), f.begin() + 3), c.after) << c.what;
  }
  // Of the two rows at 7 MHz the second went: the first stays.
  SetMarkers({7, 7});
  markers[1].Rs = 11;
  markers[2].Rs = 22;
  RightClick(400, "7", 5);
  EXPECT_EQ(markers[1].Freq, 7);
  EXPECT_EQ(markers[1].Rs, 11);
}

TEST_F(MarkerCommands, CancelAndCloseBoxChangeNothing) {
  SetMarkers({3, 7});
  RightClick(400, "5", 4);
  AnswerDialog(kMarkerTitle, {{1, "5"}}, 0);
  msg_mouse_x = 400;
  MarkerCommand(9);
  EXPECT_EQ(Freqs()[2], 10000);
  EXPECT_EQ(marker_count, 2);
}

TEST_F(MarkerCommands, MenuItemsAndTheirCheckMarks) {
  SetMarkers({3, 7});
  markerena = 0;
  MarkerCommand(5);
  EXPECT_EQ(markerena, 1);
  EXPECT_EQ(markers_drawn, 1);
  EXPECT_EQ(cmd_param, 5);
  MarkerCommand(5);
  EXPECT_EQ(markerena, 0);
  EXPECT_EQ(markers_drawn, 0);
  EXPECT_EQ(marker_count, 2);
  EXPECT_EQ(marker_next, 3);
  MarkerCommand(6);
  EXPECT_EQ(Freqs()[0], 10000);
  EXPECT_EQ(markerena, 0);
  EXPECT_EQ(marker_count, 0);
  EXPECT_EQ(marker_next, 1);
  // Display Marker Data without markers says so and opens nothing.
  MarkerCommand(1);
  EXPECT_EQ(Boxes(), std::vector<std::string>{"|No markers are defined"});
  EXPECT_FALSE(marker_win.IsOpen());
}

TEST_F(MarkerCommands, NothingInTdrMode) {
  SetMarkers({3, 7});
  tdr_mode = 1;
  markerena = 1;
  cmd_param = 0;
  for (int sub : {1, 5, 6, 7, 8, 9, 22}) MarkerCommand(sub);
  tdr_mode = 0;
  EXPECT_EQ(Freqs()[1], 7);
  EXPECT_EQ(markerena, 1);
  EXPECT_EQ(cmd_param, 0);
  EXPECT_TRUE(testhook::Dialogs().empty());
  EXPECT_TRUE(testhook::FileDialogs().empty());
  EXPECT_TRUE(testhook::MsgBoxes().empty());
}

TEST_F(MarkerCommands, PhaseRotationAsksInPortAOnly) {
  marker_rotation = 10;
  AnswerDialog("Marker Rotation (+/- deg)", {{1, "-45"}}, 2);
  MarkerCommand(22);
  EXPECT_EQ(marker_rotation, -45);
  AnswerDialog("Marker Rotation (+/- deg)", {{1, "30"}}, 3);  // Cancel keeps the angle
  MarkerCommand(22);
  EXPECT_EQ(marker_rotation, -45);
  PortB_on = 1;
  MarkerCommand(22);
  PortB_on = 0;
  EXPECT_EQ(testhook::Dialogs().size(), 2u);
}

TEST(RotateMarkerZ, AlongAFiftyOhmLine) {
  Z0real = 50;
  Z0imag = 0;
  pi = 3.141592654;
  struct Case {
    double rs, xs, degrees, want_rs, want_xs;
  };
  const Case cases[] = {
      {100, 0, 90, 25, 0},        // a quarter wave inverts
      {100, 0, 180, 100, 0},      // a half wave repeats
      {30, -40, 180, 30, -40},    //
      {50, 0, 37, 50, 0},         // the line's own impedance stays
      {50, 0, -120, 50, 0},       //
      {0, 50, 90, 0.00001, -50},  // a reactance stays one, its real part kept above 0
  };
  for (const Case& c : cases) {
    point_Rs = c.rs;
    point_Xs = c.xs;
    RotateMarkerZ(c.degrees);
    EXPECT_NEAR(point_Rs, c.want_rs, 1e-6) << c.rs << " " << c.xs << " at " << c.degrees;
    EXPECT_NEAR(point_Xs, c.want_xs, 1e-6) << c.rs << " " << c.xs << " at " << c.degrees;
    EXPECT_NEAR(Zphase, std::atan(point_Xs / point_Rs), 1e-12);
  }
}

// ---- The three dialogs ----

struct PlotBox {
  int id;
  int* trace;
};
const std::vector<PlotBox>& PlotBoxes() {
  static const std::vector<PlotBox> boxes = {
      {9, &plot_swrA}, {10, &plot_rt},   {11, &plot_Q},       {12, &plot_zmagA},
      {13, &plot_rsA}, {14, &plot_rpA},  {19, &plot_ZphaseA}, {15, &plots21},
      {18, &plot_s11}, {34, &plot_swrB}, {22, &plot_delay},   {29, &plot_phaseS21},
  };
  return boxes;
}

TEST_F(MarkerTest, PlotParametersExcludeTracesThatShareAnAxis) {
  struct Case {
    const char* what;
    int box;
    std::vector<int*> on_before;  // everything else starts off
    std::vector<int*> on_after;
  };
  const Case cases[] = {
      {"Q unticks SWR", 11, {&plot_swrA}, {&plot_Q}},
      {"SWR unticks Q", 9, {&plot_Q}, {&plot_swrA}},
      {"Rp, Xp unticks Rs, Xs", 14, {&plot_rsA}, {&plot_rpA}},
      {"Rs, Xs unticks Rp, Xp", 13, {&plot_rpA}, {&plot_rsA}},
      {"S11 unticks the Port B SWR", 18, {&plot_swrB}, {&plot_s11}},
      {"the Port B SWR unticks S11", 34, {&plot_s11}, {&plot_swrB}},
      {"return loss drops its alternate", 10, {&plot_rt_alt}, {&plot_rt}},
      {"group delay drops the other Port B traces",
       22,
       {&plot_insloss, &plot_zmagB, &plot_rsB, &plot_rpB, &plots21},
       {&plot_delay, &plots21}},
      {"unticking changes nothing else", 9, {&plot_swrA, &plot_rt}, {&plot_rt}},
      {"Zmag alone", 12, {&plot_ZphaseA}, {&plot_ZphaseA, &plot_zmagA}},
      {"S21 phase alone", 29, {&plots21}, {&plots21, &plot_phaseS21}},
  };
  std::vector<int*> all = {&plot_rt_alt, &plot_insloss, &plot_zmagB, &plot_rsB, &plot_rpB};
  for (const PlotBox& b : PlotBoxes()) all.push_back(b.trace);
  auto on_after = [](const Case& c, int* s) {
    return std::find(c.on_after.begin(), c.on_after.end(), s) != c.on_after.end();
  };
  DrawGraph();
  FillRect(main_win, graph_left + 5, graph_top + 5, 10, 10, Rgb(1, 2, 3));
  for (const Case& c : cases) {
    for (int* s : all) *s = 0;
    for (int* s : c.on_before) *s = 1;
    bool boxes_before = true, boxes_after = true;
    testhook::Answer a;
    a.caption = "Parameters to Plot  ver-636A";
    a.press = 8;  // Cancel, after a click on the box
    a.act = [&] {
      for (const PlotBox& b : PlotBoxes())
        boxes_before &= GetCheck(dlg_plot_params, b.id) == (*b.trace != 0);
      PostEvent(dlg_plot_params, kEvCommand, c.box);
      PumpEvents();
      // The boxes follow the switches at once.
      for (const PlotBox& b : PlotBoxes())
        boxes_after &= GetCheck(dlg_plot_params, b.id) == on_after(c, b.trace);
    };
    testhook::QueueAnswer(a);
    DispatchCommand(3195);
    for (int* s : all) EXPECT_EQ(*s, on_after(c, s) ? 1 : 0) << c.what;
    EXPECT_TRUE(boxes_before) << c.what;
    EXPECT_TRUE(boxes_after) << c.what;
    // Cancel closes with 2 and keeps the changes.
    EXPECT_EQ(dlg_result, 2) << c.what;
    EXPECT_EQ(focus_win, 1) << c.what;
  }
  // Nothing was redrawn.
  EXPECT_EQ(ReadPixel(main_win, graph_left + 6, graph_top + 6), Rgb(1, 2, 3));
}

TEST_F(MarkerTest, PlotParametersEnterRedrawsTheGraph) {
  DrawGraph();
  const int frame_pixel = ReadPixel(main_win, graph_left + 6, graph_top + 6);
  FillRect(main_win, graph_left + 5, graph_top + 5, 10, 10, Rgb(1, 2, 3));
  AnswerDialog("Parameters to Plot  ver-636A", {}, 7);
  DispatchCommand(3195);
  EXPECT_EQ(dlg_result, 1);
  EXPECT_EQ(ReadPixel(main_win, graph_left + 6, graph_top + 6), frame_pixel);
}

TEST_F(MarkerTest, SwrRulerFieldAndEnter) {
  swr_ruler = 1.5;
  SetDigits(3);
  std::string shown;
  testhook::Answer a;
  a.caption = "SWR Ruler";
  a.texts = {{1, "2.5"}};
  a.press = 7;
  a.act = [&shown] { shown = GetCtlText(dlg_swr_ruler, 1); };
  testhook::QueueAnswer(a);
  EXPECT_EQ(RunModal(dlg_swr_ruler, &main_win), 1);
  EXPECT_EQ(shown, "  1.500");
  EXPECT_EQ(dlg_text1, "2.5");
  // The close box gives no result 1 and hands nothing back.
  dlg_text1 = "";
  AnswerDialog("SWR Ruler", {{1, "3"}}, 0);
  EXPECT_EQ(RunModal(dlg_swr_ruler, &main_win), 2);
  EXPECT_EQ(dlg_text1, "");
}

TEST_F(MarkerTest, MarkerDialogButtons) {
  struct Case {
    int button;
    int action;
  };
  for (const Case& c : {Case{3, 1}, Case{5, 2}, Case{4, 0}}) {
    freq = 7.25;
    SetDigits(5);
    std::string shown;
    testhook::Answer a;
    a.caption = kMarkerTitle;
    a.texts = {{1, "14.2"}};
    a.press = c.button;
    a.act = [&shown] { shown = GetCtlText(dlg_marker, 1); };
    testhook::QueueAnswer(a);
    cmd_param = 99;
    EXPECT_EQ(RunModal(dlg_marker, &main_win), 1) << c.button;
    EXPECT_EQ(shown, " 7.25000");
    EXPECT_EQ(cmd_param, c.action) << c.button;
    EXPECT_EQ(dlg_text1, "14.2") << c.button;
  }
}

}  // namespace
}  // namespace vna
