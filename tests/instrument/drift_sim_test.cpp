// The temperature drift test: its set-up commands, its log every 5 s and its
// end on Halt, against the simulator. The measured point is left as the test
// sets it, so the log's drift fields are known.
#include <fstream>
#include <regex>
#include <string>

#include "instrument/sim_link.h"
#include "instrument/supply.h"
#include "instrument/version.h"
#include "platform/clock.h"
#include "platform/ui.h"
#include "shell/init_vars.h"
#include "shell/state.h"
#include "support/temp_dir.h"

namespace vna {
namespace {

size_t LogLinesShown() {
  size_t n = 0;
  for (const auto& p : testhook::Prints()) n += p.x == 100 && p.y == 500;
  return n;
}

class DriftTest : public SimLink {
 protected:
  testing::TempDir dir_{true};
  testing::ScopedEnv program_dir_{"VNA_PROGRAM_DIR", dir_.path()};  // version.txt
  Window halt_win_{"halt_win"};
  uint64_t offset_ = 0;
};

TEST_F(DriftTest, LogsAtOnceThenEveryFiveSecondsUntilHalt) {
  InitVars();                 // the sine-fit tables and clock corrections the measured point needs
  mult_code = new_mults = 0;  // as at start-up: no multiplier pair programmed yet
  StartSim({"--model", "uhf", "--temp", "25"});
  Identify();
  ASSERT_EQ(has_temp, 1);
  full_current_mode = 0;
  last_dds_amp = -1;
  mult_code = 0;  // the first point after start-up changes the multipliers
  // The correction is not built yet, so the corrected point stays as set here.
  point_Rs = 50;
  point_Xs = -3;
  // Stands in for the user: after the first line the clock moves on 6 s and
  // the device changes, so the load drifts; after the second, Halt.
  OpenWindow(halt_win_, 0, 0, 50, 50, kWinCaption, "", [this] {
    if (LogLinesShown() == 1 && offset_ == 0) {
      offset_ = 6000;
      SetTickOffset(offset_);
      sim_->SetDut("r=55");
    } else if (LogLinesShown() >= 2) {
      scan_running = 0;
      return 0;
    }
    PostEvent(halt_win_, kEvCommand);
    return 0;
  });
  PostEvent(halt_win_, kEvCommand);
  Mark();
  TemperatureDrift();
  SetTickOffset(0);
  CloseWindow(halt_win_);

  std::ifstream in("_Zelmar_TemperatureDrift.txt", std::ios::binary);
  const std::string text(std::istreambuf_iterator<char>(in), {});
  // Time, temperature, load and reference magnitude (1 decimal), their drift
  // since the start and the load/reference ratio less 1 (4 decimals).
  const std::regex line(
      R"(( [0-9.]+)  (7[67]\.[0-9])  ([0-9]+\.[0-9])  ([0-9]+\.[0-9])  0  0  (-?[0-9.]+)   Zload= 50\+j -3\r\n)"
      R"(( [0-9.]+)  (7[67]\.[0-9])  ([0-9]+\.[0-9])  ([0-9]+\.[0-9])  (-?0\.[0-9]+)  0  (-?[0-9.]+)   Zload= 50\+j -3\r\n)");
  std::smatch m;
  ASSERT_TRUE(std::regex_match(text, m, line)) << text;
  EXPECT_LT(std::stod(m[1]), 2.0);  // the set-up time
  EXPECT_GE(std::stod(m[6]), 6.0);
  EXPECT_EQ(m[4], m[9]);  // the reference did not move
  const double drift = std::stod(m[8]) / std::stod(m[3]) - 1;
  EXPECT_NEAR(std::stod(m[10]), drift, 0.0001);
  EXPECT_LT(drift, -0.02);  // 50 to 55 ohms through the bridge: the load signal fell

  // The measured points at 101 MHz (oscillator 2) go between the set-up and
  // the temperature reads; how many the loop takes depends on the clock.
  std::vector<Command> sent = Sent(10), points;
  std::erase_if(sent, [&points](const Command& c) {
    if (c[0] != 'E') return false;
    points.push_back(c);
    return true;
  });
  const std::vector<Command> expect = {Cmd("O", {1}),     Cmd("J", {200}), Cmd("M03FF"),
                                       Cmd("A", {4, 30}), Cmd("K", {43}),  Cmd("K", {171}),
                                       Cmd("O", {2}),     Cmd("ZU"),       Cmd("ZU"),
                                       Cmd("K", {40}),    Cmd("K", {168})};
  EXPECT_EQ(sent, expect);
  ASSERT_GE(points.size(), 4u);  // the first point read three times, then the loop
  EXPECT_EQ(points[0][1], 5);    // the first carries the multiplier change
  EXPECT_EQ(points[1][1], 1);
  EXPECT_DOUBLE_EQ(freq, 101);
  EXPECT_EQ(average, 256);
  EXPECT_EQ(number_decimals, 4);
  std::string shown;
  for (const auto& p : testhook::Prints()) {
    if (p.x == 100 && (p.y == 100 || p.y == 140)) shown += p.text + "|";
  }
  EXPECT_EQ(shown, "1    Temp Drift Test    |1    End of Test     |");
}

}  // namespace
}  // namespace vna
