// What a control shows can be read back: its rectangle, whether it is
// enabled, the colours it was given.
#include <gtest/gtest.h>

#include "platform/events.h"
#include "platform/ui.h"

namespace vna {
namespace {

Window win{"control_state_win"};

TEST(ControlState, ReadsBackRectEnabledAndColours) {
  OpenWindow(win, 0, 0, 300, 200, kWinCaption, "Controls", [] { return 0; });
  AddControl(win, {CtlKind::Button, "Scan A", 10, 150, 84, 22, 0, 201});
  int x, y, w, h;
  ASSERT_TRUE(GetCtlRect(win, 201, x, y, w, h));
  EXPECT_EQ(x, 10);
  EXPECT_EQ(y, 150);
  EXPECT_EQ(w, 84);
  EXPECT_EQ(h, 22);
  EXPECT_TRUE(IsCtlEnabled(win, 201));
  EnableCtl(win, 201, false);
  EXPECT_FALSE(IsCtlEnabled(win, 201));

  int text, bg, hover;
  GetCtlColors(win, 201, text, bg, hover);
  EXPECT_EQ(text, -1);
  EXPECT_EQ(bg, -1);
  SetCtlColors(win, 201, 0, Rgb(180, 255, 255), Rgb(140, 250, 250));
  GetCtlColors(win, 201, text, bg, hover);
  EXPECT_EQ(text, 0);
  EXPECT_EQ(bg, Rgb(180, 255, 255));
  EXPECT_EQ(hover, Rgb(140, 250, 250));

  // A missing control reads as absent and disabled.
  EXPECT_FALSE(GetCtlRect(win, 999, x, y, w, h));
  EXPECT_EQ(w, -1);
  EXPECT_FALSE(IsCtlEnabled(win, 999));
  CloseWindow(win);
  EXPECT_FALSE(GetCtlRect(win, 201, x, y, w, h));
  PumpEvents();
}

}  // namespace
}  // namespace vna
