// Trace styles, trace colours and the legend.
#include "graph/legend.h"
#include "graph/styles.h"
#include "graph_settings/settings_fixture.h"

namespace vna::test {
namespace {

using Strings = std::vector<std::string>;

constexpr const char* kGraphStyle = " Graph Style";
constexpr const char* kColors = " Color Selection";

std::vector<bool> StyleTicks() {
  std::vector<bool> ticks;
  for (int box = 1; box <= 6; ++box) ticks.push_back(GetCheck(dlg_style, box));
  return ticks;
}

TEST_F(SettingsTest, StyleDialogShowsTheStyleAndKeepsAPickEvenOnTheCloseBox) {
  xsstyle = 2;
  MarkGraph();
  std::vector<bool> opened, picked;
  testhook::Answer a;
  a.caption = kGraphStyle;
  a.checks = {{4, true}};
  a.close_box = true;
  a.act = [&] { opened = StyleTicks(); };
  testhook::QueueAnswer(a);
  // The menu item hands the trace's present style over.
  DispatchCommand(3024);
  EXPECT_EQ(opened, (std::vector<bool>{false, false, true, false, false, false}));
  EXPECT_EQ(xsstyle, 3);
  EXPECT_TRUE(Redrawn());

  // Ticking one box unticks the others.
  a.checks = {{2, true}, {6, true}};
  a.act = nullptr;
  a.close_box = false;
  a.press = 7;
  testhook::QueueAnswer(a);
  SelectStyle(9, delaystyle);
  EXPECT_EQ(delaystyle, 5);
}

TEST_F(SettingsTest, StyleDialogOkWithoutAPickChangesNothing) {
  rtstyle = 4;
  MarkGraph();
  AnswerDialog(kGraphStyle, {}, 7);
  SelectStyle(6, rtstyle);
  EXPECT_EQ(rtstyle, 4);
  EXPECT_FALSE(Redrawn());
  EXPECT_EQ(focus_win, 1);
}

TEST_F(SettingsTest, EachTraceNumberSetsItsOwnStyle) {
  int* const settings[9] = {&swrstyle, &zmagstyle, &rsstyle,  &xsstyle,   &phasestyle,
                            &rtstyle,  &s11style,  &s21style, &delaystyle};
  for (int trace = 1; trace <= 9; ++trace) {
    for (int* s : settings) *s = 0;
    AnswerDialog(kGraphStyle, {}, 7, {{2, true}});
    SelectStyle(trace, 0);
    for (int k = 0; k < 9; ++k) EXPECT_EQ(*settings[k], k + 1 == trace ? 1 : 0) << trace;
  }
}

TEST_F(SettingsTest, OverlaySetsThePortAStylesAndLoadsAScanFile) {
  s11style = 1;
  s21style = 2;
  delaystyle = 3;
  alt_colors = 1;
  testhook::QueueFileAnswer("");
  DispatchCommand(27935);  // "Circles"
  for (int s : {swrstyle, zmagstyle, rsstyle, xsstyle, phasestyle, rtstyle}) EXPECT_EQ(s, 3);
  EXPECT_EQ(s11style, 1);
  EXPECT_EQ(s21style, 2);
  EXPECT_EQ(delaystyle, 3);
  EXPECT_EQ(alt_colors, 0);
  ASSERT_EQ(testhook::FileDialogs().size(), 1u);
  EXPECT_EQ(testhook::FileDialogs()[0].title, " Load Scan File");
  EXPECT_EQ(SUB, "SetStyles");
}

TEST_F(SettingsTest, OverlayInPortBModeLeavesTheOtherStylesAndTheAScan) {
  s11style = 1;
  s21style = 2;
  delaystyle = 3;
  PortB_on = 1;
  // The Port B loader asks for its own file.
  testhook::QueueFileAnswer("");
  SetStyles(4);
  for (int s : {swrstyle, zmagstyle, rsstyle, xsstyle, phasestyle, rtstyle}) EXPECT_EQ(s, 4);
  EXPECT_EQ(s11style, 1);
  EXPECT_EQ(s21style, 2);
  EXPECT_EQ(delaystyle, 3);
  for (const auto& d : testhook::FileDialogs()) EXPECT_NE(d.title, " Load Scan File");
  // Until the Port B loader asks, the answer stays queued.
  while (testhook::PendingAnswers() > 0) {
    std::string unused;
    testhook::TakeFileAnswer(unused);
  }
}

TEST_F(SettingsTest, OverlayIsRefusedInTdrMode) {
  tdr_mode = 1;
  swrstyle = 1;
  SetStyles(5);
  EXPECT_EQ(Boxes(), (Strings{" //321742|Overlay is not available in TDR mode."}));
  EXPECT_EQ(swrstyle, 1);
  EXPECT_TRUE(testhook::FileDialogs().empty());
}

// ---- Colours ----

struct Twelve {
  int c[12];
  bool operator==(const Twelve&) const = default;
};
Twelve TraceColors() {
  return {{RedColor, LightRed, Green, LightGreen, Magenta, LightMagenta, Orange, LightOrange,
           Yellow, LightYellow, Blue, LightBlue}};
}

TEST_F(SettingsTest, ColorDialogOpensOnTheScanColors) {
  int text = 0, back = 0, hover = 0, panel = 0;
  bool scan = false, rescan = true;
  std::vector<int> backs;
  testhook::Answer a;
  a.caption = kColors;
  a.press = 10;
  a.act = [&] {
    scan = GetCheck(dlg_colors, 19);
    rescan = GetCheck(dlg_colors, 20);
    for (int id = 13; id <= 18; ++id) {
      GetCtlColors(dlg_colors, id, text, back, hover);
      backs.push_back(back);
    }
    GetCtlColors(dlg_colors, 16, text, back, hover);  // "Rs, Delay": black on orange
    GetCtlColors(dlg_colors, 99, panel, back, hover);
  };
  testhook::QueueAnswer(a);
  SelectColors();
  EXPECT_TRUE(scan);
  EXPECT_FALSE(rescan);
  EXPECT_EQ(backs, (std::vector<int>{RedColor, Green, Magenta, Orange, Yellow, Blue}));
  EXPECT_EQ(text, Black);
  EXPECT_EQ(panel, White);
  EXPECT_EQ(back, White);
}

TEST_F(SettingsTest, RescanPickChangesTheLightColourOnlyAndTheCloseBoxRestoresIt) {
  const Twelve before = TraceColors();
  const int picked = Rgb(10, 20, 30);
  int shown = 0;
  testhook::Answer pick;
  pick.caption = kColors;
  pick.checks = {{20, true}};
  pick.press = 14;
  testhook::QueueAnswer(pick);
  testhook::QueueColorAnswer(picked);
  testhook::Answer look;
  look.caption = kColors;
  look.close_box = true;
  look.act = [&] {
    int text = 0, hover = 0;
    GetCtlColors(dlg_colors, 14, text, shown, hover);
    Twelve now = before;
    now.c[3] = picked;
    EXPECT_EQ(TraceColors(), now);
  };
  testhook::QueueAnswer(look);
  MarkGraph();
  SelectColors();
  EXPECT_EQ(shown, picked);
  EXPECT_EQ(TraceColors(), before);
  EXPECT_TRUE(Redrawn());
  // The picker started from the light colour.
  testhook::QueueAnswer(pick);
  testhook::QueueColorAnswer(picked);
  AnswerDialog(kColors, {}, 10);
  SelectColors();
  Twelve kept = before;
  kept.c[3] = picked;
  EXPECT_EQ(TraceColors(), kept);
}

TEST_F(SettingsTest, ScanPickAndCancelledPicker) {
  const Twelve before = TraceColors();
  testhook::Answer pick;
  pick.caption = kColors;
  pick.press = 13;
  testhook::QueueAnswer(pick);
  testhook::QueueColorAnswer(-1);
  pick.press = 18;
  testhook::QueueAnswer(pick);
  testhook::QueueColorAnswer(Rgb(1, 1, 1));
  AnswerDialog(kColors, {}, 10);
  SelectColors();
  Twelve now = before;
  now.c[10] = Rgb(1, 1, 1);
  EXPECT_EQ(TraceColors(), now);
}

TEST_F(SettingsTest, RestoreDefaultColorsYesAndNo) {
  const int d[12] = {Rgb(1, 0, 0), Rgb(2, 0, 0),  Rgb(3, 0, 0),  Rgb(4, 0, 0),
                     Rgb(5, 0, 0), Rgb(6, 0, 0),  Rgb(7, 0, 0),  Rgb(8, 0, 0),
                     Rgb(9, 0, 0), Rgb(10, 0, 0), Rgb(11, 0, 0), Rgb(12, 0, 0)};
  // default_colors: LightMagenta, Magenta, LightGreen, Green, LightRed,
  // RedColor, LightBlue, Blue, LightOrange, Orange, LightYellow, Yellow.
  for (int k = 0; k < 12; ++k) default_colors[k] = d[k];
  const Twelve before = TraceColors();

  // The scripted dialog ends by its close box once the box is answered; the
  // dialog alone (without SelectColors, which would put the colours back)
  // shows what the answer did.
  testhook::Answer restore;
  restore.caption = kColors;
  restore.press = 12;
  testhook::QueueAnswer(restore);
  testhook::QueueMsgBoxAnswer(kIdNo, " Defaults");
  RunModal(dlg_colors, &main_win);
  EXPECT_EQ(TraceColors(), before);
  ASSERT_EQ(testhook::MsgBoxes().size(), 1u);
  EXPECT_EQ(testhook::MsgBoxes()[0].text, "Do you want to restore the default colors?");
  EXPECT_EQ(testhook::MsgBoxes()[0].owner, "dlg_colors");
  EXPECT_EQ(testhook::MsgBoxes()[0].buttons, kMbYesNo);

  restore.checks = {{20, true}};
  testhook::QueueAnswer(restore);
  testhook::QueueMsgBoxAnswer(kIdYes, " Defaults");
  RunModal(dlg_colors, &main_win);
  EXPECT_EQ(TraceColors(),
            (Twelve{{d[5], d[4], d[3], d[2], d[1], d[0], d[9], d[8], d[11], d[10], d[7], d[6]}}));
}

// ---- Legend ----

// Opens the legend, runs `look` inside its wait and closes it by its close
// box.
void WithLegend(std::function<void()> look) {
  QTimer::singleShot(0, [look] {
    look();
    PostEvent(legend_win, kEvClose);
  });
  ShowLegend();
}

TEST_F(SettingsTest, LegendRowsAndSamples) {
  plot_swrA = 1;
  plot_rsA = 1;
  plot_Q = plot_s11 = plot_zmagA = plot_rpA = plot_ZphaseA = plot_rt = 0;
  trace_width = 1;
  swrstyle = 1;
  rsstyle = 2;
  xsstyle = 0;
  int w = 0, h = 0, x = 0, y = 0;
  QImage img;
  WithLegend([&] {
    EXPECT_EQ(legend_open, 1);
    ClientSize(legend_win, w, h);
    ScreenPos(legend_win, x, y);
    EXPECT_EQ(GetTitle(legend_win), "Legend");
    img = Picture(legend_win);
  });
  EXPECT_FALSE(legend_win.IsOpen());
  EXPECT_EQ(legend_open, 0);
  EXPECT_EQ(w, 160);
  EXPECT_EQ(h, 94);
  EXPECT_EQ(x, graph_right - 180);
  EXPECT_EQ(y, graph_bottom - 94 - 10);
  EXPECT_EQ(PrintAt(legend_win, 10, 3), "SWR");
  EXPECT_EQ(PrintAt(legend_win, 10, 21), "Rs");
  EXPECT_EQ(PrintAt(legend_win, 10, 39), "Xs");
  auto at = [&img](int px, int py) { return qt::Packed(QColor(img.pixel(px, py))); };
  // Short dash at y 13: 3 pixels of every 6, the last ending at 65 + 75.
  EXPECT_EQ(at(65, 13), RedColor);
  EXPECT_EQ(at(68, 13), White);
  EXPECT_EQ(at(71, 13), RedColor);
  EXPECT_EQ(at(65 + 74, 13), RedColor);
  EXPECT_EQ(at(65 + 75, 13), White);
  // Long dash at y 31: 8 of every 12, the last ending at 65 + 80.
  EXPECT_EQ(at(65 + 7, 31), Orange);
  EXPECT_EQ(at(65 + 8, 31), White);
  EXPECT_EQ(at(65 + 79, 31), Orange);
  EXPECT_EQ(at(65 + 80, 31), White);
  // Plain line at y 49.
  for (int px = 65; px < 145; ++px) ASSERT_EQ(at(px, 49), Yellow) << px;
  EXPECT_EQ(at(64, 49), White);
}

TEST_F(SettingsTest, LegendOfEveryStyle) {
  plot_swrA = plot_Q = plot_s11 = plot_zmagA = plot_rsA = plot_rpA = plot_ZphaseA = plot_rt = 1;
  trace_width = 2;
  swrstyle = 0;
  zmagstyle = 1;
  rsstyle = 2;
  xsstyle = 3;
  phasestyle = 4;
  rtstyle = 5;
  QImage img;
  int h = 0, w = 0;
  WithLegend([&] {
    ClientSize(legend_win, w, h);
    img = Picture(legend_win);
  });
  KeepPng(img, "legend_every_style");
  EXPECT_EQ(h, 16 * 11 + 30);
  Strings labels;
  for (const auto& p : Prints(legend_win)) labels.push_back(p.text);
  EXPECT_EQ(labels,
            (Strings{"SWR", "Q", "Rho", "Zmag", "Rs", "Xs", "Rp", "Xp", "Phase", "RtLoss"}));
  auto at = [&img](int px, int py) { return qt::Packed(QColor(img.pixel(px, py))); };
  // Xs (row 6, y 3 + 5 x 18 + 10 = 103): the circle 3 pixels above the line;
  // Phase (row 9, y 157): the square's top edge; RtLoss (y 175): 4 pixels wide.
  EXPECT_EQ(at(105, 100), Yellow);
  EXPECT_EQ(at(108, 154), Magenta);
  EXPECT_EQ(at(100, 173), Blue);
  EXPECT_EQ(at(100, 176), Blue);
  EXPECT_EQ(at(100, 172), White);
}

TEST_F(SettingsTest, LegendWithNothingShownAndASecondRequest) {
  plot_swrA = plot_Q = plot_s11 = plot_zmagA = plot_rsA = plot_rpA = plot_ZphaseA = plot_rt = 0;
  int h = 0, w = 0;
  WithLegend([&] {
    ClientSize(legend_win, w, h);
    // The menu item again while the legend waits opens no second one.
    ShowLegend();
    EXPECT_TRUE(legend_win.IsOpen());
  });
  EXPECT_EQ(h, 46);
  EXPECT_TRUE(Prints(legend_win).empty());
}

}  // namespace
}  // namespace vna::test
