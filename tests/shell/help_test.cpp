// The manual, the four browser windows and the tool tips of the main window.
#include <gtest/gtest.h>

#include <QTimer>
#include <QWidget>

#include <functional>

#include "files/settings.h"
#include "instrument/state.h"
#include "platform/qt_internal.h"
#include "platform/testhook.h"
#include "shell/help.h"
#include "shell/main_program.h"
#include "shell/main_window.h"
#include "shell/state.h"
#include "shell/tool_tips.h"
#include "shell/windows.h"
#include "support/temp_dir.h"

namespace vna {
namespace {

using vna::testing::ScopedEnv;
using vna::testing::TempDir;

class HelpTest : public ::testing::Test {
 protected:
  void SetUp() override {
    testhook::ClearLogs();
    SetProgramVersion();
  }
  void TearDown() override {
    CloseWindow(help_win);
    CloseWindow(main_win);
    PumpEvents();
    for (const std::string& p : testhook::Problems()) ADD_FAILURE() << p;
  }
  TempDir dir;
  ScopedEnv program_dir{"VNA_PROGRAM_DIR", dir.path()};
};

TEST_F(HelpTest, MissingManualIsReportedWithItsNameAndFolder) {
  OpenWindow(main_win, 0, 0, 800, 600, kWinCaption | kWinSysMenu, "", [] { return 0; });
  OpenManual();
  ASSERT_EQ(testhook::MsgBoxes().size(), 1u);
  const auto& box = testhook::MsgBoxes()[0];
  EXPECT_EQ(box.caption, " No manual");
  EXPECT_EQ(box.text,
            " The manual titled: //zelmar-7306_032417.pdf\r is not in the folder with the path "
            "name:\r" +
                dir.path() + "/");
  EXPECT_EQ(box.icon, kIconExclamation);
  EXPECT_FALSE(box.topmost);
  // Not topmost, so only the window manager keeps it above the greyed main
  // window: it must know the box belongs to it.
  EXPECT_EQ(box.tie.transient_for, "main_win");
  EXPECT_TRUE(box.tie.window_modal);
  EXPECT_TRUE(testhook::OpenedDocuments().empty());
}

TEST_F(HelpTest, PresentManualOpensInTheViewerAndLeavesNoWindow) {
  dir.Write("zelmar-7306_032417.pdf", "%PDF-1.4\n");
  for (int uhf : {1, 0}) {
    model_uhf = uhf;
    OpenManual();
  }
  EXPECT_TRUE(testhook::MsgBoxes().empty());
  ASSERT_EQ(testhook::OpenedDocuments().size(), 2u);
  EXPECT_EQ(testhook::OpenedDocuments()[0], dir.path() + "/zelmar-7306_032417.pdf");
  EXPECT_FALSE(help_win.IsOpen());
}

// What a browser window showed while it was open.
struct Seen {
  bool open = false;
  std::string title, printed;
  int w = 0, h = 0, x = -1, y = -1;
};

// Runs the command; once its window is up, looks at it and then does `then`
// (by default the close box).
Seen RunPage(const std::function<void()>& command, std::function<void()> then = nullptr) {
  Seen seen;
  QTimer::singleShot(0, [&seen, then] {
    seen.open = help_win.IsOpen();
    seen.title = GetTitle(help_win);
    OuterSize(help_win, seen.w, seen.h);
    ScreenPos(help_win, seen.x, seen.y);
    seen.printed = testhook::PrintedText("help_win");
    if (then)
      then();
    else
      help_win.impl->top->close();  // the close box
  });
  command();
  return seen;
}

TEST_F(HelpTest, BrowserWindowsShowTheirPageAndWaitUntilClosed) {
  WinWidth = 900;
  struct Case {
    void (*command)();
    std::string title;
    int w, h;
    const char* url;
  };
  const Case cases[] = {
      {OpenUpdatePage, "Check for Program Update", 1024, 768, kUpdatePageUrl},
      {OpenLCMatching, "L-C Matching Networks  -  Wikipedia authors", 800, 600, kLCMatchingUrl},
      {OpenPlotTool, "Smith Chart Impedance Plots  -  Wikipedia authors", 800, 600, kPlotToolUrl},
      {ShowTwelfthWave, " Twelfth-wave Matching", 900, 700, kTwelfthWaveUrl},
  };
  for (const Case& c : cases) {
    testhook::ClearLogs();
    const Seen seen = RunPage(c.command);
    EXPECT_TRUE(seen.open) << c.title;
    EXPECT_EQ(seen.title, c.title);
    EXPECT_EQ(seen.w, c.w) << c.title;
    EXPECT_EQ(seen.h, c.h) << c.title;
    EXPECT_EQ(seen.x, 0);
    EXPECT_EQ(seen.y, 0);
    EXPECT_NE(seen.printed.find(c.url), std::string::npos) << seen.printed;
    ASSERT_EQ(testhook::OpenedDocuments().size(), 1u);
    EXPECT_EQ(testhook::OpenedDocuments()[0], c.url);
    // The command returned only after the close, and the window is gone.
    EXPECT_FALSE(help_win.IsOpen());
    EXPECT_EQ(help_open, 0);
  }
}

TEST_F(HelpTest, QuittingEndsTheWait) {
  main_loop_on = 1;
  const Seen seen = RunPage(OpenUpdatePage, [] { CloseToolWindows(); });
  EXPECT_TRUE(seen.open);
  EXPECT_FALSE(help_win.IsOpen());
  EXPECT_EQ(help_open, 0);
  EXPECT_EQ(main_loop_on, 0);
}

// A second page asked for from the menu while one is shown takes the window
// over; one close ends both commands and no window is left.
TEST_F(HelpTest, SecondPageTakesTheWindowOver) {
  Seen inner;
  const Seen outer = RunPage(OpenUpdatePage, [&inner] { inner = RunPage(OpenLCMatching); });
  EXPECT_EQ(outer.title, "Check for Program Update");
  EXPECT_EQ(inner.title, "L-C Matching Networks  -  Wikipedia authors");
  EXPECT_FALSE(help_win.IsOpen());
  EXPECT_EQ(testhook::OpenedDocuments().size(), 2u);
}

class ToolTipsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    OpenWindow(main_win, 0, 0, 800, 600, kWinCaption | kWinSysMenu, "", [] { return 0; });
    for (int id : {20192, 20821, 20822, 20823, 20824, 20825})
      AddControl(main_win, {CtlKind::Button, "b", 10 + (id % 100) * 5, 10, 40, 20, 0, id});
    SetCtlColors(main_win, 20192, -1, -1, 0xFAFA8C);  // the hover colour the button bar has
  }
  void TearDown() override {
    CloseWindow(main_win);
    PumpEvents();
  }
  static QString ShownTip(int id) { return main_win.impl->Find(id)->widget->toolTip(); }
};

