// SIGTERM and SIGINT end a headless run cleanly: the target window hears a
// close request, and boxes and dialogs waiting for a person close as by their
// close box, now and later.
#include <gtest/gtest.h>

#include <QTimer>

#include <csignal>

#include "platform/events.h"
#include "platform/testhook.h"
#include "platform/ui.h"

namespace vna {
namespace {

Window target{"signal_target"};
Dialog dlg{"dlg_signal"};
int closes = 0;

class SignalTest : public ::testing::Test {
 protected:
  void SetUp() override {
    testhook::Enable(false);  // boxes wait for a person, as in a real run
    closes = 0;
    DefineDialog(dlg, "Waits", 200, 100, kDlgTitleBar | kDlgCloseBox, [] { return 0; },
                 {{CtlKind::Button, "OK", 10, 10, 60, 24, 0, 1}});
  }
  void TearDown() override {
    SetSignalCloseTarget(nullptr);
    CloseWindow(target);
    PumpEvents();
    testhook::Enable(true);
  }
  static void OpenTarget() {
    OpenWindow(target, 0, 0, 200, 100, kWinCaption | kWinSysMenu, "", [] {
      if (msg_id == kEvClose) ++closes;
      return 0;
    });
  }
};

TEST_F(SignalTest, SignalClosesWaitingBoxesAndAsksTheWindowToClose) {
  OpenTarget();
  SetSignalCloseTarget(&target);
  QTimer::singleShot(20, [] { std::raise(SIGTERM); });
  EXPECT_EQ(MsgBox(&target, "Waiting", "Box", kMbYesNo), kIdNo);  // never a Yes
  PumpEvents();
  EXPECT_EQ(closes, 1);
  EXPECT_TRUE(EndRequested());
  // Later boxes and dialogs do not wait at all.
  EXPECT_EQ(MsgBox(&target, "Later", "Box", kMbAbortRetryIgnore), kIdIgnore);
  EXPECT_EQ(RunModal(dlg, &target), 2);
  SetSignalCloseTarget(nullptr);
  EXPECT_FALSE(EndRequested());
}

TEST_F(SignalTest, SignalEndsARunningModalDialog) {
  OpenTarget();
  SetSignalCloseTarget(&target);
  QTimer::singleShot(20, [] { std::raise(SIGINT); });
  EXPECT_EQ(RunModal(dlg, &target), 2);
  EXPECT_FALSE(dlg.IsOpen());
}

TEST_F(SignalTest, SignalBeforeTheWindowOpensReachesItWhenItDoes) {
  SetSignalCloseTarget(&target);
  std::raise(SIGTERM);
  DelayMs(20);
  EXPECT_EQ(closes, 0);
  OpenTarget();
  SetSignalCloseTarget(&target);
  PumpEvents();
  EXPECT_EQ(closes, 1);
}

}  // namespace
}  // namespace vna
