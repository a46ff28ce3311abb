// TDR runs of simulated cables. Distances are read on the drawn distance
// axis; a step's edge is its 50 % point. At 100 ft full scale the sweep
// steps 1.25 MHz to 160 MHz and one sample spans 1.0143 ft (VF 0.66): half
// the speed of light on the line, 491.78 x 0.66 ft/us, times 1 / 320 us.
#include <fstream>

#include "files/tdr_file.h"
#include "instrument/measurement_reply.h"
#include "shell/menus.h"
#include "support/file_lines.h"
#include "support/when.h"
#include "tdr_sim/tdr_sim_fixture.h"

namespace vna::test {
namespace {

constexpr double kFeetPerMetre = 3.2808;
constexpr const char* kAutoSave = "last_VNATDR_file.tdr";
// Half the speed of light, feet per microsecond.
constexpr double kHalfLight = 299.792458 / 0.3048 / 2;

std::string ReadBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

class TdrRun : public TdrSim {
 protected:
  // The Scan button in TDR mode, as a person presses it.
  void PressScan() {
    msg_form = &main_win;
    msg_id = kEvCommand;
    msg_ctl_id = kBtnScan;
    MainWindowHandler();
  }
  int Measurements() { return std::stoi(Sim().Status("measurements")); }
  // One sample plus 0.3 % of the distance.
  static double Tolerance(double feet) { return tdr_feet_per_index + 0.003 * feet; }
};

TEST_F(TdrRun, ResistorAtTheEndOfACable) {
  // 10 m of 50 ohm cable, VF 0.66, ending in 100 ohm: rho 1/3 from 32.8 ft on.
  Sim().SetDut(Line(50, 0.66, 10, "r=100"));
  scan_stamp = "Mar 7, 2021  09:15:00";  // of the graph shown before
  const int before = Measurements();
  testhook::ClearLogs();
  PressScan();
  EXPECT_TRUE(Boxes().empty());
  // The first run draws the TDR frame, not the frequency graph, under its trace.
  const std::string printed = testhook::PrintedText("main_win");
  EXPECT_NE(printed.find("TDR Mode"), std::string::npos);
  EXPECT_NE(printed.find("Distance (ft) "), std::string::npos);
  EXPECT_EQ(Measurements() - before, 129);  // points 0..128
  EXPECT_EQ(tdr_trace_points, 256);
  EXPECT_NEAR(tdr_feet_per_index, kHalfLight * 0.66 / 320, 1e-5);
  const double end = 10 * kFeetPerMetre;
  const double edge = Crossing(1 / 6.0, 5);
  EXPECT_NEAR(edge, end, Tolerance(end));
  for (const Sample& s : Between(0, end - 3)) EXPECT_NEAR(s.ohms, 50, 1) << s.feet;
  for (const Sample& s : Between(edge + 3, 100)) EXPECT_NEAR(s.ohms, 100, 2) << s.feet;
  SavePng("tdr_run_100_ohm_end");

  // The run ends with the relays off, the user's averaging back, the
  // trace saved and stamped.
  EXPECT_EQ(Sim().Status("relays"), "0");
  EXPECT_EQ(average, 4);
  EXPECT_EQ(Sim().Status("avg"), "4");
  EXPECT_EQ(scan_running, 0);
  EXPECT_EQ(tdr_show_params, 0);
  EXPECT_EQ(tdr_overlay, 2);
  const std::vector<std::string> saved = testing::SplitCrLf(ReadBytes(kAutoSave));
  ASSERT_EQ(saved.size(), 285u);
  // The file carries this run's stamp, not the one shown before it.
  EXPECT_EQ(saved[0], scan_stamp);
  EXPECT_NE(scan_stamp, "Mar 7, 2021  09:15:00");
  EXPECT_EQ(saved[16], " 1.01430543");
}

// Cables of 3 to 150 m, each at the full scale that shows it: the end's edge
// stands at the cable's length on the distance axis.
TEST_F(TdrRun, CableEndsStandAtTheirLengthFrom3To150Metres) {
  struct Case {
    double metres, full_scale;
  };
  for (const Case& c : {Case{3, 20}, Case{10, 50}, Case{50, 200}, Case{150, 500}}) {
    SCOPED_TRACE(c.metres);
    DXscale = c.full_scale;
    tdr_show_params = 1;
    Sim().SetDut(Line(50, 0.66, c.metres, "open"));
    RunTDR();
    const double end = c.metres * kFeetPerMetre;
    EXPECT_NEAR(Crossing(0.5, 2), end, Tolerance(end));
  }
  SavePng("tdr_run_150_m_open_cable");
}

TEST_F(TdrRun, HighResolutionSweepsToTheTopOfTheModel) {
  // 512 points: 0.703125 MHz steps up to 180 MHz, 0.9016 ft per sample.
  tdr_high_res = 1;
  Sim().SetDut(Line(50, 0.66, 10, "r=100"));
  RunTDR();
  EXPECT_EQ(tdr_trace_points, 512);
  EXPECT_NEAR(tdr_feet_per_index, kHalfLight * 0.66 / 360, 1e-5);
  const double end = 10 * kFeetPerMetre;
  EXPECT_NEAR(Crossing(1 / 6.0, 5), end, Tolerance(end));
  for (const Sample& s : Between(end + 3, 100)) EXPECT_NEAR(s.ohms, 100, 2) << s.feet;
}

TEST_F(TdrRun, SeventyFiveOhmCableBetweenFiftyOhmEnds) {
  // 15 m of 75 ohm cable, VF 0.66, ending in 50 ohm: rho 0.2 from the port
  // to 49.2 ft, then 0 again.
  Sim().SetDut(Line(75, 0.66, 15, "load"));
  RunTDR();
  const double end = 15 * kFeetPerMetre;
  const double near_edge = Crossing(0.1, -5);
  EXPECT_NEAR(near_edge, 0, Tolerance(0));
  const double far_edge = Crossing(0.1, near_edge + 2);
  EXPECT_NEAR(far_edge, end, Tolerance(end));
  const std::vector<Sample> inside = Between(near_edge + 3, far_edge - 3);
  EXPECT_GT(inside.size(), 35u);
  for (const Sample& s : inside) EXPECT_NEAR(s.ohms, 75, 1.5) << s.feet;
  // Beyond it 50 ohm again, seen through the two steps: rho 0.2 - 0.2 (1 -
  // 0.2^2) = 0.008, 50.8 ohm; up to 95 ft (sample 103 of 127: the sweep's
  // first point, read at 0.1 MHz for 0, tilts the last samples a little).
  for (const Sample& s : Between(far_edge + 3, 95)) EXPECT_NEAR(s.ohms, 50.8, 0.5) << s.feet;
  SavePng("tdr_run_75_ohm_cable");
}

TEST_F(TdrRun, OpenAndShortEndsReflectFully) {
  for (const char* end : {"open", "short"}) {
    SCOPED_TRACE(end);
    Sim().SetDut(Line(50, 0.66, 10, end));
    RunTDR();
    const std::vector<Sample> past = Between(10 * kFeetPerMetre + 3, 100);
    EXPECT_GT(past.size(), 60u);
    for (const Sample& s : past) EXPECT_GE(std::fabs(s.rho()), 0.97) << s.feet;
    EXPECT_EQ(past[10].rho() > 0, std::string(end) == "open");
  }
  SavePng("tdr_run_open_and_short");
}

TEST_F(TdrRun, TooManyPointsOnlyWarns) {
  Numpts = 2000;
  Sim().SetDut(Line(50, 0.66, 10, "short"));
  RunTDR();
  EXPECT_EQ(Boxes(),
            std::vector<std::string>{
                " Too Many Points|TDR number of points =  2000  Max # of points is 1050."});
  EXPECT_EQ(tdr_trace_points, 256);
}

TEST_F(TdrRun, RescanWindowAndDiagnosticLines) {
  Sim().SetDut(Line(50, 0.66, 10, "r=100"));
  PressScan();
  const std::vector<double> plain(std::begin(tdr_response), std::end(tdr_response));
  EXPECT_EQ(tdr_overlay, 2);
  // Rescan draws over the trace (no new frame: the colour moves on); a
  // MyVar1 of 1 applies no window.
  MyVar1 = 1;
  msg_form = &main_win;
  msg_id = kEvCommand;
  msg_ctl_id = kBtnRescan;
  MainWindowHandler();
  EXPECT_EQ(tdr_overlay, 3);
  for (int i = 1; i < 128; ++i) EXPECT_NEAR(tdr_response[i], plain[i], 1e-9) << i;
  // Above 1 the spectrum is weighted by ten times a Hamming window.
  MyVar1 = 2;
  DIAGMODE = 1;
  testhook::ClearLogs();
  RunTDR();
  EXPECT_GT(std::fabs(tdr_response[60] - plain[60]), 0.05);
  // In diagnostic mode the plan and the rate are printed.
  SetDigits(3);
  bool plan = false, rate = false;
  for (const auto& p : testhook::Prints()) {
    plan |= p.x == 300 && p.y == 10 &&
            p.text ==
                " Numpts= 256 delf= 1.250 VF= 0.660 LengthOffset= 10  FeetPerNdx= 1.014 "
                "DXfactor=" +
                    NumStr(DXfactor);
    rate |= p.x == graph_right && p.y == graph_bottom + 10 &&
            p.text.find("pts/sec (") != std::string::npos;
  }
  EXPECT_TRUE(plan);
  EXPECT_TRUE(rate);
  DIAGMODE = 0;
  MyVar1 = 0;
}

// What a halted, interrupted or failed sweep must leave: the stored trace,
// its title, the auto-save file and the drawing as they were.
class TdrInterrupted : public TdrRun {
 protected:
  void SetUp() override {
    TdrRun::SetUp();
    Sim().SetDut(Line(50, 0.66, 10, "r=100"));
    RunTDR();
    tdr_graph_title = "the good trace";
    file_name = kAutoSave;
    SaveTDR(1);
    response_.assign(std::begin(tdr_response), std::end(tdr_response));
    auto_save_ = ReadBytes(kAutoSave);
    for (auto& e : tdr_trace_table) e[0] = e[1] = -7;
    // The cable is shortened before the run that is cut short.
    Sim().SetDut(Line(50, 0.66, 5, "short"));
    testhook::ClearLogs();
  }
  void ExpectTheGoodTrace() {
    EXPECT_EQ(std::vector<double>(std::begin(tdr_response), std::end(tdr_response)), response_);
    EXPECT_EQ(tdr_trace_points, 256);
    EXPECT_EQ(tdr_graph_title, "the good trace");
    EXPECT_EQ(ReadBytes(kAutoSave), auto_save_);
    EXPECT_EQ(tdr_trace_table[20][0], -7);  // nothing drawn
    EXPECT_EQ(Sim().Status("relays"), "0");
    EXPECT_EQ(average, 4);
    EXPECT_EQ(scan_running, 0);
  }
  std::vector<double> response_;
  std::string auto_save_;
};

TEST_F(TdrInterrupted, HaltDuringTheSweep) {
  When([] { return freq > 50; },
       [] {
         msg_form = &main_win;
         msg_id = kEvCommand;
         msg_ctl_id = kBtnHalt;
         MainWindowHandler();
       });
  const int before = Measurements();
  PressScan();
  EXPECT_LT(Measurements() - before, 60);
  ExpectTheGoodTrace();
}

TEST_F(TdrInterrupted, ExitDuringTheSweep) {
  When([] { return freq > 50; }, [] { CloseToolWindows(); });
  RunTDR();
  EXPECT_EQ(main_loop_on, 0);
  ExpectTheGoodTrace();
  main_loop_on = 1;
}

TEST_F(TdrInterrupted, AFailedReadEndsTheSweep) {
  // No reference signal from 50 MHz on: the point is not read.
  When([] { return freq > 50; }, [this] { Sim().Fault("noref"); });
  RunTDR();
  Sim().Fault("none");
  ExpectTheGoodTrace();
}

TEST_F(TdrInterrupted, AFailedFirstPointEndsTheSweep) {
  // Five damaged replies: the first point (0.1 MHz) has no reading at all.
  Sim().Fault("checksum 5");
  const int before = Measurements();
  RunTDR();
  Sim().Fault("none");
  EXPECT_EQ(vna_status, kStatusBadChecksums);
  EXPECT_EQ(Measurements() - before, 1);  // the one point, resent
  ExpectTheGoodTrace();
}

// An overload part way through the sweep is said once, and the sweep ends
// with its status, keeping the trace before it.
TEST_F(TdrInterrupted, AnOverloadIsSaidOnce) {
  When([] { return freq > 50; }, [this] { Sim().Fault("overload"); });
  RunTDR();
  Sim().Fault("none");
  SavePng("tdr_overload");
  EXPECT_EQ(vna_status, kStatusOverload);
  EXPECT_EQ(Boxes().size(), 1u);
  for (const std::string& b : Boxes()) EXPECT_EQ(b.rfind("  RF INPUT OVERLOAD |", 0), 0u) << b;
  ExpectTheGoodTrace();
}

TEST_F(TdrRun, ScanDuringTheSweepStartsNoSecondRun) {
  Sim().SetDut(Line(50, 0.66, 10, "open"));
  bool pressed = false;
  When([] { return freq > 50; },
       [&] {
         PressScan();
         pressed = true;
       });
  const int before = Measurements();
  PressScan();
  EXPECT_TRUE(pressed);
  EXPECT_EQ(Measurements() - before, 129);
  EXPECT_EQ(tdr_overlay, 2);  // one trace drawn
  EXPECT_EQ(average, 4);
  EXPECT_EQ(Sim().Status("avg"), "4");
  EXPECT_EQ(tdr_trace_points, 256);
}

}  // namespace
}  // namespace vna::test
