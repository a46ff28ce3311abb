// Distance to fault and the quarter-wave stub on simulated cables.
#include <regex>

#include "shell/dialogs.h"
#include "shell/menus.h"
#include "support/shell_fixture.h"
#include "support/when.h"
#include "tdr_sim/tdr_sim_fixture.h"
#include "tools/distance_to_fault.h"
#include "tools/tuning_stub.h"

namespace vna::test {
namespace {

// The numbers of a text, in order.
std::vector<double> Numbers(const std::string& text) {
  std::vector<double> out;
  static const std::regex number("-?[0-9]+(\\.[0-9]+)?");
  for (std::sregex_iterator it(text.begin(), text.end(), number), end; it != end; ++it)
    out.push_back(std::stod(it->str()));
  return out;
}

class CableTools : public TdrSim {
 protected:
  void SetUp() override {
    TdrSim::SetUp();
    DefineDialogs();
    tdr_mode = 0;
    start_freq = 3;
    end_freq = 30;
    delta_freq = 0.5;
    interpolate = 0;
  }
  int Measurements() { return std::stoi(Sim().Status("measurements")); }

  // The distance to fault with this velocity factor typed; the last box.
  testhook::MsgBoxRecord DistanceToFaultWith(const std::string& vf) {
    testhook::QueueMsgBoxAnswer(kIdOk, "Distance to Fault");
    AnswerDialog(" Velocity Factor", {{1, vf}}, 2);
    DistanceToFaultCheck();
    EXPECT_FALSE(testhook::MsgBoxes().empty());
    return testhook::MsgBoxes().empty() ? testhook::MsgBoxRecord{} : testhook::MsgBoxes().back();
  }
  void ExpectRestored() {
    EXPECT_EQ(Sim().Status("relays"), "0");
    EXPECT_EQ(start_freq, 3);
    EXPECT_EQ(end_freq, 30);
    EXPECT_EQ(delta_freq, 0.5);
    EXPECT_EQ(interpolate, 0);
    EXPECT_EQ(average, 4);
    EXPECT_EQ(Sim().Status("avg"), "4");
  }
};

TEST_F(CableTools, DistanceToFault) {
  struct Case {
    double z0, vf, len;
    const char* end;
    double quarter_wave;  // MHz
  };
  // A long cable (quarter wave below 6 MHz: three searches) and a short one.
  const Case cases[] = {
      {50, 0.66, 10, "open", 0.66 * 299.792458 / 40},
      {75, 0.8, 2, "short", 0.8 * 299.792458 / 8},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.end);
    testhook::ClearLogs();
    Sim().SetDut(Line(c.z0, c.vf, c.len, c.end));
    const testhook::MsgBoxRecord box = DistanceToFaultWith(Trimmed(c.vf));
    EXPECT_EQ(box.caption, " Distance to Fault");
    EXPECT_TRUE(box.text.starts_with(" Distance to fault =  ")) << box.text;
    // metres, feet, the 90 of "(90 deg)", quarter-wave MHz, Zo
    const std::vector<double> n = Numbers(box.text);
    ASSERT_EQ(n.size(), 5u) << box.text;
    EXPECT_NEAR(n[0], c.len, 0.005 * c.len);
    EXPECT_NEAR(n[1], n[0] * 3.2808, 0.001 * n[1]);
    EXPECT_NEAR(n[3], c.quarter_wave, 0.005 * c.quarter_wave);
    EXPECT_NEAR(n[4], c.z0, 0.02 * c.z0);
    EXPECT_DOUBLE_EQ(VF, c.vf);
    ExpectRestored();
    // Each point of the searches is shown at the top left.
    int progress = 0;
    for (const auto& p : testhook::Prints()) progress += p.x == 10 && p.y == 5;
    EXPECT_GT(progress, 20);
  }
}

TEST_F(CableTools, DistanceToFaultOfACableEndingInALoad) {
  Sim().SetDut(Line(50, 0.66, 10, "r=75"));
  const testhook::MsgBoxRecord box = DistanceToFaultWith("0.66");
  EXPECT_EQ(box.caption, " Lossy Cable");
  EXPECT_TRUE(box.text.starts_with(
      "Cable seems to be lossy or it is terminated in a load.  Maximum phase = "))
      << box.text;
  EXPECT_TRUE(box.text.ends_with(" deg.\rIt should be closer to 90 deg."));
  // 75 ohm behind 50 ohm line: at most atan(25 / (2 sqrt(75 x 50))) .. about 11.5 deg.
  EXPECT_LT(Numbers(box.text)[0], 45);
  ExpectRestored();
}

TEST_F(CableTools, DistanceToFaultWithoutACrossing) {
  // An inductor's phase stays positive up to the top of the model.
  Sim().SetDut("series:r=1,l=1u");
  const testhook::MsgBoxRecord box = DistanceToFaultWith("0.66");
  EXPECT_EQ(box.caption, "");
  EXPECT_EQ(box.text, "Distance to Fault cannot be measured\rError =  1");
  ExpectRestored();
}

TEST_F(CableTools, CancelEndsDistanceToFaultUnmeasured) {
  Sim().SetDut(Line(50, 0.66, 10, "open"));
  const int before = Measurements();
  VF = 0.8;
  testhook::QueueMsgBoxAnswer(kIdCancel, "Distance to Fault");
  DistanceToFaultCheck();
  // Closing the velocity factor box ends it too.
  testhook::QueueMsgBoxAnswer(kIdOk, "Distance to Fault");
  AnswerDialog(" Velocity Factor", {{1, "0.66"}}, 0);
  DistanceToFaultCheck();
  EXPECT_EQ(Measurements(), before);
  EXPECT_EQ(VF, 0.8);
  EXPECT_EQ(testhook::MsgBoxes().size(), 2u);
  ExpectRestored();
}

// Points the search has shown at the top left so far.
int ProgressPoints() {
  int n = 0;
  for (const auto& p : testhook::Prints()) n += p.x == 10 && p.y == 5;
  return n;
}

// Injects `fault` once the search has shown `points` points; 0: at once,
// so the tool's first reading meets it.
void FaultAtPoint(test::SimRunner& sim, const std::string& fault, int points) {
  if (points == 0) {
    sim.Fault(fault);
    return;
  }
  testhook::SetPumpHook([&sim, fault, points] {
    if (ProgressPoints() < points) return;
    sim.Fault(fault);
    testhook::SetPumpHook(nullptr);
  });
}

// A reading that fails ends the measurement with no result: the failure is
// said once (the link's own box when it has one) with the reading's status,
// not as a cable without a quarter wave. The first reading is the settling
// read at 1 MHz, where the link tests no reference.
TEST_F(CableTools, AFailedReadingEndsDistanceToFault) {
  struct Case {
    std::string fault;
    int points;       // shown before the fault
    std::string box;  // the one box after the introduction
    int answer;
  };
  const Case cases[] = {
      {"nosignal 1", 0, "|The instrument failed to measure at", kIdOk},
      {"checksum 5", 5, "|The instrument failed to measure at", kIdOk},
      {"silence 1", 5, " Hardware Reset|", kIdIgnore},
  };
  Sim().SetDut(Line(50, 0.66, 10, "open"));
  for (const Case& c : cases) {
    SCOPED_TRACE(c.fault + " after " + std::to_string(c.points) + " points");
    testhook::ClearLogs();
    Sim().Fault("none");
    testhook::QueueMsgBoxAnswer(kIdOk, "Distance to Fault");
    AnswerDialog(" Velocity Factor", {{1, "0.66"}}, 2);
    testhook::QueueMsgBoxAnswer(c.answer, c.box.substr(0, c.box.find('|')));
    FaultAtPoint(Sim(), c.fault, c.points);
    DistanceToFaultCheck();
    testhook::SetPumpHook(nullptr);
    const std::vector<std::string> boxes = Boxes();
    ASSERT_EQ(boxes.size(), 2u) << ::testing::PrintToString(boxes);
    EXPECT_TRUE(boxes[1].starts_with(c.box)) << boxes[1];
    EXPECT_NE(vna_status, 0);
    ExpectRestored();
  }
  Sim().Fault("none");
}

class StubTool : public CableTools {
 protected:
  void SetUp() override {
    CableTools::SetUp();
    stub_freq = 7.1;
    stub_length = 10;
    VF = 0.8;
    Sim().SetDut(Line(50, 0.66, 10, "open"));
  }
  // The excess texts printed so far ("Excess Length =  ..."), and after each
  // whether "  STOP" followed.
  static bool Printed(const std::string& text) {
    for (const auto& p : testhook::Prints())
      if (p.window == main_win.name && p.text == text) return true;
    return false;
  }
  static std::vector<std::string> Excess() {
    std::vector<std::string> out;
    for (const auto& p : testhook::Prints()) {
      if (p.window != main_win.name) continue;
      if (p.text.starts_with("Excess Length =")) out.push_back(p.text);
      if (p.text == "  STOP" && !out.empty()) out.back() += " STOP";
    }
    return out;
  }
  void Halt() {
    msg_form = &main_win;
    msg_id = kEvCommand;
    msg_ctl_id = kBtnHalt;
    MainWindowHandler();
  }
  // Enter in the stub dialog with these texts.
  static void Answer(const std::string& f, const std::string& length) {
    AnswerDialog(GetTitle(dlg_tuning_stub), {{1, f}, {4, length}}, 5);
  }
};

TEST_F(StubTool, TrimmingACableInMetres) {
  // 10 m of cable with VF 0.66 for a stub at 7.1 MHz: 6.967 m. After the
  // first pass the cable is cut to 7.00 m, after the third to 6.90 m, and
  // after the fifth the user presses Halt. (The pass during which the cable
  // changes is not looked at.)
  metric = 1;
  Answer("7.1", "10");
  When([] { return Excess().size() >= 1; },
       [this] {
         Sim().SetDut(Line(50, 0.66, 7, "open"));
         When([] { return Excess().size() >= 3; },
              [this] {
                Sim().SetDut(Line(50, 0.66, 6.9, "open"));
                When([] { return Excess().size() >= 5; }, [this] { Halt(); });
              });
       });
  MeasureVelocityFactor();
  EXPECT_TRUE(Boxes().empty());
  EXPECT_NEAR(VF, 0.66, 0.005 * 0.66);
  const std::vector<std::string> excess = Excess();
  ASSERT_EQ(excess.size(), 5u);
  EXPECT_NEAR(Numbers(excess[0])[0], 10 - 6.967, 0.005) << excess[0];
  EXPECT_TRUE(std::regex_match(excess[2], std::regex("Excess Length =   0\\.0[0-9]{2} m")))
      << excess[2];
  EXPECT_NEAR(Numbers(excess[2])[0], 0.033, 0.005);
  EXPECT_TRUE(std::regex_match(excess[4], std::regex("Excess Length =  - 0\\.0[0-9]{2} m STOP")))
      << excess[4];
  EXPECT_NEAR(Numbers(excess[4])[0], 0.067, 0.005);
  // The last readout line and the trim scan over 3 .. 7.75 MHz (which the
  // frequency grid then widens to a whole division).
  EXPECT_TRUE(
      Printed("Velocity Factor =  0.660  //  Target Freq =  7.100 //  Target Length =  6.967 m"))
      << testhook::PrintedText(main_win.name);
  EXPECT_EQ(start_freq, 3);
  EXPECT_GE(end_freq, 7.75);
  EXPECT_DOUBLE_EQ(delta_freq, 4.75 / 25);
  EXPECT_EQ(recycle_on, 0);
  EXPECT_EQ(Sim().Status("relays"), "0");
  EXPECT_EQ(average, 4);
  EXPECT_EQ(Sim().Status("avg"), "4");
}

TEST_F(StubTool, ExcessInFeetAndInches) {
  // A cable 0.1 m longer than the stub: 0 feet 3.9 inches.
  metric = 0;
  Answer("7.1", "32.808");  // 10 m
  When([] { return Excess().size() >= 1; },
       [this] {
         Sim().SetDut(Line(50, 0.66, 0.66 * 299.792458 / 28.4 + 0.1, "open"));
         When([] { return Excess().size() >= 3; }, [this] { Halt(); });
       });
  MeasureVelocityFactor();
  const std::vector<std::string> excess = Excess();
  ASSERT_EQ(excess.size(), 3u);
  EXPECT_EQ(excess[2], "Excess Length =   0 ft   3.9 in    ");
  EXPECT_TRUE(
      Printed("Velocity Factor =  0.660  //  Target Freq =  7.100 //  Target Length =  22.857 ft"))
      << testhook::PrintedText(main_win.name);
}

TEST_F(StubTool, APassWithoutACrossingShowsNoCut) {
  // After the first pass the cable gives way to an inductor: no quarter wave,
  // so no length to cut, and the cut shown before does not stay.
  metric = 1;
  Answer("7.1", "10");
  When([] { return Excess().size() >= 1; },
       [this] {
         Sim().SetDut("series:r=1,l=1u");
         When([] { return Excess().size() >= 3; }, [this] { Halt(); });
       });
  MeasureVelocityFactor();
  const std::vector<std::string> excess = Excess();
  ASSERT_EQ(excess.size(), 3u);
  EXPECT_EQ(excess[2], "Excess Length =   not measured        ");
  EXPECT_EQ(Sim().Status("relays"), "0");
}

TEST_F(StubTool, WhatEndsTheToolBeforeTrimming) {
  struct Case {
    const char* name;
    std::string device, length;
    std::string box;
    int status;
  };
  const Case cases[] = {
      // 10 m entered for a cable that measures as 10 m at VF 1.2 or 0.3.
      {"velocity factor above 0.99", Line(50, 0.66, 5.5, "open"), "10",
       "|Sorry, the specified length of the cable seems to be incorrect.\rPlease measure the "
       "cable and reenter the data.",
       21},
      {"velocity factor below 0.5", Line(50, 0.66, 14, "open"), "10",
       "|Sorry, the specified length of the cable seems to be incorrect.\rPlease measure the "
       "cable and reenter the data.",
       21},
      // A 5 m cable cannot give a stub of 6.967 m.
      {"too short", Line(50, 0.66, 5, "open"), "5", "|Sorry, the cable is  1.967 meters too short.",
       1},
      // An inductor shows no quarter wave at all.
      {"no crossing", "series:r=1,l=1u", "10",
       "|The velocity factor cannot be measured:\rno quarter-wave frequency was found.\rError =  1",
       1},
  };
  metric = 1;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    testhook::ClearLogs();
    VF = 0.8;
    Sim().SetDut(c.device);
    Answer("7.1", c.length);
    SetDigits(3);
    MeasureVelocityFactor();
    EXPECT_EQ(Boxes(), std::vector<std::string>{c.box});
    EXPECT_EQ(vna_status, c.status);
    EXPECT_TRUE(Excess().empty());
    if (c.status == 21 || std::string(c.name) == "no crossing") {
      EXPECT_EQ(VF, 0.8);  // VF takes only a measured, plausible value
    }
    EXPECT_EQ(Sim().Status("relays"), "0");
  }
}