TEST_F(ToolTipsTest, TipsAreTheExactTexts) {
  tooltips_on = 1;
  SetToolTips();
  EXPECT_EQ(GetToolTip(main_win, 20192), " Alternate between Ports A/B \r\n");
  EXPECT_EQ(GetToolTip(main_win, 20821), " Average readings at each data point 1x to 256x\r\n");
  EXPECT_EQ(GetToolTip(main_win, 20822), " DDS settling time (msec) after changing the freq\r\n");
  EXPECT_EQ(GetToolTip(main_win, 20823),
            " Smooth data based on average of N successive points.\r\n");
  EXPECT_EQ(GetToolTip(main_win, 20824),
            " Line extension from RF Port A.\r\n Compensate for adapters and short cables.\r\n"
            " Extension is a lossless section with its own impedance.\r\n"
            " Velocity factor can be left at 1 if you are only\r\n"
            " interested in the effective electrical length.\r\n Unit of length defaults to cm.\r\n"
            " Units can also be: m (meters), i (inches), f (feet)\r\n Length can be negative.\r\n");
  EXPECT_EQ(GetToolTip(main_win, 20825),
            " Zref=impedance used for reference for SWR\r\n and Return Loss measurements.\r\n"
            " It can be any number, real or complex (R +/- jX).\r\n It does not affect the "
            "calibration.\r\n");
  // Shown 500 pixels wide, one line each, the last line end dropped.
  const QString tip = ShownTip(20825);
  EXPECT_TRUE(tip.contains("width=\"500\"")) << tip.toStdString();
  EXPECT_EQ(tip.count("<br>"), 3);
  // The automatic times of 1000 ms: shown after a second, visible ten, also
  // on buttons recoloured since (the info panel recolours at every redraw).
  SetCtlColors(main_win, 20821, 0, 0xF0DCBE, 0xFFFFB4);
  for (int id : {20192, 20821, 20822, 20823, 20824, 20825}) {
    int show_after = 0, visible = 0;
    ASSERT_TRUE(GetToolTipDelays(main_win, id, show_after, visible));
    EXPECT_EQ(show_after, 1000) << id;
    EXPECT_EQ(visible, 10000) << id;
  }
}

TEST_F(ToolTipsTest, OffCreatesNoTipsAndSwitchesExistingOnesOff) {
  tooltips_on = 0;
  SetToolTips();
  EXPECT_EQ(GetToolTip(main_win, 20821), "");
  EXPECT_TRUE(ShownTip(20821).isEmpty());
  tooltips_on = 1;
  SetToolTips();
  EXPECT_FALSE(ShownTip(20821).isEmpty());
  tooltips_on = 0;
  SetToolTips();
  EXPECT_TRUE(ShownTip(20821).isEmpty());
  EXPECT_TRUE(ShownTip(20192).isEmpty());
}

}  // namespace
}  // namespace vna
