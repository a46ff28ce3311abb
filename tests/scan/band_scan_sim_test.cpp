// The band scan against the simulator: the sweep handed to the instrument
// in one "N" command, the stream of levels drawn as it arrives, its end
// marker, Halt, the question above 200 MHz, and the settings given back.
#include <sys/ioctl.h>
#include <unistd.h>

#include <chrono>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include "graph/freq_grid.h"
#include "graph/graph_frame.h"
#include "instrument/link_lost.h"
#include "instrument/measurement_reply.h"
#include "platform/serial.h"
#include "scan/band_scan.h"
#include "scan/scan_sim.h"

namespace vna {
namespace {

class BandScanSim : public ScanSim {
 protected:
  void Begin(std::vector<std::string> args = {}) {
    ScanSim::Begin(std::move(args));
    freq = 10;
    Send_Freq(1);          // the multipliers the sweep's clock depends on
    cal_start_freq = 0.1;  // the graph keeps to the calibrated range
    cal_end_freq = 1200;
    bandscan_sens = 1;
    bandscan_mode = 0;
    scana_ok = 1;
    swr_ruler = 1.5;
    PortA_Gain = 5;
    PortB_Gain = 3;
    start_freq = 7;
    end_freq = 9;
    delta_freq = 0.05;
    FreqGrid();
    DrawGraph();
  }
  void TearDown() override {
    bandscan_mode = 0;  // else the next test's Rescan would be a band scan
    ScanSim::TearDown();
  }
  // The pass ends by itself at its end marker; a stream that falls quiet
  // without one it takes as stopped only after a reply's longest wait, so
  // the test halts when no level came for half a second and says so.
  bool RunUntilQuiet() {
    int last = -1;
    bool halted = false;
    auto quiet_since = std::chrono::steady_clock::now();
    Watch([&] {
      if (scan_running == 0) return last >= 0;
      if (scanloop != last) {
        last = scanloop;
        quiet_since = std::chrono::steady_clock::now();
      } else if (std::chrono::steady_clock::now() - quiet_since > std::chrono::milliseconds(500)) {
        halted = true;
        scan_running = 0;  // the Halt button
        return true;
      }
      return false;
    });
    BandScan();
    StopWatch();  // a pass that ended before any level came leaves it waiting
    return halted;
  }
  static void ExpectSettingsBack() {
    EXPECT_EQ(swr_ruler, 1.5);
    EXPECT_EQ(PortA_Gain, 5);
    EXPECT_EQ(PortB_Gain, 3);
    EXPECT_EQ(scan_running, 0);
    EXPECT_EQ(relayA + relayB, 0);
  }
  // The tuning word of f MHz as the band scan sends it.
  static std::string Word(double mhz) {
    const double clock = model_uhf != 0 ? DDS_Clk * dds_mult2 : osc_freq;
    return HexDigits(std::llround(std::floor(4294967296.0 * mhz / clock + 0.5 + 0.5)), 8);
  }
};

// The sweep of both models, each with its own clock in the tuning words.
class BandScanSimModels : public BandScanSim, public ::testing::WithParamInterface<const char*> {};
INSTANTIATE_TEST_SUITE_P(BothModels, BandScanSimModels, ::testing::Values("uhf", "7306"));

TEST_P(BandScanSimModels, SeriesResonanceIsThePeakOfTheLevels) {
  // The level is the load channel's signal; through the real bridge its
  // directivity error all but flattens the resonance, the ideal one shows it.
  model_ = GetParam();
  Begin({"--bridge", "ideal"});
  Sim().SetDut("series:r=5,l=2u,c=200p");
  Mark();
  EXPECT_FALSE(RunUntilQuiet()) << "the stream's end marker ends the pass";
  test::SaveMainWindowPng(std::string("band_scan_series_") + GetParam());
  // Sweep 7..9 by 0.001 MHz: 2001 levels; the end marker is not one of them.
  ASSERT_GE(scanloop, 2000);
  ASSERT_LE(scanloop, 2002);
  int peak = 0;
  for (int i = 0; i < scanloop; ++i)
    if (scanA_swr[i] > scanA_swr[peak]) peak = i;
  const double f0 = 1 / (2 * M_PI * std::sqrt(2e-6 * 200e-12)) / 1e6;  // 7.958 MHz
  EXPECT_NEAR(scanA_freq[peak], f0, 0.05);
  EXPECT_GT(scanA_swr[peak], scanA_swr[100] + 5);
  EXPECT_NEAR(scanA_freq[1] - scanA_freq[0], 0.001, 1e-12);
  EXPECT_EQ(scana_ok, 0) << "the arrays hold levels, not a Port A scan";
  EXPECT_EQ(bandscan_mode, 1);
  EXPECT_EQ(delta_freq, 0.05);
  ExpectSettingsBack();
  // The sweep in one command, the stop bytes after it, then the version query.
  const std::vector<Command> sent = SentSince("step" + std::to_string(1));
  const std::string n = "N" + Word(7) + Word(9) + Word(0.001);
  EXPECT_NE(std::find(sent.begin(), sent.end(), Command(n.begin(), n.end())), sent.end()) << n;
  EXPECT_EQ(Sim().Status("relays"), "0");
}

// The instrument stops streaming part way: silent, or its link hung up.
// The pass ends within the wait the link gives a reply, not after its 50000
// empty reads, and the failure is said once, as the point scans say it: the
// " Hardware Reset" question for a silent instrument, the loss for a link
// that went away (the program runs without the instrument from then on).
// The failure's status stays. The pass lets events through at every 101st
// empty read: that count after the fault measures the wait.
TEST_P(BandScanSimModels, AStreamThatStopsIsSaidOnceWithinAReplysWait) {
  model_ = GetParam();
  Begin();
  WatchForLostInstrument();
  start_freq = 1;
  end_freq = 30;
  struct Case {
    const char* fault;
    const char* box;
    int answer;
    int present;
  };
  const Case cases[] = {
      {"silence", " Hardware Reset", kIdIgnore, 1},
      {"hangup", " VNA connection lost", kIdOk, 0},  // last: the simulator ends with it
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.fault);
    testhook::ClearLogs();
    int pumps_after = -1;
    testhook::SetPumpHook([&] {
      if (scan_running == 0) return;
      if (pumps_after >= 0) {
        ++pumps_after;
      } else if (scanloop >= 100) {
        Sim().Fault(c.fault);
        pumps_after = 0;
      }
    });
    testhook::QueueMsgBoxAnswer(c.answer, c.box);
    BandScan();
    testhook::SetPumpHook(nullptr);
    ASSERT_GE(pumps_after, 0);
    std::vector<std::string> captions;
    for (const auto& b : testhook::MsgBoxes()) captions.push_back(b.caption);
    EXPECT_EQ(captions, std::vector<std::string>{c.box});
    EXPECT_LT(pumps_after, 20) << "the pass waited for about " << pumps_after * 101
                               << " empty reads";
    EXPECT_EQ(vna_status, kStatusNoData);
    EXPECT_EQ(vna_present, c.present);
    EXPECT_EQ(scan_running, 0);
    EXPECT_GE(scanloop, 100);
    if (c.present != 0) Sim().Fault("none");
  }
  SetSerialLostHandler(nullptr);
  sim_.reset();  // gone with the link
}

TEST_F(BandScanSim, TheWordsOfTheSweepAndHalt) {
  // At the line's pace a reply can come before the read that waits for it
  // runs empty: Halt must click through between readings too, at once.
  Begin({"--pace"});
  start_freq = 1;
  end_freq = 30;
  delta_freq = 0.202;
  Mark();
  Watch([] {
    if (scanloop < 100) return false;
    scan_running = 0;  // Halt
    return true;
  });
  BandScan();
  EXPECT_GE(scanloop, 100);
  EXPECT_LE(scanloop, 202) << "Halt ended the pass within 101 readings of the click";
  EXPECT_EQ(delta_freq, 0.202);
  ExpectSettingsBack();
  const std::vector<Command> sent = SentSince("step1");
  // The graph's frequency grid has moved the end to a whole division.
  EXPECT_EQ(end_freq, 31);
  const std::string n = "N" + Word(1) + Word(31) + Word(0.001);
  EXPECT_NE(std::find(sent.begin(), sent.end(), Command(n.begin(), n.end())), sent.end()) << n;
  // 29000 steps at 1665 a second: 17.4, given as 85 s.
  EXPECT_NE(testhook::PrintedText("main_win").find("Scan time approx = 85 sec"), std::string::npos);
}

// The program's own descriptor of the device it opened (any of them: they
// share the line), or -1.
int PortFd(const std::string& device) {
  std::error_code ec;
  const std::filesystem::path want = std::filesystem::canonical(device, ec);
  if (ec) return -1;
  for (const auto& e : std::filesystem::directory_iterator("/proc/self/fd")) {
    const std::filesystem::path target = std::filesystem::read_symlink(e.path(), ec);
    if (!ec && target == want) return std::stoi(e.path().filename().string());
  }
  return -1;
}

// On a busy machine one wait for a level can last far longer than its
// millisecond (here 1.5 s, longer than the 1000 empty reads after which the
// stream counts as stopped) while the level arrives meanwhile. The port owes
// the reads that wait lasted, but the pass's last read before it gives up
// looks at the line, takes the level, and the pass goes on.
TEST_F(BandScanSim, ALevelThatCameDuringALongWaitIsRead) {
  Begin();
  start_freq = 1;
  end_freq = 30;
  static int fd;
  static bool armed, stalled;
  fd = PortFd(Sim().Link());
  ASSERT_GE(fd, 0);
  armed = stalled = false;
  testhook::SetPumpHook([this] {
    if (scan_running == 0) return;
    if (scanloop >= 100 && !armed && !stalled) {
      // One level withheld: the pass's next wait finds the line empty.
      Sim().Fault("silence 1");
      armed = true;
    }
    if (scanloop >= 300) scan_running = 0;  // Halt
  });
  SetSerialWaitHook([] {
    int held = 0;
    if (!armed || ioctl(fd, FIONREAD, &held) != 0 || held > 0) return;
    armed = false;
    stalled = true;
    // The instrument sends the level late, during the wait that lasts.
    ASSERT_EQ(write(fd, "\x01", 1), 1);
    std::this_thread::sleep_for(std::chrono::milliseconds(1500));
  });
  BandScan();
  SetSerialWaitHook(nullptr);
  testhook::SetPumpHook(nullptr);
  ASSERT_TRUE(stalled);
  EXPECT_TRUE(testhook::MsgBoxes().empty()) << testhook::MsgBoxes()[0].caption;
  EXPECT_GE(scanloop, 300) << "the pass went on after the long wait";
  EXPECT_EQ(vna_status, 0);
  ExpectSettingsBack();
}

TEST_F(BandScanSim, EndMarkerCountsOnlyAfterFifteenReadings) {
  Begin();
  start_freq = 10;
  end_freq = 10.010;  // 11 levels, then the marker as reading 12
  delta_freq = 0.001;
  EXPECT_TRUE(RunUntilQuiet()) << "a marker among the first 16 readings does not end the pass";
  EXPECT_LE(scanloop, 12);
  ExpectSettingsBack();
  end_freq = 10.020;  // about 21 levels, then the marker
  EXPECT_FALSE(RunUntilQuiet());
  EXPECT_GT(scanloop, 16);
}

TEST_F(BandScanSim, TinyStepStaysWithinTheArrays) {
  Begin();
  start_freq = 10;
  end_freq = 10.0002;
  delta_freq = 0.000001;  // k = 10000: the level history must not follow it
  EXPECT_FALSE(RunUntilQuiet());
  // Words 7 apart: 1.04e-6 MHz a step over the range the graph's grid gave.
  const double steps = (end_freq - start_freq) / (7 * DDS_Clk * dds_mult2 / 4294967296.0);
  EXPECT_NEAR(scanloop, steps + 1, 2);
  EXPECT_NEAR(scanA_freq[20] - scanA_freq[0], 20e-6, 1e-9);
  EXPECT_EQ(delta_freq, 0.000001);
}

TEST_F(BandScanSim, AboveTwoHundredMegahertzNoSendsNoSweep) {
  Begin();
  end_freq = 250;
  Mark();
  testhook::QueueMsgBoxAnswer(kIdNo, " Warning: Large Upper Freq Limit");
  BandScan();
  ASSERT_EQ(testhook::MsgBoxes().size(), 1u);
  EXPECT_NE(testhook::MsgBoxes()[0].text.find("The specified limit now is  250."),
            std::string::npos);
  for (const Command& c : SentSince("step1")) {
    ASSERT_FALSE(c.empty());
    EXPECT_TRUE(c[0] == 'K' || c[0] == 'A') << "only relays and gains: " << c[0];
  }
  EXPECT_EQ(delta_freq, 0.05);
  EXPECT_EQ(scan_running, 0);
  EXPECT_EQ(scana_ok, 1) << "nothing was overwritten";
  ExpectSettingsBack();
}

// A reading more than a tenth of the box height below the one three readings
// earlier starts a dip, which blanks 0.03 MHz. The load is a resistance that
// rises in two ramps, one reading per kHz: the first lowers the trace by 12
// pixels per reading (36 over three readings, a dip; 24 over two, none), the
// second by 8.5 (25.5 over three, no dip; 34 over four). With the ideal
// bridge the level is 50 / R, so R = 50 x 10^(pixels / pixels per decade).
TEST_F(BandScanSim, ADipIsADropBelowTheLevelThreeReadingsEarlier) {
  Begin({"--bridge", "ideal", "--noise", "0"});
  start_freq = 7;
  end_freq = 7.2;
  FreqGrid();
  DrawGraph();
  const int height = graph_zero_y - graph_top;
  const double per_decade = 0.4 * height;
  ASSERT_EQ(Rnd(0.1 * height), 29) << "the ramps are drawn for a threshold of 29 pixels";
  // Pixels below the top plateau at f MHz.
  auto drop = [](double f) {
    const double khz = (f - 7) * 1000;
    if (khz < 40) return 0.0;
    if (khz < 100) return 12 * std::min(khz - 40, 6.0);
    if (khz < 130) return 0.0;
    return 8.5 * std::min(khz - 130, 6.0);
  };
  const std::string file = Folder() + "/ramps.s1p";
  {
    std::ofstream out(file);
    out << "# MHZ S RI R 50\n";
    char line[80];
    for (int k = 0; k <= 460; ++k) {
      const double f = 6.99 + 0.0005 * k;
      const double r = 50 * std::pow(10, drop(f) / per_decade);
      std::snprintf(line, sizeof line, "%.4f %.12f 0\n", f, (r - 50) / (r + 50));
      out << line;
    }
  }
  Sim().SetDut("s1p:" + file);
  EXPECT_FALSE(RunUntilQuiet());
  test::SaveMainWindowPng("band_scan_dips");
  ASSERT_GE(scanloop, 200);
  // Reading k is at 7 + 0.001 k MHz. The first ramp's third reading (44,
  // one later through the peak hold) starts the dip, and 0.03 MHz is blanked
  // (readings 44 to 73; the edges are left a margin).
  auto blanked = [](int from, int to) {
    int n = 0;
    for (int k = from; k <= to; ++k) n += scanA_swr[k] == 0;
    return n;
  };
  EXPECT_EQ(blanked(5, 42), 0);
  EXPECT_EQ(blanked(46, 72), 27);
  EXPECT_EQ(blanked(76, 199), 0) << "the second ramp is no dip";
}

}  // namespace
}  // namespace vna
