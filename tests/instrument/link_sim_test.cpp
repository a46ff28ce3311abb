// Bringing the link up and identifying the instrument, against the simulator.
#include <string>

#include "instrument/freq_plan.h"
#include "instrument/point_reads.h"
#include "instrument/serial_link.h"
#include "instrument/supply.h"
#include "platform/clock.h"
#include "instrument/sim_link.h"
#include "instrument/version.h"
#include "shell/init_vars.h"
#include "shell/state.h"
#include "support/sim_protocol.h"
#include "support/temp_dir.h"

namespace vna {
namespace {

size_t CountNotes(const test::SimRunner& sim, const std::string& start) {
  size_t n = 0;
  for (const std::string& note : sim.Notes()) n += note.rfind(start, 0) == 0;
  return n;
}

class CheckCommTest : public SimLink {
 protected:
  void Run(std::vector<std::string> sim_args, int high) {
    StartSim(std::move(sim_args));
    Mark();
    highbaud = high;
    CheckComm();
  }
};

TEST_F(CheckCommTest, WithoutHighBaudOneOpenAndOnlyTheVersionQuery) {
  Run({"--model", "uhf"}, 0);
  EXPECT_EQ(Sent(), (std::vector<Command>{Cmd("V")}));
  EXPECT_EQ(baudrate, 57600);
  EXPECT_EQ(SerialBaud(hcom), 57600);
  EXPECT_EQ(comm_ok, 1);
  EXPECT_EQ(vna_status, 0);
  EXPECT_EQ(vna_present, 1);
}

TEST_F(CheckCommTest, HighBaudStaysAtTheHighSpeedWhenTheInstrumentFollows) {
  Run({"--model", "uhf"}, 1);
  EXPECT_EQ(Sent(3), (std::vector<Command>{Cmd("V"), Cmd("C", {5}), Cmd("V")}));
  EXPECT_EQ(baudrate, 115000);
  EXPECT_EQ(SerialBaud(hcom), 115000);
  EXPECT_EQ(comm_ok, 1);
  EXPECT_EQ(CountNotes(*sim_, "line speed 115000"), 1u);
}

TEST_F(CheckCommTest, InstrumentOnlyAtTheLowSpeedBringsTheLinkBack) {
  Run({"--model", "uhf", "--max-baud", "57600"}, 1);
  // The query at 115000 reaches the simulator garbled and is not answered.
  EXPECT_EQ(Sent(3), (std::vector<Command>{Cmd("V"), Cmd("C", {5}), Cmd("V")}));
  EXPECT_EQ(CountNotes(*sim_, "1 bytes garbled: the line runs at 115000"), 1u);
  EXPECT_EQ(baudrate, 57600);
  EXPECT_EQ(SerialBaud(hcom), 57600);
  EXPECT_EQ(comm_ok, 1);
  EXPECT_EQ(vna_status, 0);
}

TEST_F(CheckCommTest, NoInstrumentMakesNoThirdAttempt) {
  StartSim({"--model", "uhf"});
  sim_->Control("power off");
  Mark();
  highbaud = 1;
  CheckComm();
  // A switched-off instrument stays at 57600, so the query at 115000 arrives
  // garbled; nothing follows it.
  EXPECT_EQ(Sent(2), (std::vector<Command>{Cmd("V"), Cmd("C", {5})}));
  EXPECT_EQ(CountNotes(*sim_, "1 bytes garbled: the line runs at 115000"), 1u);
  EXPECT_EQ(baudrate, 115000);
  EXPECT_EQ(SerialBaud(hcom), 115000);
  EXPECT_EQ(comm_ok, 0);
  EXPECT_EQ(vna_status, 10137);
  EXPECT_EQ(msg_text, " Check VNA DC power and comm cable");
}

class Identification : public SimLink {
 protected:
  testing::TempDir dir_;  // version.txt goes to the program folder
  testing::ScopedEnv program_dir_{"VNA_PROGRAM_DIR", dir_.path()};
};

TEST_F(Identification, TwoMultiplierModel) {
  StartSim({"--model", "uhf"});
  GetVersion(1);
  const test::VersionData expect = test::ParseVersion(version_reply);
  ASSERT_TRUE(expect.valid);
  EXPECT_EQ(comm_ok, 1);
  EXPECT_EQ(model_uhf, 1);
  EXPECT_EQ(model7306, 0);
  EXPECT_EQ(two_osc, 1);
  EXPECT_EQ(has_temp, 1);
  EXPECT_NEAR(ddsclk1, expect.clk1, 1e-9);
  EXPECT_NEAR(ddsclk2, expect.clk2, 1e-9);
  EXPECT_NEAR(DDS_Clk, expect.clk1, 1e-9);
  EXPECT_NEAR(freq_offset1, expect.offset1, 1e-12);
  EXPECT_NEAR(freq_offset2, expect.offset2, 1e-12);
  EXPECT_GT(ddsclk1, 0);
  EXPECT_NE(ddsclk1, ddsclk2);
  // The frequency plan is rebuilt after every query.
  EXPECT_EQ(freq_mult_table[1215], 393);
}

TEST_F(Identification, SingleDdsModelWithoutSensor) {
  StartSim({"--model", "7306", "--no-temp"});
  GetVersion(1);
  EXPECT_EQ(comm_ok, 1);
  EXPECT_EQ(model_uhf, 0);
  EXPECT_EQ(model7306, 1);
  EXPECT_EQ(two_osc, 0);
  EXPECT_EQ(has_temp, 0);
  EXPECT_DOUBLE_EQ(ddsclk1, 100);
  EXPECT_DOUBLE_EQ(DDS_Clk, 100);
  // Without a sensor the temperature is not asked for.
  Mark();
  ReadTemperature();
  EXPECT_EQ(vna_status, 34515);
  DelayMs(50);
  EXPECT_TRUE(sim_->CommandsSince("step1").empty());
}

TEST_F(Identification, SilentPortGivesDemonstrationModeInTime) {
  StartSim({"--model", "uhf"});
  sim_->Control("power off");
  model_uhf = 0;
  model7306 = 1;
  const uint64_t t0 = TickMs64();
  GetVersion(1);
  EXPECT_LT(TickMs64() - t0, 1000u);
  EXPECT_EQ(comm_ok, 0);
  EXPECT_EQ(vna_present, 0);
  EXPECT_EQ(model_uhf, 1);
  EXPECT_EQ(model7306, 0);
  EXPECT_EQ(msg_text, "  Demo mode Zelmar ");
}

// A version query that got no answer in time leaves demonstration mode with
// the port still open. The instrument's offsets were never read: a frequency
// command would run both of its DDS at the same frequency.
TEST_F(Identification, AnInstrumentThatWasNotIdentifiedIsNotProgrammed) {
  StartSim({"--model", "uhf", "--fault", "silence:1"});
  InitVars();
  GetVersion(1);
  ASSERT_EQ(comm_ok, 0);
  ASSERT_EQ(vna_present, 0);
  ASSERT_EQ(model_uhf, 1);
  Mark();
  freq = 100;
  ReadPoint_A(0);
  SendData("V", 1);  // what went out before it has arrived once it has
  EXPECT_EQ(Sent(1), (std::vector<Command>{Cmd("V")}));
  EXPECT_EQ(sim_->Status("protocolerrors"), "0") << sim_->StderrText();
}

}  // namespace
}  // namespace vna
