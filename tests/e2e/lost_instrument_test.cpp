// The instrument going away while the program measures: the loss is said
// once, in one box, and no later box contradicts it.
#include <gtest/gtest.h>

#include <QImage>

#include <chrono>
#include <filesystem>
#include <string>

#include "calibration/state.h"
#include "files/settings.h"
#include "graph/state.h"
#include "platform/draw.h"
#include "platform/qt_internal.h"
#include "instrument/commands.h"
#include "instrument/state.h"
#include "platform/events.h"
#include "platform/testhook.h"
#include "scan/state.h"
#include "shell/menus.h"
#include "shell/commands.h"
#include "shell/main_program.h"
#include "shell/state.h"
#include "shell/windows.h"
#include "support/glyphs.h"
#include "support/sim_calibration.h"
#include "support/sim_runner.h"
#include "support/temp_dir.h"
#include "support/watchdog.h"

namespace vna {
namespace {

using vna::testing::ScopedEnv;
using vna::testing::TempDir;

class LostInstrumentE2E : public ::testing::TestWithParam<std::string> {};

// A scan's point read offers the " Hardware Reset" box on a read without
// data; a read that finds the instrument gone must not add it to the notice
// of the loss (its Abort would even end the program).
TEST_P(LostInstrumentE2E, ALossInTheMiddleOfAScanIsSaidOnce) {
  TempDir dir(true);
  ScopedEnv program_dir("VNA_PROGRAM_DIR", dir.path());
  ScopedEnv drive_root("VNA_DRIVE_ROOT", dir / "drives");
  test::SimRunner sim({"--model", GetParam()});
  StartUp();
  ASSERT_EQ(vna_present, 1);
  ASSERT_EQ(model, GetParam() == "uhf" ? "Zelmar" : "7306");
  relayA = relayB = 1;  // as a scan switches them
  ProgRelay(3);
  test::CalibratePortAOnSim(sim, test::CalFrequencies(1, 31, 1));
  cal_start_freq = 1;
  cal_end_freq = 31;
  sim.SetDut("r=75");
  start_freq = 1;
  end_freq = 30;
  delta_freq = 0.1;
  testhook::ClearLogs();
  testhook::SetPumpHook([&sim] {
    if (scan_running == 0 || scanloop < 20) return;
    testhook::SetPumpHook(nullptr);
    // The link goes at the next point, after its command and before the
    // reply: the read finds the instrument gone.
    sim.Fault("hangup");
  });
  {
    test::Watchdog watchdog(std::chrono::seconds(60), "a scan that loses its instrument");
    DispatchCommand(kBtnScan);
  }
  testhook::SetPumpHook(nullptr);
  EXPECT_EQ(vna_present, 0);
  EXPECT_EQ(scan_running, 0);
  // Everything said after the loss: the one box, and nothing offering to
  // abort the program or to reset the instrument.
  std::vector<std::string> captions;
  for (const auto& b : testhook::MsgBoxes()) captions.push_back(b.caption);
  EXPECT_EQ(captions, std::vector<std::string>{" VNA connection lost"});
  // Above the graph the red "=== No data" line stays whole on a clean
  // background: nothing of the failed scan's results is printed over it.
  // Its cell (its advance wide, the rows its font inks high) holds its own
  // ink in red and the window's background, nothing else.
  const std::string no_data = "  === No data from I/O port. ===        ";
  int printed = 0;
  for (const auto& p : testhook::Prints()) {
    if (p.window != main_win.name) continue;
    if (p.text == no_data) {
      ++printed;
      EXPECT_EQ(p.x, 20);
      EXPECT_EQ(p.y, line1_y);
    }
    EXPECT_EQ(p.text.rfind("Resonant freq", 0), std::string::npos) << p.text;
  }
  ASSERT_GE(printed, 1);
  const test::TextFont font{"arial", font_size + 1, font_weight};
  QImage want(test::Advance(font, no_data), FontInkLineHeight(font.face, font.points, font.weight),
              QImage::Format_RGB32);
  want.fill(qt::Color(bg_color));
  test::ForEachInk(font, no_data, 0, 0, [&](int x, int y) {
    if (want.valid(x, y)) want.setPixel(x, y, qt::Color(RedColor).rgb());
  });
  int wrong = 0;
  for (int y = 0; y < want.height(); ++y)
    for (int x = 0; x < want.width(); ++x)
      wrong += ReadPixel(main_win, 20 + x, line1_y + y) != qt::Packed(QColor(want.pixel(x, y)));
  EXPECT_EQ(wrong, 0) << "pixels of the No data line not as its text makes them";
  const std::string pictures = VNA_BINARY_DIR "/lost_instrument";
  std::filesystem::create_directories(pictures);
  main_win.impl->image.save(
      QString::fromStdString(pictures + "/after_loss_" + GetParam() + ".png"));
  EXPECT_EQ(main_loop_on, 1);
  main_loop_on = 0;
  ExitSequence();
  for (const std::string& p : testhook::Problems()) ADD_FAILURE() << p;
}

INSTANTIATE_TEST_SUITE_P(BothModels, LostInstrumentE2E, ::testing::Values("uhf", "7306"));

}  // namespace
}  // namespace vna
