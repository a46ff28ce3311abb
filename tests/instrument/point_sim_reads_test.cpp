// Port A and Port B point reads: repeats after a multiplier change, the port
// selection, and the Port A gain switch.
#include "instrument/frequency_programming.h"
#include "instrument/point_reads.h"
#include "point_sim.h"
#include "shell/state.h"

namespace vna {
namespace {

class PointSimReads : public PointSim {
 protected:
  void SetUp() override {
    Start("uhf", {"--bridge", "ideal", "--dut", "z=30,40"});
    MyVar3 = 0;
  }
  // Measurements the simulator made for one read at f.
  int Readings(int (*read)(int), double f, int flags = 0) {
    freq = f;
    const long before = std::stol(Sim().Status("measurements"));
    read(flags);
    return static_cast<int>(std::stol(Sim().Status("measurements")) - before);
  }
};

TEST_F(PointSimReads, PortAReadsAgainAfterAMultiplierChange) {
  // Start-up's own frequency-only point already changed the multipliers.
  EXPECT_EQ(Readings(ReadPoint_A, 14), 3);
  EXPECT_EQ(mult_changed, 0);
  EXPECT_EQ(Readings(ReadPoint_A, 20), 1);       // same plan entry
  EXPECT_EQ(Readings(ReadPoint_A, 50), 3);       // 13,12 from 40 MHz
  EXPECT_EQ(Readings(ReadPoint_A, 60, 128), 1);  // bit 7 dropped: a corrected point
  MyVar3 = 0.5;
  EXPECT_EQ(Readings(ReadPoint_A, 100), 1);  // back to 14,13, change not counted
  EXPECT_EQ(PortB_on, 0);
  EXPECT_EQ(Sim().Status("port"), "A");
  EXPECT_NEAR(ref_load_ratio, MagRef * 50 / (MagLoad + 1), 1e-12);
  EXPECT_NEAR(ref_load_ratio, 50, 1);  // |Z| = 50 ohms
}

TEST_F(PointSimReads, PortBReadsOnceMoreAfterAMultiplierChange) {
  EXPECT_EQ(Readings(ReadPoint_B, 14), 2);
  EXPECT_EQ(Readings(ReadPoint_B, 20), 1);
  EXPECT_EQ(PortB_on, 1);  // stays set for later readings
  EXPECT_EQ(Sim().Status("port"), "B");
  EXPECT_EQ(mult_changed, 0);
}

TEST_F(PointSimReads, PortAWarnsBelowTwoKilohertzAndReadsAnyway) {
  EXPECT_EQ(Readings(ReadPoint_A, 0.001), 3);
  ASSERT_EQ(testhook::MsgBoxes().size(), 1u);
  EXPECT_EQ(testhook::MsgBoxes()[0].caption, " 82321");
  EXPECT_EQ(testhook::MsgBoxes()[0].text, "freq= 0.001");
  EXPECT_EQ(freq, 0.001);
}

TEST_F(PointSimReads, SetGainA) {
  const struct { int n, step, byte; } cases[] = {{2, 5, 8}, {1, 1, 4}, {0, 1, 4}, {5, 5, 8}};
  for (const auto& c : cases) {
    Mark();
    SetGainA(c.n);
    EXPECT_EQ(PortA_Gain, c.step) << c.n;
    std::vector<Command> a = SentOf('A', 1);
    ASSERT_EQ(a.size(), 1u);
    EXPECT_EQ(a[0][1], c.byte) << c.n;
  }
}

}  // namespace
}  // namespace vna
