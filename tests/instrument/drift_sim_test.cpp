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
  Window halt_win_{"halt_win"};
  uint64_t offset_ = 0;
};

TEST_F(DriftTest, LogsAtOnceThenEveryFiveSecondsUntilHalt) {
  StartSim({"--model", "uhf", "--temp", "25"});
  GetVersion(1);
  ASSERT_EQ(has_temp, 1);
  full_current_mode = 0;
  last_dds_amp = -1;
  MagLoad = 1000;
  MagRef = 2000;
  point_Rs = 50;
  point_Xs = -3;
  // Stands in for the user: after the first line the clock moves on 6 s;
  // after the second, Halt.
  OpenWindow(halt_win_, 0, 0, 50, 50, kWinCaption, "", [this] {
    if (LogLinesShown() == 1 && offset_ == 0) {
      offset_ = 6000;
      SetTickOffset(offset_);
      MagLoad = 1010;
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
  const std::regex line(
      R"(( [0-9.]+)  (7[67]\.[0-9])  1000  2000  0  0  -0\.5000   Zload= 50\+j -3\r\n)"
      R"(( [0-9.]+)  (7[67]\.[0-9])  1010  2000  0\.0100  0  -0\.4950   Zload= 50\+j -3\r\n)");
  std::smatch m;
  ASSERT_TRUE(std::regex_match(text, m, line)) << text;
  EXPECT_LT(std::stod(m[1]), 2.0);  // the set-up time
  EXPECT_GE(std::stod(m[3]), 6.0);

  const std::vector<Command> sent = Sent(10);
  const std::vector<Command> expect = {
      Cmd("O", {1}),   Cmd("J", {200}), Cmd("M03FF"), Cmd("A", {4, 30}), Cmd("K", {43}),
      Cmd("K", {171}), Cmd("ZU"),       Cmd("ZU"),    Cmd("K", {40}),    Cmd("K", {168})};
  EXPECT_EQ(sent, expect);
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
