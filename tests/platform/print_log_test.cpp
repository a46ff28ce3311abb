// The test hook logs every window image sent to a printer, so a test sees
// which window a print command chose even on a machine without a printer.
#include <gtest/gtest.h>

#include "platform/draw.h"
#include "platform/events.h"
#include "platform/testhook.h"
#include "platform/ui.h"
#include "support/temp_dir.h"

namespace vna {
namespace {

Window printed{"printed_win"};

TEST(PrintLog, NamesEachPrintedWindow) {
  testhook::ClearLogs();
  testing::TempDir dir;
  OpenWindow(printed, 0, 0, 120, 80, kWinCaption, "Print me", [] { return 0; });
  EXPECT_TRUE(PrintWindowImage(printed, dir / "page.pdf"));
  PrintWindowImage(printed);  // to the default printer, if there is one
  EXPECT_EQ(testhook::PrintedWindows(), (std::vector<std::string>{"printed_win", "printed_win"}));
  CloseWindow(printed);
  EXPECT_FALSE(PrintWindowImage(printed));  // a closed window prints nothing
  EXPECT_EQ(testhook::PrintedWindows().size(), 2u);
  testhook::ClearLogs();
  EXPECT_TRUE(testhook::PrintedWindows().empty());
  PumpEvents();
}

}  // namespace
}  // namespace vna
