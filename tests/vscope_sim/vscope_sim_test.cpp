// The Vector Scope readings and the channel scans against the instrument
// simulator with a 75 ohm load: the multiplexer commands, the Port A SWR
// reading, the channel files (written by the program from a Port A
// calibration measured on the simulator) are real; the Port B scan is the
// stand-in of fakes.h, so each channel's S21 is the one the test sets.
#include <cmath>
#include <filesystem>

#include "calibration/cal_file.h"
#include "scan/scan_sim.h"
#include "shell/commands.h"
#include "shell/menus.h"
#include "vscope/vscope_fixture.h"
#include "vscope_sim/fakes.h"

namespace vna {
namespace {

using test::Boxes;
using test::DuringScan;
using test::MessageLog;
using test::Press;
using test::Readings;
using test::Scans;
using test::ScannedChannels;

class VScopeSim : public ScanSim {
 protected:
  void SetUp() override {
    Begin({"--dut", "r=75"});
    font_weight = 200;
    Readings().clear();
    Scans().clear();
    DuringScan() = nullptr;
    testhook::SetPumpHook(nullptr);
    mux_busy = vscope_open = arrayscan_open = arrayscan_shown = 0;
    vscope_recycle = 0;
    for (int n = 1; n <= 6; ++n) chan_enabled[n] = 0;
    Calibrate(1, 10, 0.5);
    Sim().SetDut("r=75");
    WriteChannelFiles({1, 2, 3, 4}, true);
    testhook::ClearLogs();
  }
  void TearDown() override {
    testhook::SetPumpHook(nullptr);
    DuringScan() = nullptr;
    CloseWindow(win_vector_scope);
    CloseWindow(win_array_scan);
    ScanSim::TearDown();
  }

  // The calibration in memory written as these channels' files by the
  // program, with a Port B table (made up: the Port B scan is a stand-in)
  // or without one.
  void WriteChannelFiles(std::vector<int> channels, bool port_b) {
    for (int i = 0; i < cal_points; ++i) {
      CalPointB& b = CalDataB[i];
      b = CalPointB{};
      b.freq = CalDataA[i].freq;
      b.ratio_low = b.ratio_high = 1;
      b.multstate = CalDataA[i].multstate;
      b.gainA = b.gainB = 1;
      b.osc = CalDataA[i].osc;
    }
    MaxCalBNdx = cal_points - 1;
    PortB_cal = port_b ? 1 : 0;
    cal_save_name = Path("ant.vcal");
    for (int c : channels) {
      mux_chan = c;
      if (c == 1) testhook::QueueFileAnswer(Path("ant.vcal"));
      ASSERT_TRUE(SaveCalFile()) << c;
    }
    mux_chan = 0;
  }
  std::string Path(const std::string& name) const { return Folder() + "/" + name; }

  // The channels of the multiplexer commands ("L") since the last Mark().
  std::vector<int> MuxCommands() {
    std::vector<int> out;
    for (const Command& c : Sent(0))
      if (c.size() >= 3 && c[0] == 'L') out.push_back((c[2] - 1) & 7);
    return out;
  }