// A reading that fails, before the trimming or in one of its passes, ends
// the tool: said once, no velocity factor taken from it, no further pass.
TEST_F(StubTool, AFailedReadingEndsTheTool) {
  metric = 1;
  // The settling read at 1 MHz, where the link tests no reference.
  Sim().Fault("nosignal 1");
  Answer("7.1", "10");
  testhook::SetPumpHook([this] {
    if (!Excess().empty()) Halt();  // should it trim all the same
  });
  MeasureVelocityFactor();
  testhook::SetPumpHook(nullptr);
  ASSERT_EQ(Boxes().size(), 1u) << ::testing::PrintToString(Boxes());
  EXPECT_TRUE(Boxes()[0].starts_with("|The instrument failed to measure at 1 MHz")) << Boxes()[0];
  EXPECT_NE(vna_status, 0);
  EXPECT_EQ(VF, 0.8);
  EXPECT_TRUE(Excess().empty());
  EXPECT_EQ(Sim().Status("relays"), "0");

  // A silent instrument during the second pass's search.
  testhook::ClearLogs();
  Sim().Fault("none");
  Answer("7.1", "10");
  testhook::QueueMsgBoxAnswer(kIdIgnore, " Hardware Reset");
  // The second pass's search: its scan is over, its cut not yet shown.
  testhook::SetPumpHook([this] {
    if (Excess().size() != 1 || scan_running != 0 || recycle_on != 1) return;
    Sim().Fault("silence 1");
    testhook::SetPumpHook(nullptr);
  });
  When([] { return Excess().size() >= 4; }, [this] { Halt(); });
  MeasureVelocityFactor();
  testhook::SetPumpHook(nullptr);
  ASSERT_EQ(Boxes().size(), 1u) << ::testing::PrintToString(Boxes());
  EXPECT_TRUE(Boxes()[0].starts_with(" Hardware Reset|")) << Boxes()[0];
  EXPECT_NE(vna_status, 0);
  const std::vector<std::string> excess = Excess();
  ASSERT_EQ(excess.size(), 2u) << "no pass after the failed one";
  EXPECT_EQ(excess[1], "Excess Length =   not measured        ");
  EXPECT_EQ(recycle_on, 0);
  EXPECT_EQ(Sim().Status("relays"), "0");
}

}  // namespace
}  // namespace vna::test