  // Opens the scope, runs `step` in it, closes it.
  static void InScope(std::function<void()> step) {
    test::WhileOpen(win_vector_scope, OpenVectorScope, [step] {
      step();
      Press(win_vector_scope, 21170);
    });
  }
};

double Num(int id) {
  return ParseNumber(GetCtlText(win_vector_scope, id));
}

TEST_F(VScopeSim, ReadAllReadsEachChannelOnceWithTheArraySwrAfterChannelOne) {
  Readings()[1] = {-1.0, 0.2};
  Readings()[2] = {-7.02, 0.2};        // half the voltage of channel 1
  Readings()[3] = {-1.0, 0.2 - 0.44};  // 25.2 degrees behind
  InScope([&] {
    start_freq = 2;
    end_freq = 8;
    delta_freq = 0.5;
    Numscanpts = 13;
    Mark();
    Press(win_vector_scope, 30400);
    EXPECT_EQ(ScannedChannels(), (std::vector<int>{1, 2, 3}));
    for (const test::ScanRecord& s : Scans()) {
      EXPECT_EQ(s.start, 3.5);
      EXPECT_EQ(s.step, 1);
      EXPECT_EQ(s.scanning, 1);
    }
    // L for channel 1, then the Port A reading ("E"), then L 2 and L 3; the
    // relays are switched off at the end.
    const std::vector<Command> sent = Sent(0);
    std::vector<std::string> order;
    for (const Command& c : sent) {
      if (c[0] == 'L') order.push_back("L" + std::to_string((c[2] - 1) & 7));
      if (c[0] == 'E' && (order.empty() || order.back() != "E")) order.push_back("E");
    }
    EXPECT_EQ(order, (std::vector<std::string>{"L1", "E", "L2", "L3"}));
    EXPECT_EQ(Sim().Status("relays"), "0");

    EXPECT_NEAR(Num(90252), 0.5, 0.005);
    EXPECT_NEAR(Num(90262), 0, 0.5);
    EXPECT_NEAR(Num(90253), 1, 0.001);
    EXPECT_NEAR(Num(90263), -25.2, 0.5);
    const double swr_shown = ParseNumber(GetCtlText(win_vector_scope, kVsSwrText).substr(7));
    EXPECT_NEAR(swr_shown, 1.5, 0.015) << GetCtlText(win_vector_scope, kVsSwrText);
    EXPECT_EQ(GetCtlText(win_vector_scope, kVsSwrText).substr(0, 8), " SWR =  ");
    // The bar: (375 - 2) x (SWR - 1) pixels from its left edge, where the
    // frame's yellow starts again.
    const QImage img = test::Picture(win_vector_scope);
    int col = kSwrBarX + 1;
    while (col < kSwrBarX + kSwrBarW - 2 &&
           test::PixelAt(img, col, kSwrBarY + 8) != bright_yellow_color)
      ++col;
    EXPECT_EQ(col - kSwrBarX, Rnd(373 * (swr - 1)));
    EXPECT_NEAR(col - kSwrBarX, 186, 2);
    EXPECT_EQ(GetCtlText(win_vector_scope, kVsDumpText), " DPwr =  -1dB   ");
    test::KeepPng(win_vector_scope, "vector_scope_read_all");

    EXPECT_EQ(start_freq, 2);
    EXPECT_EQ(end_freq, 8);
    EXPECT_EQ(delta_freq, 0.5);
    EXPECT_EQ(Numscanpts, 13);
    EXPECT_EQ(freq, 3.5);
    EXPECT_EQ(chan_enabled[1], 1);
    EXPECT_EQ(vscope_reading_all, 0);
    EXPECT_EQ(cal_file_path, Path("ant.chan3"));
    EXPECT_TRUE(testhook::MsgBoxes().empty()) << MessageLog();
  });
}

TEST_F(VScopeSim, ReadElementReadsElementOneFirstWhenEnabled) {
  InScope([&] {
    Press(win_vector_scope, 30303);
    chan_enabled[1] = 0;
    Press(win_vector_scope, 30303);
    EXPECT_EQ(ScannedChannels(), (std::vector<int>{1, 3, 3}));
  });
}

// A request that comes while a reading waits for the multiplexer to settle
// would switch it away from the element being read.
TEST_F(VScopeSim, RequestsDuringTheSettlingWaitAreIgnored) {
  InScope([&] {
    SetCtlText(win_vector_scope, kVsDelay, "150");
    bool posted = false;
    testhook::SetPumpHook([&] {
      if (posted || vscope_scanning == 0 || scan_running != 0) return;
      posted = true;
      PostEvent(win_vector_scope, kEvCommand, 30303);  // Read 3
      PostEvent(win_vector_scope, kEvCommand, 30400);  // READ ALL
      PostEvent(win_vector_scope, kEvCommand, 30401);  // RECYCLE
      PostEvent(win_vector_scope, kEvKeyDown, 0, 'S');
      DispatchCommand(kBtnScan);                      // all channels
    });
    PortB_on = 1;
    Mark();
    Press(win_vector_scope, 30302);
    testhook::SetPumpHook(nullptr);
    EXPECT_TRUE(posted);
    EXPECT_EQ(ScannedChannels(), (std::vector<int>{1, 2}));
    EXPECT_EQ(MuxCommands(), (std::vector<int>{1, 2}));
    EXPECT_EQ(vscope_recycle, 0);
  });
}

TEST_F(VScopeSim, ReadElementDuringAScanChangesNothing) {
  InScope([&] {
    DuringScan() = [&](int channel) {
      if (channel != 2) return;
      Mark();
      ReadElement(3);
      EXPECT_EQ(vscope_scanning, 1);
      EXPECT_TRUE(Sent(0).empty()) << "a relay or multiplexer command";
    };
    Press(win_vector_scope, 30302);
    EXPECT_EQ(ScannedChannels(), (std::vector<int>{1, 2}));
    EXPECT_EQ(vscope_scanning, 0);
  });
}

TEST_F(VScopeSim, RecyclePressedAgainEndsAfterThePassAndSwitchesTheRelaysOff) {
  InScope([&] {
    int passes = 0;
    DuringScan() = [&](int channel) {
      if (channel == 1) ++passes;
      if (passes == 2 && channel == 2) {
        EXPECT_EQ(GetCtlText(win_vector_scope, 30401), "stop/recycle");
        PostEvent(win_vector_scope, kEvCommand, 30401);
      }
    };
    Press(win_vector_scope, 30401);
    EXPECT_EQ(ScannedChannels(), (std::vector<int>{1, 2, 3, 1, 2, 3}));
    EXPECT_EQ(vscope_recycle, 0);
    EXPECT_EQ(GetCtlText(win_vector_scope, 30401), "RECYCLE");
    EXPECT_EQ(Sim().Status("relays"), "0");
  });
}

TEST_F(VScopeSim, ChannelsWithoutPortBCalibrationKeepTheirValues) {
  WriteChannelFiles({1}, false);
  std::filesystem::remove(Path("ant.chan3"));
  cal_file_path = Path("ant.chan2");
  Readings()[2] = {-3, 0.5};
  InScope([&] {
    vscope_elements[1].mag = 0.7;
    vscope_elements[1].phase = 0.1;
    vscope_elements[3].mag = 0.3;
    vscope_elements[3].phase = 0.2;
    testhook::ClearLogs();
    Press(win_vector_scope, 30302);
    Press(win_vector_scope, 30303);
    EXPECT_EQ(ScannedChannels(), (std::vector<int>{2}));
    EXPECT_EQ(vscope_elements[1].mag, 0.7);
    EXPECT_EQ(vscope_elements[1].phase, 0.1);
    EXPECT_NEAR(vscope_elements[2].mag, std::pow(10, -3.0 / 20), 1e-6);
    EXPECT_EQ(vscope_elements[3].mag, 0.3);
    EXPECT_EQ(testhook::MsgBoxes().size(), 4u) << MessageLog();
    EXPECT_EQ(Boxes(" No cal file"), 3) << MessageLog();
    EXPECT_EQ(Boxes(" Cal Required"), 1) << MessageLog();
    const auto& first = testhook::MsgBoxes()[0];
    EXPECT_EQ(first.text, "Channel 1 cal file: " + Path("ant.chan1") + "\r\n was not found");
    EXPECT_TRUE(first.topmost);
    EXPECT_EQ(testhook::MsgBoxes()[2].caption, " Cal Required");
    EXPECT_EQ(testhook::MsgBoxes()[3].text,
              "Channel 3 cal file: " + Path("ant.chan3") + "\r\n was not found");
    EXPECT_EQ(mux_chan, 0);
  });
}

TEST_F(VScopeSim, ScopeFrequencyOutsideTheChannelsCalibrationIsRefused) {
  struct Case {
    double f;
    bool read;
  };
  // The calibration runs from 1 to 10 MHz.
  const Case cases[] = {{12, false},    {0.9, false}, {9.99995, false},
                        {9.9998, true}, {1, true},    {3.5, true}};
  InScope([&] {
    chan_enabled[1] = 0;
    start_freq = 2;
    end_freq = 8;
    delta_freq = 0.5;
    for (const Case& c : cases) {
      SCOPED_TRACE(c.f);
      Scans().clear();
      testhook::ClearLogs();
      freq = c.f;
      Press(win_vector_scope, 30302);
      EXPECT_EQ(freq, c.f);
      EXPECT_EQ(start_freq, 2);
      EXPECT_EQ(end_freq, 8);
      EXPECT_EQ(delta_freq, 0.5);
      if (c.read) {
        ASSERT_EQ(Scans().size(), 1u);
        EXPECT_EQ(Scans()[0].start, c.f);
        EXPECT_TRUE(testhook::MsgBoxes().empty()) << MessageLog();
      } else {
        EXPECT_TRUE(Scans().empty());
        ASSERT_EQ(testhook::MsgBoxes().size(), 1u) << MessageLog();
        EXPECT_EQ(testhook::MsgBoxes()[0].caption, " Frequency out of range");
        EXPECT_NE(testhook::MsgBoxes()[0].text.find("from 1 to 9.9999 MHz"), std::string::npos)
            << testhook::MsgBoxes()[0].text;
      }
    }
  });
}

// ---- Channel scans ----

TEST_F(VScopeSim, AllChannelsScanChannelOneThenTheEnabledOnes) {
  struct Case {
    std::vector<int> enabled;
    std::vector<int> scanned;
  };
  const Case cases[] = {
      {{1, 2, 3}, {1, 2, 3}},
      {{1, 3, 4}, {1, 3, 4}},
      {{2, 3}, {1, 2, 3}},  // channel 1 always first: it is the reference
  };
  vscope_open = 1;
  for (const Case& c : cases) {
    for (int n = 1; n <= 6; ++n) chan_enabled[n] = 0;
    for (int n : c.enabled) chan_enabled[n] = 1;
    Scans().clear();
    Mark();
    ScanAllChannels();
    EXPECT_EQ(ScannedChannels(), c.scanned);
    EXPECT_EQ(MuxCommands(), c.scanned);
    for (const test::ScanRecord& s : Scans()) {
      EXPECT_EQ(s.multichan, 1);
      EXPECT_EQ(s.plots21, 1);
    }
    EXPECT_EQ(mux_chan, 0);
    EXPECT_EQ(multichan_scan, 0);
  }
  EXPECT_EQ(chan_colors[1][2], RedColor);
  EXPECT_EQ(chan_colors[3][1], Rgb(136, 122, 244));
  EXPECT_EQ(chan_colors[6][0], Rgb(50, 243, 50));
  EXPECT_EQ(chan_colors[6][2], 0);
  EXPECT_TRUE(testhook::MsgBoxes().empty()) << MessageLog();
  vscope_open = 0;
}

TEST_F(VScopeSim, StopRequestsEndAllChannelScansBeforeTheNextChannel) {
  struct Case {
    const char* what;
    std::function<void()> stop;
  };
  const Case cases[] = {
      {"Halt", [] { DispatchCommand(kBtnHalt); }},
      {"exit", [] { CloseToolWindows(); }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    vscope_open = 1;
    main_loop_on = 1;
    chan_enabled[1] = chan_enabled[2] = chan_enabled[3] = 1;
    Scans().clear();
    DuringScan() = [&](int channel) {
      if (channel == 2) c.stop();
    };
    Mark();
    ScanAllChannels();
    EXPECT_EQ(ScannedChannels(), (std::vector<int>{1, 2}));
    EXPECT_EQ(MuxCommands(), (std::vector<int>{1, 2}));
  }
  main_loop_on = 1;
  // The next scan starts afresh.
  vscope_open = 1;
  DuringScan() = nullptr;
  Scans().clear();
  ScanAllChannels();
  EXPECT_EQ(ScannedChannels(), (std::vector<int>{1, 2, 3}));
  vscope_open = 0;
}

TEST_F(VScopeSim, ArrayScanStopExitDuringAScanStopsItAndClosesTheWindow) {
  vscope_open = 1;
  chan_enabled[1] = chan_enabled[2] = chan_enabled[3] = 1;
  DuringScan() = [](int channel) {
    if (channel == 2) {
      PostEvent(win_array_scan, kEvCommand, 30505);
      PumpEvents();
      EXPECT_EQ(scan_running, 0);
    }
  };
  test::WhileOpen(win_array_scan, OpenArrayScan, [] {
    PostEvent(win_array_scan, kEvCommand, 30501);
  });
  EXPECT_EQ(ScannedChannels(), (std::vector<int>{1, 2}));
  EXPECT_FALSE(win_array_scan.IsOpen());
  EXPECT_EQ(multichan_scan, 0);
  // Every channel's file set the scan limits to its calibrated range.
  for (const test::ScanRecord& s : Scans()) {
    EXPECT_EQ(s.start, 1);
    EXPECT_EQ(s.end, 10);
  }
  vscope_open = 0;
}

TEST_F(VScopeSim, MenuChannelScanAsksFirst) {
  testhook::QueueMsgBoxAnswer(kIdNo, " Scan channel 3");
  Mark();
  DispatchCommand(23493);
  EXPECT_TRUE(Scans().empty());
  EXPECT_EQ(MuxCommands(), (std::vector<int>{3}));
  EXPECT_EQ(PortB_on, 1);
  ASSERT_EQ(testhook::MsgBoxes().size(), 1u);
  EXPECT_EQ(testhook::MsgBoxes()[0].text, " Connect channel 3 to Port B.");
  EXPECT_EQ(testhook::MsgBoxes()[0].buttons, kMbYesNo);

  plots21 = 0;
  testhook::QueueMsgBoxAnswer(kIdYes, " Scan channel 2");
  DispatchCommand(23492);
  EXPECT_EQ(ScannedChannels(), (std::vector<int>{2}));
  EXPECT_EQ(Scans()[0].plots21, 1);
  EXPECT_EQ(plots21, 0);
  EXPECT_EQ(multichan_scan, 0);
  EXPECT_EQ(mux_chan, 2);
  EXPECT_EQ(cal_file_path, Path("ant.chan2"));
}

TEST_F(VScopeSim, NoMultiplexerCommandWithoutAChannelFile) {
  cal_file_path = Path("ant.vcal");
  Mark();
  DispatchCommand(23494);
  EXPECT_TRUE(Scans().empty());
  EXPECT_TRUE(MuxCommands().empty());
  ASSERT_EQ(testhook::MsgBoxes().size(), 1u) << MessageLog();
  EXPECT_EQ(testhook::MsgBoxes()[0].caption, " No multi cal file");
  EXPECT_EQ(testhook::MsgBoxes()[0].text, "Cal file is not available for channel 4.");
  EXPECT_EQ(mux_chan, 0);
}

}  // namespace
}  // namespace vna
